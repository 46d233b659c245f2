// TForm: showing, closing, modal forms through the responder, dialog keys.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Forms.h"
#include "StdCtrls.h"
#include "PropertyTable.h"
#include "Streaming.h"
#include "Responder.h"
#include "display/TestDriver.h"

namespace {

// A focusable control that answers WM_GETDLGCODE as told, records the keys it
// gets, and takes Enter (default) or Esc (cancel) offered as dialog keys.
class TKeyProbe : public TCustomControl {
    CLASSLIB_CLASS(TKeyProbe, TCustomControl)
    CLASSLIB_MESSAGE_MAP(TKeyProbe, TCustomControl, {WM_GETDLGCODE, &TKeyProbe::WMGetDlgCode},
                         {CM_DIALOGKEY, &TKeyProbe::CMDialogKey})

public:
    TKeyProbe(TWinControl* parent, int left, LRESULT dialogCode) : TCustomControl(parent), dialogCode_(dialogCode) {
        SetParent(parent);
        SetBounds(left, 10, 40, 20);
        SetTabStop(true);
        OnKeyDown = [this](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    }
    std::vector<WORD> keys;
    WORD answersDialogKey = 0;  // VK_RETURN for a default button, VK_ESCAPE for a cancel one
    int dialogKeyPresses = 0;

private:
    void WMGetDlgCode(TMessage& message) { message.Result = dialogCode_; }
    void CMDialogKey(TMessage& message) {
        if (answersDialogKey && message.WParam == answersDialogKey) {
            ++dialogKeyPresses;
            message.Result = 1;
        }
    }
    LRESULT dialogCode_;
};

// A form that keeps itself at least 300 pixels wide, as forms with a layout to protect do.
class TMinimumWidthForm : public TForm {
    CLASSLIB_CLASS(TMinimumWidthForm, TForm)
    CLASSLIB_MESSAGE_MAP(TMinimumWidthForm, TForm, {WM_GETMINMAXINFO, &TMinimumWidthForm::WMGetMinMaxInfo})

public:
    explicit TMinimumWidthForm(TComponent* owner) : TForm(owner, 0) {}

private:
    void WMGetMinMaxInfo(TMessage& message) {
        reinterpret_cast<MINMAXINFO*>(message.LParam)->ptMinTrackSize.x = 300;
        message.Result = 0;
    }
};

// A form class of its own (made through the loading constructor) with handlers for a form text.
class TLoadedForm : public TForm {
    CLASSLIB_CLASS(TLoadedForm, TForm)

public:
    explicit TLoadedForm(TComponent* owner) : TForm(owner) {}
    std::any FindHandler(const std::string& name) override {
        static const THandlerEntry handlers[] = {CLASSLIB_HANDLER(TLoadedForm, FormShow),
                                                 CLASSLIB_HANDLER(TLoadedForm, FormClose)};
        return BindHandler(handlers, this, name.c_str());
    }
    void FormShow(TObject*) { ++shows; }
    void FormClose(TObject*, TCloseAction& action) { action = caNone; }
    int shows = 0;
};

// A form class with a stored layout of its own, made through the loading constructor.
class TClientSizedForm : public TForm {
    CLASSLIB_CLASS(TClientSizedForm, TForm)

public:
    explicit TClientSizedForm(TComponent* owner) : TForm(owner) {}
};

// A stored layout that shows the form; its handlers record what they see.
class TVisibleStoredForm : public TForm {
    CLASSLIB_CLASS(TVisibleStoredForm, TForm)

public:
    explicit TVisibleStoredForm(TComponent* owner) : TForm(owner) {}
    std::any FindHandler(const std::string& name) override {
        static const THandlerEntry handlers[] = {CLASSLIB_HANDLER(TVisibleStoredForm, FormCreate),
                                                 CLASSLIB_HANDLER(TVisibleStoredForm, FormShow)};
        return BindHandler(handlers, this, name.c_str());
    }
    void FormCreate(TObject*) { Record("create"); }
    void FormShow(TObject*) { Record("show"); }
    // Each event with whether the button existed and the form was visible then.
    std::vector<std::string> events;

private:
    void Record(const char* event) {
        events.push_back(std::string(event) + (FindComponent("OkButton") ? " with button" : " without button") +
                         (GetVisible() ? ", visible" : ", hidden"));
    }
};

// A small dialog: two edits and a memo, OK (default, mrOk), Cancel (cancel,
// mrCancel) and "&Retry" (mrRetry), in tab order.
struct TDialog {
    std::unique_ptr<TForm> form{new TForm(nullptr, 0)};
    TEdit* first = Add<TEdit>(10, 10, "");
    TEdit* second = Add<TEdit>(10, 40, "");
    TMemo* memo = Add<TMemo>(10, 70, "");
    TButton* ok = Add<TButton>(10, 150, "OK");
    TButton* cancel = Add<TButton>(90, 150, "Cancel");
    TButton* retry = Add<TButton>(170, 150, "&Retry");

