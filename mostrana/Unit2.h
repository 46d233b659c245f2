// TForm2: the "Scrollers and splitters" form: a scroll control, the help
// document panel, a picture scroller and the text editor, between two
// splitters; closing it ends the program.
#pragma once

#include <any>
#include <memory>
#include <string>

#include "Form.h"

class TButton;
class TControl;
class TFormSplitter;
class TMemBitmapScroller;
class TMemResource;
class TScrollControl;
class TTextEditor;
class TVGMPanel;

class TForm2 : public TForm {
    CLASSLIB_CLASS(TForm2, TForm)

public:
    // Its controls, bounds and handlers come from its stored layout, which
    // also shows it once the application has created it.
    explicit TForm2(TComponent* owner);
    // Destroys the components first (the panel, its scrollers and forms read
    // the archive to the end), then the archive.
    ~TForm2() override;
    std::any FindHandler(const std::string& name) override;

    // Places the panel under the buttons, level with ScrollControl1's bottom;
    // puts the splitters in the gaps between the controls; shows the test
    // picture; reads the help archive and opens its index topic. A missing
    // picture leaves the picture scroller empty; a missing archive leaves the
    // panel without topics (opening the index topic then reports it).
    void FormCreate(TObject* sender);
    // Closes the main form, which ends the program.
    void FormClose(TObject* sender, TCloseAction& action);
    // Stretches the panel and the editor to the client width and the picture
    // scroller and the editor to the client height, 8 pixels from the edges;
    // nothing before FormCreate.
    void FormResize(TObject* sender);
    // Both splitters: the panel lays its topic out again at its new size.
    void FormSplitter1Move(TObject* sender);
    // Both splitters: true exactly for a topic scroller, which only the panel places.
    bool FormSplitter1OmitControl(TObject* sender, TControl* control);
    // "Topics...": the panel's topic choice.
    void Button1Click(TObject* sender);
    // "Back": the topic read before.
    void Button2Click(TObject* sender);

    // The help archive the panel reads; null before FormCreate.
    TMemResource* GetArchive() const { return archive_.get(); }

    // The components of the stored layout, in its order; null until it is loaded.
    TScrollControl* ScrollControl1 = nullptr;
    TVGMPanel* VGMPanel1 = nullptr;
    TMemBitmapScroller* MemBitmapScroller1 = nullptr;
    TTextEditor* TextEditor1 = nullptr;
    TFormSplitter* FormSplitter1 = nullptr;
    TFormSplitter* FormSplitter2 = nullptr;
    TButton* Button1 = nullptr;
    TButton* Button2 = nullptr;

protected:
    // Finds the components the layout made.
    void Loaded() override;

private:
    void PlaceSplitters();
    void LoadPicture();
    void LoadArchive();

    std::unique_ptr<TMemResource> archive_;
    bool created_ = false;
};

// The form while the program runs; null before start-up and after it.
extern TForm2* Form2;
