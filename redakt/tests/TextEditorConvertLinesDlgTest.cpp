// The convert-lines dialog: its stored form in both languages, its OK
// handler (a compiling expression closes it and enters the history, another
// keeps it open with the error box), and the thread-information dialog's form.
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Label.h"
#include "Langtable.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorTexts.h"
#include "TextEditorThreadInfoDlg.h"

namespace {

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) texts.push_back(box->GetItems()->GetStrings(i));
    return texts;
}

}  // namespace

TEST_F(EditorTest, TheConvertLinesFormAsksForAnExpressionInEitherLanguage) {
    TLangTable* table = UseTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    const int previous = table->GetLang();
    const struct {
        int language;
        const char *caption, *label, *ok, *cancel, *help;
    } kLanguages[] = {
        {0, "Convert lines", "Conversion expression:", "&Ok", "&Cancel", "&Help"},
        {1, "Sorok \xE1talak\xEDt\xE1sa", "\xC1talak\xEDt\xF3 kifejez\xE9s:", "&OK", "&M\xE9gse", "&S\xFAg\xF3"},
    };
    for (const auto& language : kLanguages) {
        table->SetLang(language.language);
        auto* fresh = new TTextEditorConvertLinesDlg(nullptr);
        EXPECT_EQ(fresh->GetCaption(), language.caption);
        EXPECT_EQ(fresh->GetTag(), 100457);
        ASSERT_NE(fresh->lbExpression, nullptr);
        EXPECT_EQ(fresh->lbExpression->GetCaption(), language.label);
        ASSERT_NE(fresh->cmbExpr, nullptr);
        EXPECT_EQ(fresh->cmbExpr->GetStyle(), csDropDown);
        EXPECT_TRUE(fresh->cmbExpr->GetText().empty());
        EXPECT_EQ(fresh->btnOk->GetCaption(), language.ok);
        EXPECT_TRUE(fresh->btnOk->GetDefault());
        EXPECT_EQ(fresh->btnOk->GetModalResult(), mrNone);  // its handler decides
        EXPECT_EQ(fresh->btnCancel->GetCaption(), language.cancel);
        EXPECT_TRUE(fresh->btnCancel->GetCancel());
        EXPECT_EQ(fresh->btnCancel->GetModalResult(), mrCancel);
        EXPECT_EQ(fresh->btnHelp->GetCaption(), language.help);
        delete fresh;
    }
    table->SetLang(previous);
}

// Driven as a user does: the expression typed, OK clicked through the test
// driver. Only compiling expressions close the dialog and enter its history.
TEST_F(EditorTest, OnlyACompilingExpressionClosesTheConvertLinesDialog) {
    auto* dialog = new TTextEditorConvertLinesDlg(nullptr);
    TTextEditorRuntimeVars variables;
    dialog->variables = &variables;
    const struct {
        const char* typed;
        bool compiles;
    } kEntries[] = {{"line + ';'", true},   {"strlen(line", false}, {"sel_number * 2", true},
                    {"line + ';'", true},   {"nosuchname", false},  {"", false}};
    for (const auto& entry : kEntries) {
        std::vector<win32::ModalInteraction> boxes;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::MessageBox) {
                boxes.push_back(interaction);
                return win32::ModalReply::Answer(IDOK);
            }
            dialog->cmbExpr->SetText(entry.typed);
            driver.SetAutoPump(false);
            driver.Click(dialog->btnOk->GetHandle(), 10, 10);
            // A refused expression leaves the dialog open: Esc ends it then.
            if (!entry.compiles) {
                driver.KeyDown(VK_ESCAPE);
                driver.KeyUp(VK_ESCAPE);
            }
            return win32::ModalReply::Run();
        });
        const TModalResult result = dialog->ShowModal();
        driver.SetAutoPump(true);
        driver.PumpUntilIdle();
        EXPECT_EQ(result, entry.compiles ? mrOk : mrCancel) << entry.typed;
        if (entry.compiles) {
            EXPECT_TRUE(boxes.empty()) << entry.typed;
            continue;
        }
        ASSERT_EQ(boxes.size(), 1u) << entry.typed;
        EXPECT_EQ(boxes[0].text, "Wrong converion expression");
        EXPECT_EQ(boxes[0].caption, "Convert lines");
        EXPECT_EQ(boxes[0].style & 0xF0u, static_cast<UINT>(MB_ICONERROR));
    }
    EXPECT_EQ(Items(dialog->cmbExpr), (std::vector<std::string>{"sel_number * 2", "line + ';'"}));
    delete dialog;
}

TEST_F(EditorTest, TheThreadInfoFormShowsThreeSettingsAndCloses) {
    auto* dialog = new TTextEditorThreadInfoDlg(nullptr);
    EXPECT_EQ(dialog->GetCaption(), "Multithread properties");
    std::vector<std::string> titles;
    for (const char* name : {"lbMTTitle", "lbThreadCountTitle", "lbChunkSizeTitle"}) {
        auto* label = dynamic_cast<TLabel*>(dialog->FindComponent(name));
        ASSERT_NE(label, nullptr) << name;
        titles.push_back(label->GetCaption());
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Multithreading:", "Number of threads:", "Chunk size:"}));
    EXPECT_EQ(dialog->lbMT->GetCaption(), "Off");
    EXPECT_EQ(dialog->lbThreadCount->GetCaption(), "0");
    EXPECT_EQ(dialog->lbChunkSize->GetCaption(), "10000");
    EXPECT_EQ(dialog->btnOk->GetCaption(), "&Ok");
    EXPECT_TRUE(dialog->btnOk->GetDefault());
    EXPECT_EQ(dialog->btnOk->GetModalResult(), mrOk);
    win32::ScopedResponder responder([&](const win32::ModalInteraction&) {
        driver.SetAutoPump(false);
        driver.Click(dialog->btnOk->GetHandle(), 10, 10);
        return win32::ModalReply::Run();
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    driver.SetAutoPump(true);
    delete dialog;
}
