// The go-to-line dialog: its stored form in both languages, and GoToLine
// driving it through the responder and the keyboard: what an entry names,
// the history, Help, the caret and Alt+g.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "GroupControls.h"
#include "Label.h"
#include "Langtable.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorTexts.h"

namespace {

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) texts.push_back(box->GetItems()->GetStrings(i));
    return texts;
}

HWND CaretOwner() {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(0, &info) ? info.hwndCaret : nullptr;
}

class GoToLineDlgTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        dialog = SharedGoToLineDlg();
        ASSERT_NE(dialog, nullptr);
        dialog->cmbSorszam->GetItems()->Clear();
        dialog->cmbSorszam->SetText("");
        editor = Place(40, 30, 300, 200);
        std::vector<std::string> text;
        for (int i = 0; i < 300; ++i) text.push_back("line " + std::to_string(i));
        ShowText(editor, text);
        editor->SetFocus();
        driver.PumpUntilIdle();
    }
    // Runs GoToLine with act applied to the dialog once it opens.
    std::vector<win32::ModalInteraction> Run(const std::function<void(TTextEditorGoToLineDlg&)>& act) {
        std::vector<win32::ModalInteraction> seen;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            seen.push_back(interaction);
            if (interaction.kind == win32::ModalKind::Form) act(*dialog);
            return win32::ModalReply::Run();
        });
        editor->GoToLine();
        driver.SetAutoPump(true);
        driver.PumpUntilIdle();
        return seen;
    }
    void Enter(const std::string& entry) {
        Run([&](TTextEditorGoToLineDlg& d) {
            d.cmbSorszam->SetText(entry);
            d.btnOk->Click();
        });
    }

    TTextEditorGoToLineDlg* dialog = nullptr;
    TTextEditor* editor = nullptr;
};

}  // namespace

TEST_F(GoToLineDlgTest, TheStoredFormAsksForALineInEitherLanguage) {
    TLangTable* table = GetTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    const int previous = table->GetLang();
    const struct {
        int language;
        const char *caption, *label, *ok, *cancel, *help;
    } kLanguages[] = {
        {0, "Go to line", "Line number:t:", "&Ok", "&Cancel", "&Help"},
        {1, "Ugr\xE1s sorra", "Sorsz\xE1m:", "&OK", "&M\xE9gse", "&S\xFAg\xF3"},
    };
    for (const auto& language : kLanguages) {
        table->SetLang(language.language);
        auto* fresh = new TTextEditorGoToLineDlg(nullptr);
        EXPECT_EQ(fresh->GetCaption(), language.caption);
        EXPECT_EQ(fresh->GetTag(), 100315);
        auto* label = dynamic_cast<TLabel*>(fresh->FindComponent("lbSorszam"));
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->GetCaption(), language.label);
        ASSERT_NE(fresh->cmbSorszam, nullptr);
        EXPECT_EQ(fresh->cmbSorszam->GetStyle(), csDropDown);
        EXPECT_TRUE(fresh->cmbSorszam->GetText().empty());
        EXPECT_NE(dynamic_cast<TGroupBox*>(fresh->cmbSorszam->GetParent()), nullptr);
        EXPECT_EQ(fresh->btnOk->GetCaption(), language.ok);
        EXPECT_TRUE(fresh->btnOk->GetDefault());
        EXPECT_EQ(fresh->btnOk->GetModalResult(), mrOk);
        EXPECT_EQ(fresh->btnMegsem->GetCaption(), language.cancel);
        EXPECT_TRUE(fresh->btnMegsem->GetCancel());
        EXPECT_EQ(fresh->btnMegsem->GetModalResult(), mrCancel);
        EXPECT_EQ(fresh->btnHelp->GetCaption(), language.help);
        EXPECT_EQ(fresh->btnHelp->GetModalResult(), mrNone);
        delete fresh;
    }
    table->SetLang(previous);
}