    TDialog() {
        form->SetBounds(40, 40, 300, 220);
        form->SetCaption("Dialog");
        memo->SetHeight(60);
        ok->SetDefault(true);
        ok->SetModalResult(mrOk);
        cancel->SetCancel(true);
        cancel->SetModalResult(mrCancel);
        retry->SetModalResult(mrRetry);
    }
    template <class Control>
    Control* Add(int left, int top, const char* text) {
        auto* control = new Control(form.get());
        control->SetParent(form.get());
        control->SetBounds(left, top, 75, 23);
        if (*text) control->SetText(text);
        return control;
    }
    // Shows the dialog modally; the test driver types the keys once it runs.
    TModalResult RunWithKeys(win32::TestDriver& driver, const std::function<void(win32::TestDriver&)>& keys) {
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::Form) keys(driver);
            return win32::ModalReply::Run();
        });
        return form->ShowModal();
    }
};

class FormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(nullptr, 0);
        form->SetCaption("Probe");
    }
    void TearDown() override { delete form; }
    // Presses a key with the driver's pump off and lets the application handle it.
    void Press(std::initializer_list<UINT> modifiers, UINT key) {
        driver.SetAutoPump(false);
        driver.Press(modifiers, key);
        Application->ProcessMessages();
    }

    win32::TestDriver driver;
    TForm* form = nullptr;
};

TEST_F(FormTest, ShowMakesAHiddenFormVisibleAndRunsItsEvents) {
    std::vector<std::string> events;
    form->OnShow = [&](TObject*) { events.push_back("show"); };
    form->OnHide = [&](TObject*) { events.push_back("hide"); };
    EXPECT_FALSE(form->GetVisible());
    form->Show();
    EXPECT_TRUE(IsWindowVisible(form->GetHandle()));
    EXPECT_EQ(0L, GetWindowLongA(form->GetHandle(), GWL_STYLE) & WS_CHILD);
    form->Hide();
    EXPECT_EQ((std::vector<std::string>{"show", "hide"}), events);
}

TEST_F(FormTest, ScreenCenterPlacesTheFormInTheMiddleOfTheScreen) {
    form->SetBounds(0, 0, 200, 100);
    form->SetPosition(poScreenCenter);
    form->Show();
    EXPECT_EQ((Screen->GetWidth() - 200) / 2, form->GetLeft());
    EXPECT_EQ((Screen->GetHeight() - 100) / 2, form->GetTop());
}

