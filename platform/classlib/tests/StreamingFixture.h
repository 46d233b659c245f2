// Shared by the property, streaming and registration tests: small registered
// control classes with published properties and two test forms with handlers.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Controls.h"
#include "Events.h"
#include "Graphics.h"
#include "PropertyTable.h"
#include "Registration.h"
#include "display/TestDriver.h"

// A panel with its own published properties: Border (its setter records each
// call and whether the panel was loading), the sub-object BkBrush and the
// real numbers Ratio (float), Low (double) and Level (double, NaN allowed).
class TTestPanel : public TCustomControl {
    CLASSLIB_CLASS(TTestPanel, TCustomControl)

public:
    explicit TTestPanel(TComponent* owner) : TCustomControl(owner) {}
    int GetBorder() const { return border_; }
    void SetBorder(int border) {
        border_ = border;
        borderSets.push_back(border);
        setWhileLoading = GetComponentState().Contains(csLoading);
    }
    TBrush* GetBkBrush() { return &bkBrush_; }
    float GetRatio() const { return ratio_; }
    void SetRatio(float ratio) { ratio_ = ratio; }
    double GetLow() const { return low_; }
    void SetLow(double low) { low_ = low; }
    double GetLevel() const { return level_; }
    void SetLevel(double level) { level_ = level; }
    void Loaded() override {
        TCustomControl::Loaded();
        ++loadedCalls;
    }

    std::vector<int> borderSets;
    bool setWhileLoading = false;
    int loadedCalls = 0;

private:
    int border_ = 1;
    TBrush bkBrush_;
    float ratio_ = 1;
    double low_ = -10;
    double level_ = 0;
};

class TTestButton : public TCustomControl {
    CLASSLIB_CLASS(TTestButton, TCustomControl)

public:
    explicit TTestButton(TComponent* owner) : TCustomControl(owner) {}
};

// A registered component that is no control.
class TTestCounter : public TComponent {
    CLASSLIB_CLASS(TTestCounter, TComponent)

public:
    explicit TTestCounter(TComponent* owner) : TComponent(owner) {}
};

// A root with handlers, as a form would be; its resource is TBASETESTFORM.
class TBaseTestForm : public TCustomControl {
    CLASSLIB_CLASS(TBaseTestForm, TCustomControl)

public:
    explicit TBaseTestForm(TComponent* owner) : TCustomControl(owner) {}
    std::any FindHandler(const std::string& name) override;

    void ButtonClick(TObject* sender) { clicks.push_back(sender); }
    void PanelMouseDown(TObject*, TMouseButton, TShiftState, int x, int) { lastMouseX = x; }
    void FormDblClick(TObject*) { ++doubleClicks; }

    std::vector<TObject*> clicks;
    int lastMouseX = -1;
    int doubleClicks = 0;
};

// Inherits the base form's resource and adds its own (TDERIVEDTESTFORM).
class TDerivedTestForm : public TBaseTestForm {
    CLASSLIB_CLASS(TDerivedTestForm, TBaseTestForm)

public:
    explicit TDerivedTestForm(TComponent* owner) : TBaseTestForm(owner) {}
    std::any FindHandler(const std::string& name) override;

    void OkClick(TObject*) { ++okClicks; }

    int okClicks = 0;
};

// A form class with no resource of its own.
class TPlainTestForm : public TBaseTestForm {
    CLASSLIB_CLASS(TPlainTestForm, TBaseTestForm)

public:
    explicit TPlainTestForm(TComponent* owner) : TBaseTestForm(owner) {}
};

inline const THandlerEntry kBaseTestFormHandlers[] = {
    CLASSLIB_HANDLER(TBaseTestForm, ButtonClick),
    CLASSLIB_HANDLER(TBaseTestForm, PanelMouseDown),
    CLASSLIB_HANDLER(TBaseTestForm, FormDblClick),
};
inline std::any TBaseTestForm::FindHandler(const std::string& name) {
    return BindHandler(kBaseTestFormHandlers, this, name.c_str());
}

inline const THandlerEntry kDerivedTestFormHandlers[] = {
    CLASSLIB_HANDLER(TDerivedTestForm, OkClick),
};
inline std::any TDerivedTestForm::FindHandler(const std::string& name) {
    std::any handler = BindHandler(kDerivedTestFormHandlers, this, name.c_str());
    return handler.has_value() ? handler : TBaseTestForm::FindHandler(name);
}

inline const TPropertyInfo kTestPanelProperties[] = {
    CLASSLIB_INTEGER_PROPERTY(TTestPanel, Border, 1),
    CLASSLIB_OBJECT_PROPERTY(TTestPanel, BkBrush),
    // Replaces the control's Hint row: this panel never stores its hint.
    NotStored(CLASSLIB_STRING_PROPERTY(TTestPanel, Hint, "")),
    CLASSLIB_FLOAT_PROPERTY(TTestPanel, Ratio, 1),
    CLASSLIB_DOUBLE_PROPERTY(TTestPanel, Low, -10),
    NonFiniteAllowed(CLASSLIB_DOUBLE_PROPERTY(TTestPanel, Level, 0)),
};

// Registers the test classes and the panel's table (again is harmless).
inline void RegisterTestClasses() {
    RegisterPropertyTable(TTestPanel::StaticClassInfo(), kTestPanelProperties);
    RegisterClass<TTestPanel>();
    RegisterClass<TTestButton>();
    RegisterClass<TTestCounter>();
}

class StreamingTest : public ::testing::Test {
protected:
    void SetUp() override { RegisterTestClasses(); }

    win32::TestDriver driver;
};