TEST_F(GoToLineDlgTest, TheEntryNamesALineOrAPercentageAndGoesFirstIntoTheHistory) {
    editor->SetCursorPosX(2);
    const struct {
        const char* entry;
        int line;
    } kEntries[] = {
        {"50%", 150}, {"7", 7},   {"999", 299}, {"abc", 299},         {" 12 lines", 12},
        {"-5", 0},    {"", 0},    {"7", 7},     {"99999999999%", 299}, {"0%", 0},
    };
    for (const auto& e : kEntries) {
        Enter(e.entry);
        EXPECT_EQ(editor->GetCurLine(), e.line) << "'" << e.entry << "'";
        EXPECT_EQ(editor->GetCurCol(), 2) << "'" << e.entry << "'";
    }
    // Entries without a number leave no trace; a repeated one is kept twice.
    EXPECT_EQ(Items(dialog->cmbSorszam),
              (std::vector<std::string>{"0%", "99999999999%", "7", "-5", " 12 lines", "999", "7", "50%"}));

    for (int i = 1; i <= 20; ++i) Enter(std::to_string(i));
    const std::vector<std::string> items = Items(dialog->cmbSorszam);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(items.front(), "20");
    EXPECT_EQ(items.back(), "5");
}

// Typed and answered by the keyboard alone, as in a real window.
TEST_F(GoToLineDlgTest, TheKeyboardEntersAPercentageAndEscapeCancels) {
    dialog->cmbSorszam->SetText("7");
    const auto seen = Run([this](TTextEditorGoToLineDlg&) {
        driver.SetAutoPump(false);
        driver.Type("50%");
        driver.Press(VK_RETURN);
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Go to line");
    EXPECT_EQ(editor->GetCurLine(), 150);
    EXPECT_EQ(Items(dialog->cmbSorszam), std::vector<std::string>{"50%"});

    Run([this](TTextEditorGoToLineDlg&) {
        driver.SetAutoPump(false);
        driver.Type("9");
        driver.Press(VK_ESCAPE);
    });
    EXPECT_EQ(editor->GetCurLine(), 150);
    EXPECT_EQ(Items(dialog->cmbSorszam), std::vector<std::string>{"50%"});
}

TEST_F(GoToLineDlgTest, HelpReportsTheDialogWhileItStaysOpenAndTheCaretIsOffMeanwhile) {
    std::vector<std::pair<TTextEditor*, TTextEditorDlg>> helps;
    editor->OnDlgHelp = [&](TTextEditor* sender, TTextEditorDlg which) { helps.emplace_back(sender, which); };
    ASSERT_EQ(CaretOwner(), editor->GetHandle());
    bool caretOff = false, openAfterHelp = false;
    const auto seen = Run([&](TTextEditorGoToLineDlg& d) {
        caretOff = CaretOwner() != editor->GetHandle();
        const RECT help = d.btnHelp->GetClientRect();
        driver.Click(d.btnHelp->GetHandle(), help.right / 2, help.bottom / 2);
        openAfterHelp = IsWindowVisible(d.GetHandle()) && d.GetModalResult() == mrNone;
        d.cmbSorszam->SetText("100");
        d.btnMegsem->Click();
    });
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_TRUE(caretOff);
    EXPECT_TRUE(openAfterHelp);
    EXPECT_EQ(helps, (std::vector<std::pair<TTextEditor*, TTextEditorDlg>>{{editor, dlgGoToLine}}));
    EXPECT_EQ(editor->GetCurLine(), 0) << "Cancel goes nowhere";
    EXPECT_EQ(CaretOwner(), editor->GetHandle());
    EXPECT_FALSE(dialog->btnHelp->OnClick) << "the shared dialog keeps no handler of a gone editor";

    // Centred over the editor.
    RECT window{}, placed{};
    GetWindowRect(seen[0].window, &window);
    GetWindowRect(editor->GetHandle(), &placed);
    EXPECT_LE(std::abs((window.left + window.right) - (placed.left + placed.right)), 2);
    EXPECT_LE(std::abs((window.top + window.bottom) - (placed.top + placed.bottom)), 2);
}

TEST_F(GoToLineDlgTest, AltGOpensTheDialogAndAltShiftGDoesNot) {
    std::vector<std::string> captions;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        captions.push_back(interaction.caption);
        dialog->cmbSorszam->SetText("42");
        return win32::ModalReply::Answer(mrOk);
    });
    driver.Press({VK_MENU, VK_SHIFT}, 'G');
    EXPECT_TRUE(captions.empty());
    EXPECT_EQ(editor->GetCurLine(), 0);
    driver.Press({VK_MENU}, 'G');
    EXPECT_EQ(captions, std::vector<std::string>{"Go to line"});
    EXPECT_EQ(editor->GetCurLine(), 42);
}