TEST_F(FormTest, BorderStyleAndFormStyleGiveTheWindowStyles) {
    form->SetBorderStyle(bsDialog);
    form->SetFormStyle(fsStayOnTop);
    HWND window = form->GetHandle();
    EXPECT_TRUE(GetWindowLongA(window, GWL_STYLE) & WS_DLGFRAME);
    EXPECT_FALSE(GetWindowLongA(window, GWL_STYLE) & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongA(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    form->SetBorderStyle(bsSizeable);
    EXPECT_TRUE(GetWindowLongA(form->GetHandle(), GWL_STYLE) & WS_THICKFRAME);
}

TEST_F(FormTest, AFormsOwnMinMaxInfoHandlerLimitsItsSize) {
    TMinimumWidthForm limited(nullptr);
    limited.SetBounds(0, 0, 400, 200);
    limited.Show();
    limited.SetWidth(100);
    EXPECT_EQ(300, limited.GetWidth());
    limited.SetWidth(500);
    EXPECT_EQ(500, limited.GetWidth());
}

TEST_F(FormTest, PublishedPropertiesReachTheSettersByName) {
    SetPropertyText(form, "BorderStyle", "bsDialog");
    SetPropertyText(form, "Position", "poScreenCenter");
    SetPropertyText(form, "KeyPreview", "True");
    SetPropertyText(form, "BorderIcons", "[biSystemMenu]");
    SetPropertyText(form, "Caption", "Loaded");
    SetPropertyText(form, "TextHeight", "16");
    EXPECT_EQ(bsDialog, form->GetBorderStyle());
    EXPECT_EQ(poScreenCenter, form->GetPosition());
    EXPECT_TRUE(form->GetKeyPreview());
    EXPECT_FALSE(form->GetBorderIcons().Contains(biMinimize));
    EXPECT_EQ("Loaded", form->GetCaption());
    EXPECT_EQ(16, form->GetTextHeight());
    EXPECT_EQ("bsDialog", GetPropertyText(form, "BorderStyle"));
    EXPECT_TRUE(IsPropertyDefault(form, "FormStyle"));
    EXPECT_FALSE(IsPropertyDefault(form, "PixelsPerInch"));  // always stored
    bool shown = false;
    SetPropertyEvent(form, "OnShow", std::any(TNotifyEvent([&](TObject*) { shown = true; })));
    EXPECT_THROW(SetPropertyEvent(form, "OnClose", std::any(TNotifyEvent())), Exception);
    form->Show();
    EXPECT_TRUE(shown);
}

TEST_F(FormTest, AFormTextSetsTheFormsPropertiesAndBindsItsHandlers) {
    TLoadedForm loaded(nullptr);  // no resource of its own: nothing loaded, nothing thrown
    ReadComponentText(&loaded,
                      "object LoadedForm: TLoadedForm\n"
                      "  Caption = 'Statistics'\n"
                      "  BorderStyle = bsSingle\n"
                      "  Position = poScreenCenter\n"
                      "  PixelsPerInch = 96\n"
                      "  TextHeight = 13\n"
                      "  OnShow = FormShow\n"
                      "  OnClose = FormClose\n"
                      "end\n");
    EXPECT_EQ("Statistics", loaded.GetCaption());
    EXPECT_EQ(bsSingle, loaded.GetBorderStyle());
    loaded.Show();
    EXPECT_EQ(1, loaded.shows);
    loaded.Close();  // FormClose answers caNone
    EXPECT_TRUE(loaded.GetVisible());
    std::string text = WriteComponentText(&loaded);
    EXPECT_NE(std::string::npos, text.find("BorderStyle = bsSingle"));
    EXPECT_NE(std::string::npos, text.find("PixelsPerInch = 96"));
    EXPECT_EQ(std::string::npos, text.find("KeyPreview"));
}

TEST_F(FormTest, CloseQueryCanRefuseAndOnCloseChoosesTheAction) {
    form->Show();
    bool allow = false;
    form->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
    TCloseAction chosen = caNone;
    form->OnClose = [&](TObject*, TCloseAction& action) { action = chosen; };
    form->Close();
    EXPECT_TRUE(form->GetVisible());
    allow = true;
    form->Close();  // caNone keeps it
    EXPECT_TRUE(form->GetVisible());
    chosen = caHide;
    PostMessageA(form->GetHandle(), WM_CLOSE, 0, 0);
    driver.PumpUntilIdle();
    EXPECT_FALSE(form->GetVisible());
}

TEST_F(FormTest, CaFreeDeletesTheFormOnceItsMessagesAreHandled) {
    auto* other = new TForm(nullptr, 0);
    bool destroyed = false;
    other->OnDestroy = [&](TObject*) { destroyed = true; };
    other->OnClose = [](TObject*, TCloseAction& action) { action = caFree; };
    other->Show();
    int forms = Screen->GetFormCount();
    other->Close();
    EXPECT_FALSE(destroyed);
    driver.PumpUntilIdle();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(forms - 1, Screen->GetFormCount());
}

TEST_F(FormTest, ModalFormIsAnsweredThroughTheResponder) {
    std::vector<win32::ModalInteraction> seen;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        seen.push_back(interaction);
        return win32::ModalReply::Answer(mrYes);
    });
    new TKeyProbe(form, 10, 0);
    EXPECT_EQ(mrYes, form->ShowModal());
    ASSERT_EQ(1u, seen.size());
    EXPECT_EQ(win32::ModalKind::Form, seen[0].kind);
    EXPECT_EQ("Probe", seen[0].caption);
    EXPECT_EQ(1u, seen[0].items.size());
    EXPECT_FALSE(form->GetVisible());
    EXPECT_EQ(mrYes, form->GetModalResult());
}

