// TApplication and TScreen: the main form, Run, the exception dialog, the
// screen's cursors, forms and fonts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Forms.h"
#include "Strings.h"
#include "Responder.h"
#include "display/TestDriver.h"

namespace {

// A form whose WM_USER handler throws, as a faulty event handler would.
class TThrowingForm : public TForm {
    CLASSLIB_CLASS(TThrowingForm, TForm)
    CLASSLIB_MESSAGE_MAP(TThrowingForm, TForm, {WM_USER, &TThrowingForm::WMUser})

public:
    explicit TThrowingForm(TComponent* owner) : TForm(owner, 0) {}

private:
    void WMUser(TMessage& message) {
        if (message.WParam == 1) throw EConvertError("'abc' is not a valid integer value");
        throw std::runtime_error("plain failure");
    }
};

// A form that binds OnCreate to a handler reading one of its own members.
class TCreatingForm : public TForm {
    CLASSLIB_CLASS(TCreatingForm, TForm)

public:
    explicit TCreatingForm(TComponent* owner) : TForm(owner, 0), greeting_("ready") {
        OnCreate = MakeEvent(this, &TCreatingForm::FormCreate);
    }
    std::vector<std::string> created;

private:
    void FormCreate(TObject*) { created.push_back(greeting_); }
    std::string greeting_;
};

class ApplicationTest : public ::testing::Test {
protected:
    void SetUp() override { Application->Initialize(); }
    void TearDown() override {
        Application->DestroyComponents();
        Application->OnException = nullptr;
        Application->SetTitle("");
    }
    win32::TestDriver driver;
};

TEST_F(ApplicationTest, TheFirstFormCreatedIsTheMainFormAndRunEndsWhenItCloses) {
    auto* first = Application->CreateForm<TThrowingForm>();
    auto* second = Application->CreateForm<TForm>();
    EXPECT_EQ(first, Application->GetMainForm());
    EXPECT_EQ(Application, second->GetOwner());
    int shows = 0;
    first->OnShow = [&](TObject*) {
        ++shows;
        PostMessageA(first->GetHandle(), WM_CLOSE, 0, 0);
    };
    Application->Run();
    EXPECT_EQ(1, shows);
    EXPECT_TRUE(Application->GetTerminated());
    delete first;
    EXPECT_EQ(nullptr, Application->GetMainForm());
}

TEST_F(ApplicationTest, OnCreateRunsOnceTheWholeFormIsBuiltAndOnlyOnce) {
    auto* form = Application->CreateForm<TCreatingForm>();
    EXPECT_EQ((std::vector<std::string>{"ready"}), form->created);
    form->Show();
    EXPECT_EQ(1u, form->created.size());
    // A form made directly runs it at its first showing.
    TCreatingForm direct(nullptr);
    EXPECT_TRUE(direct.created.empty());
    direct.Show();
    EXPECT_EQ(1u, direct.created.size());
}

TEST_F(ApplicationTest, ClosingAnotherFormOnlyHidesIt) {
    auto* main = Application->CreateForm<TForm>();
    auto* other = Application->CreateForm<TForm>();
    main->Show();
    other->Show();
    other->Close();
    EXPECT_FALSE(other->GetVisible());
    EXPECT_FALSE(Application->GetTerminated());
    Application->ProcessMessages();
    EXPECT_FALSE(Application->GetTerminated());
}

TEST_F(ApplicationTest, AnExceptionEscapingAHandlerReachesTheExceptionDialog) {
    std::vector<win32::ModalInteraction> boxes;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        boxes.push_back(interaction);
        return win32::ModalReply::Answer(IDOK);
    });
    Application->SetTitle("Demo");
    auto* form = Application->CreateForm<TThrowingForm>();
    form->OnShow = [&](TObject*) {
        PostMessageA(form->GetHandle(), WM_USER, 1, 0);
        PostMessageA(form->GetHandle(), WM_USER, 2, 0);
        PostMessageA(form->GetHandle(), WM_CLOSE, 0, 0);
    };
    Application->Run();
    ASSERT_EQ(2u, boxes.size());
    EXPECT_EQ(win32::ModalKind::MessageBox, boxes[0].kind);
    EXPECT_EQ("'abc' is not a valid integer value.", boxes[0].text);
    EXPECT_EQ("Demo", boxes[0].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), boxes[0].style & MB_ICONMASK);
    EXPECT_EQ("plain failure.", boxes[1].text);
}

