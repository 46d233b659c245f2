// TVGTFormBase, TVGTForm and TVGMForm: the forms that FORM tags declare and
// links open, each filled by a topic panel of its own.
#pragma once

#include <any>
#include <string>

#include "Form.h"
#include "String.h"

class TVGTPanel;

// 251 x 149 client pixels at (192, 108) until the panel that opens it sets
// its bounds; its panel always fills the client area.
class TVGTFormBase : public TForm {
    CLASSLIB_CLASS(TVGTFormBase, TForm)

public:
    explicit TVGTFormBase(TComponent* owner);
    std::any FindHandler(const std::string& name) override;

    // Places the panel at (0, 0) with the client size and lays it out.
    void FormResize(TObject* sender);

    TVGTPanel* GetPanel() const { return Panel; }
    // The name that links give as their target panel to reach this form.
    const TString& GetLinkName() const { return fLinkName; }
    void SetLinkName(const TString& name) { fLinkName = name; }

protected:
    // A derived constructor's panel (owned by the form): made its child and
    // laid out over the client area.
    void TakePanel(TVGTPanel* panel);

    TVGTPanel* Panel = nullptr;

private:
    TString fLinkName;
};

// A form with a topic panel that reads loose topic files.
class TVGTForm : public TVGTFormBase {
    CLASSLIB_CLASS(TVGTForm, TVGTFormBase)

public:
    explicit TVGTForm(TComponent* owner);
};

// A form with a document panel (TVGMPanel) that reads a help archive; the
// panel that opens it hands the archive on.
class TVGMForm : public TVGTFormBase {
    CLASSLIB_CLASS(TVGMForm, TVGTFormBase)

public:
    explicit TVGMForm(TComponent* owner);
};

// The stream classes of the forms (called by the package's start-up).
void RegisterVGTFormClasses();
void UnregisterVGTFormClasses();