TEST_F(FormTest, ARunningModalFormEndsWithTheModalResultItsControlsSet) {
    // Enter reaches the default control, which closes the form with mrOk.
    auto* ok = new TKeyProbe(form, 10, 0);
    ok->answersDialogKey = VK_RETURN;
    TForm* modal = form;
    ok->WindowProc = [modal, base = ok->WindowProc](TMessage& message) {
        base(message);
        if (message.Msg == CM_DIALOGKEY && message.Result) modal->SetModalResult(mrOk);
    };
    win32::ScopedResponder responder([](const win32::ModalInteraction& interaction) {
        PostMessageA(interaction.window, WM_KEYDOWN, VK_RETURN, 1);
        return win32::ModalReply::Run();
    });
    auto* other = new TForm(nullptr, 0);
    other->Show();
    bool otherDisabledMeanwhile = false;
    form->OnHide = [&](TObject*) { otherDisabledMeanwhile = !IsWindowEnabled(other->GetHandle()); };
    EXPECT_EQ(mrOk, form->ShowModal());
    EXPECT_EQ(1, ok->dialogKeyPresses);
    EXPECT_TRUE(otherDisabledMeanwhile);
    EXPECT_TRUE(IsWindowEnabled(other->GetHandle()));
    delete other;
}

TEST_F(FormTest, ARunningModalFormThatGoesIdleHeadlessGivesCancel) {
    win32::ScopedResponder responder([](const win32::ModalInteraction&) { return win32::ModalReply::Run(); });
    EXPECT_EQ(mrCancel, form->ShowModal());
    form->Show();
    EXPECT_THROW(form->ShowModal(), EInvalidOperation);
}

TEST_F(FormTest, TabAndShiftTabMoveTheFocusRoundTheTabStops) {
    auto* first = new TKeyProbe(form, 10, 0);
    auto* second = new TKeyProbe(form, 60, 0);
    auto* third = new TKeyProbe(form, 110, 0);
    form->Show();
    driver.PumpUntilIdle();
    EXPECT_TRUE(first->Focused());
    Press({}, VK_TAB);
    EXPECT_TRUE(second->Focused());
    Press({}, VK_TAB);
    Press({}, VK_TAB);
    EXPECT_TRUE(first->Focused());
    Press({VK_SHIFT}, VK_TAB);
    EXPECT_TRUE(third->Focused());
    EXPECT_EQ(third, form->GetActiveControl());
    for (TKeyProbe* probe : {first, second, third})
        EXPECT_EQ(probe->keys.end(), std::find(probe->keys.begin(), probe->keys.end(), VK_TAB));
}

// A control focused by SetFocus (or a click) becomes the form's active
// control, so the focus comes back to it when a modal form or a message box
// closes; a control that goes is forgotten, even when the form does not own it.
TEST_F(FormTest, TheFocusComesBackToItsControlAfterAModalForm) {
    auto* first = new TKeyProbe(form, 10, 0);
    auto* holder = new TKeyProbe(form, 60, 0);
    auto* inner = new TEdit(holder);
    inner->SetParent(holder);
    form->Show();
    driver.PumpUntilIdle();
    EXPECT_TRUE(first->Focused());
    inner->SetFocus();
    driver.PumpUntilIdle();
    EXPECT_EQ(inner, form->GetActiveControl());
    TDialog dialog;
    EXPECT_EQ(mrCancel, dialog.RunWithKeys(driver, [](win32::TestDriver& keys) { keys.Press(VK_ESCAPE); }));
    driver.PumpUntilIdle();
    EXPECT_TRUE(inner->Focused());
    win32::ScopedResponder responder([](const win32::ModalInteraction&) { return win32::ModalReply::Answer(IDOK); });
    MessageBoxA(form->GetHandle(), "Done", "Probe", MB_OK);
    driver.PumpUntilIdle();
    EXPECT_TRUE(inner->Focused());
    delete inner;
    EXPECT_EQ(nullptr, form->GetActiveControl());
}