TEST_F(ApplicationTest, OnExceptionReplacesTheDialog) {
    int boxes = 0;
    win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
        ++boxes;
        return win32::ModalReply::Answer(IDOK);
    });
    std::string seen;
    Application->OnException = [&](TObject*, const Exception& error) { seen = error.Message(); };
    Application->HandleException(EListError("bad index"));
    EXPECT_EQ("bad index", seen);
    EXPECT_EQ(0, boxes);
    Application->OnException = nullptr;
    Application->ShowException(Exception(""));  // an empty message shows nothing
    EXPECT_EQ(0, boxes);
}

TEST_F(ApplicationTest, RunWithoutAMainFormReturnsAtOnce) {
    Application->Run();
    EXPECT_EQ(nullptr, Application->GetMainForm());
}

TEST_F(ApplicationTest, ScreenKnowsItsSizeFormsAndCursors) {
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), Screen->GetWidth());
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), Screen->GetHeight());
    int before = Screen->GetFormCount();
    auto* form = new TForm(nullptr, 0);
    EXPECT_EQ(before + 1, Screen->GetFormCount());
    EXPECT_EQ(form, Screen->GetForm(before));
    EXPECT_THROW(Screen->GetForm(before + 1), EListError);
    delete form;
    EXPECT_EQ(before, Screen->GetFormCount());

    EXPECT_EQ(CursorShape(crHourGlass), Screen->GetCursors(crHourGlass));
    EXPECT_NE(nullptr, Screen->GetCursors(crHourGlass));
    HCURSOR custom = CursorShape(crCross);
    Screen->SetCursors(5, custom);
    EXPECT_EQ(custom, Screen->GetCursors(5));
    Screen->SetCursors(5, nullptr);
    EXPECT_EQ(nullptr, Screen->GetCursors(5));
    Screen->SetCursor(crHourGlass);
    EXPECT_EQ(crHourGlass, Screen->GetCursor());
    EXPECT_EQ(CursorShape(crHourGlass), GetCursor());
    Screen->SetCursor(crDefault);
}

TEST_F(ApplicationTest, ScreenFontsAreTheInstalledFamiliesSortedEachOnce) {
    TStrings* fonts = Screen->GetFonts();
    ASSERT_NE(fonts, nullptr);
    EXPECT_EQ(fonts, Screen->GetFonts()) << "read once and kept";
    // The families the font tests rely on, and the classic names standing for them.
    for (const char* family : {"Liberation Sans", "Liberation Serif", "Liberation Mono", "DejaVu Sans", "Arial",
                               "Courier New", "Times New Roman", "MS Sans Serif"})
        EXPECT_GE(fonts->IndexOf(family), 0) << family;
    for (int i = 1; i < fonts->GetCount(); ++i) {
        std::string before = fonts->GetStrings(i - 1), after = fonts->GetStrings(i);
        for (std::string* name : {&before, &after})
            for (char& c : *name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        EXPECT_LT(before, after) << "sorted, each once, at " << i;
    }

    TStringList fixed;
    for (const char* name : {"Zeta", "alpha", "Mid", "ALPHA"}) fixed.Add(name);
    Screen->ReplaceFonts(&fixed);
    EXPECT_EQ(Screen->GetFonts()->GetText(), "alpha\r\nMid\r\nZeta\r\n");
    Screen->ReplaceFonts(nullptr);
    EXPECT_GE(Screen->GetFonts()->IndexOf("Liberation Mono"), 0) << "read again";
}

}  // namespace