TEST_F(FormTest, AControlThatClaimsArrowsAndTabGetsThem) {
    auto* wanting = new TKeyProbe(form, 10, DLGC_WANTARROWS | DLGC_WANTTAB);
    auto* other = new TKeyProbe(form, 60, 0);
    form->Show();
    driver.PumpUntilIdle();
    for (UINT key : {VK_TAB, VK_LEFT, VK_DOWN}) Press({}, key);
    EXPECT_TRUE(wanting->Focused());
    EXPECT_EQ((std::vector<WORD>{VK_TAB, VK_LEFT, VK_DOWN}), wanting->keys);
    // A control that claims nothing leaves arrows to the form's navigation.
    other->SetFocus();
    Press({}, VK_RIGHT);
    EXPECT_TRUE(wanting->Focused());
    EXPECT_TRUE(other->keys.empty());
}

TEST_F(FormTest, EnterAndEscapeGoToTheDefaultAndCancelControlsUnlessClaimed) {
    auto* edit = new TKeyProbe(form, 10, 0);
    auto* okButton = new TKeyProbe(form, 60, 0);
    auto* cancelButton = new TKeyProbe(form, 110, 0);
    okButton->answersDialogKey = VK_RETURN;
    cancelButton->answersDialogKey = VK_ESCAPE;
    form->Show();
    driver.PumpUntilIdle();
    Press({}, VK_RETURN);
    Press({}, VK_ESCAPE);
    EXPECT_EQ(1, okButton->dialogKeyPresses);
    EXPECT_EQ(1, cancelButton->dialogKeyPresses);
    EXPECT_TRUE(edit->keys.empty());

    auto* multiline = new TKeyProbe(form, 160, DLGC_WANTALLKEYS);
    multiline->SetFocus();
    Press({}, VK_RETURN);
    EXPECT_EQ(1, okButton->dialogKeyPresses);
    EXPECT_EQ((std::vector<WORD>{VK_RETURN}), multiline->keys);
}

TEST_F(FormTest, KeyPreviewLetsTheFormSeeAndSwallowKeysFirst) {
    auto* edit = new TKeyProbe(form, 10, 0);
    std::vector<WORD> formKeys;
    form->OnKeyDown = [&](TObject*, WORD& key, TShiftState) {
        formKeys.push_back(key);
        if (key == 'X') key = 0;
    };
    form->Show();
    driver.PumpUntilIdle();
    Press({}, 'A');
    EXPECT_TRUE(formKeys.empty());
    form->SetKeyPreview(true);
    Press({}, 'A');
    Press({}, 'X');
    EXPECT_EQ((std::vector<WORD>{'A', 'X'}), formKeys);
    EXPECT_EQ((std::vector<WORD>{'A', 'A'}), edit->keys);
}


TEST_F(FormTest, AModalFormIsDrivenByTheTestDriversKeysAlone) {
    using Keys = std::function<void(win32::TestDriver&)>;
    struct Case {
        const char* what;
        Keys keys;
        TModalResult result;
        const char* first;
        const char* second;
        const char* memo;
    };
    const Case cases[] = {
        {"Tab, text, Enter", [](auto& d) { d.Press(VK_TAB); d.Type("Ada"); d.Press(VK_RETURN); }, mrOk, "", "Ada", ""},
        {"Esc", [](auto& d) { d.Type("x"); d.Press(VK_ESCAPE); }, mrCancel, "x", "", ""},
        {"Alt+R", [](auto& d) { d.Press({VK_MENU}, 'R'); }, mrRetry, "", "", ""},
        // The memo asks for Enter through WM_GETDLGCODE and keeps it; Esc still cancels.
        {"Enter in the memo",
         [](auto& d) {
             d.Press(VK_TAB);
             d.Press(VK_TAB);
             d.Type("a");
             d.Press(VK_RETURN);
             d.Type("b");
             d.Press(VK_ESCAPE);
         },
         mrCancel, "", "", "a\r\nb"},
        {"Shift+Tab wraps to Retry", [](auto& d) { d.Press({VK_SHIFT}, VK_TAB); d.Press(VK_SPACE); }, mrRetry, "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TDialog dialog;
        EXPECT_EQ(dialog.RunWithKeys(driver, c.keys), c.result);
        EXPECT_EQ(dialog.first->GetText(), c.first);
        EXPECT_EQ(dialog.second->GetText(), c.second);
        EXPECT_EQ(dialog.memo->GetText(), c.memo);
    }
}

TEST_F(FormTest, AMessageBoxIsDrivenByTheTestDriversKeysAlone) {
    struct Case {
        std::vector<UINT> keys;
        int answer;
    } const cases[] = {{{VK_TAB, VK_RETURN}, IDNO}, {{VK_RETURN}, IDYES}, {{VK_ESCAPE}, IDCANCEL}};
    for (const Case& c : cases) {
        win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
            for (UINT key : c.keys) driver.Press(key);
            return win32::ModalReply::Run();
        });
        EXPECT_EQ(Application->MessageBox("Save the changes?", "Editor", MB_YESNOCANCEL), c.answer);
    }
}

TEST_F(FormTest, AModalFormClosesOnlyWhenItsCloseCheckAllows) {
    TDialog dialog;
    TForm* form = dialog.form.get();
    int queries = 0;
    form->OnCloseQuery = [&](TObject*, bool& canClose) {
        ++queries;
        if (queries == 2) throw EConvertError("The tab size must lie in 0..32");
        canClose = queries >= 3;
    };
    // A button's OnClick runs before the check and may take the result back.
    dialog.cancel->OnClick = [form](TObject*) { form->SetModalResult(mrNone); };
    std::vector<std::string> shown;
    std::vector<int> queriesAfterEachClick;
    bool openAfterEachClick = true;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        if (interaction.kind == win32::ModalKind::MessageBox) {
            shown.push_back(interaction.text);
            return win32::ModalReply::Answer(IDOK);
        }
        for (TButton* button : {dialog.cancel, dialog.ok, dialog.ok, dialog.ok}) {
            driver.Advance(1000);  // apart, so that no two clicks make a double click
            driver.Click(button->GetHandle(), 10, 10);
            queriesAfterEachClick.push_back(queries);
            if (queries < 3)
                openAfterEachClick = openAfterEachClick && form->GetVisible() && form->GetModalResult() == mrNone;
        }
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(queriesAfterEachClick, (std::vector<int>{0, 1, 2, 3}));
    EXPECT_TRUE(openAfterEachClick);
    EXPECT_EQ(shown, std::vector<std::string>{"The tab size must lie in 0..32."});
    EXPECT_FALSE(form->GetVisible());

    // The responder's immediate answer skips the check, as before.
    win32::ScopedResponder answering([](const win32::ModalInteraction&) { return win32::ModalReply::Answer(mrOk); });
    EXPECT_EQ(form->ShowModal(), mrOk);
    EXPECT_EQ(queries, 3);
}

}  // namespace

TEST_F(FormTest, ADerivedFormsLayoutLoadsOnceItsClassIsComplete) {
    TClientSizedForm made(nullptr);
    EXPECT_EQ(nullptr, made.FindComponent("OkButton"));  // the base constructor cannot know the class
    made.LoadStoredLayout();
    made.LoadStoredLayout();  // once only
    EXPECT_NE(nullptr, made.FindComponent("OkButton"));
    EXPECT_EQ(1, made.GetComponentCount());

    auto* created = Application->CreateForm<TClientSizedForm>();
    EXPECT_NE(nullptr, created->FindComponent("OkButton"));
    EXPECT_EQ("Client sized", created->GetCaption());
    delete created;
}

TEST_F(FormTest, AStoredVisibleFormIsShownOnceItIsCreated) {
    auto* created = Application->CreateForm<TVisibleStoredForm>();
    EXPECT_EQ((std::vector<std::string>{"create with button, hidden", "show with button, visible"}), created->events);
    EXPECT_TRUE(created->GetVisible());
    EXPECT_TRUE(IsWindowVisible(created->GetHandle()));
    delete created;
}

TEST_F(FormTest, AStoredClientSizeIsTheClientAreaOfTheWindow) {
    TClientSizedForm sized(nullptr);
    sized.LoadStoredLayout();
    EXPECT_EQ(424, sized.GetClientWidth());  // before the window exists
    EXPECT_EQ(300, sized.GetClientHeight());
    sized.Show();
    RECT client{};
    ::GetClientRect(sized.GetHandle(), &client);
    EXPECT_EQ(424, client.right);
    EXPECT_EQ(300, client.bottom);
}
