// The settings dialog on its own: its stored form in both languages, the
// bold-word list and the shown scheme's keywords, the scheme list, and the
// bold-word file (several words a line, binary bytes, a very long line, a
// file that cannot be read).
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "FileDialogs.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "Langtable.h"
#include "ListBox.h"
#include "RedaktFixture.h"
#include "TabControls.h"
#include "TextEditorSetupDlg.h"
#include "TextEditorTexts.h"

namespace {

std::vector<std::string> Lines(const TStrings* lines) {
    std::vector<std::string> texts;
    for (int i = 0; i < lines->GetCount(); ++i) texts.push_back(lines->GetStrings(i));
    return texts;
}

std::vector<std::string> Words(const TStringContainer& words) { return TextOf(words); }

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A dialog made from its stored form, not shown, with three schemes beyond
// the three that stay, the second of them shown, and its keywords listed.
class SetupDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"Default", "CPP;H", "PAS", "JAVA", "HTM;HTML", "TXT"}) {
            TTextEditorScheme* scheme = dialog.schemes.NewItem();
            scheme->extensions = TString(name);
        }
        for (const char* word : {"class", "int", "void"}) dialog.schemes[1].boldWords.Add(TString(word));
        dialog.lbSchemes->GetItems()->SetText("Default\nCPP;H\nPAS\nJAVA\nHTM;HTML\nTXT");
        dialog.schemeIndex = 1;
        dialog.ShowScheme();
    }

    void Choose(TListBox* list, int index) { list->SetItemIndex(index); }
    std::vector<std::string> Keywords(int scheme) { return Words(dialog.schemes[scheme].boldWords); }
    std::vector<std::string> Listed() { return Lines(dialog.lbBoldWords->GetItems()); }

    win32::TestDriver driver;
    TTextEditorSetupDlg dialog{nullptr};
    TTempFolder folder{"redakt-setup-dialog"};
};

}  // namespace

TEST(SetupDlgFormTest, TheStoredFormHoldsItsPagesAndControlsInEitherLanguage) {
    win32::TestDriver driver;
    TLangTable* table = UseTextEditorLangTable();
    ASSERT_NE(table, nullptr);
    const int previous = table->GetLang();
    const struct {
        int language;
        const char *caption, *editorPage, *colorsPage, *margin, *saveMarkers, *cancel, *ok, *background, *directives;
    } kLanguages[] = {
        {0, "Editor settings", "Editor", "Colors", "Right margin", "Save bookmarks", "&Cancel", "&Ok", "Background",
         "Directives"},
        {1, "Szerkeszt\xF5 be\xE1ll\xEDt\xE1sai", "Szerkeszt\xF5", "Sz\xEDnek", "Jobb marg\xF3",
         "K\xF6nyvjelz\xF5k ment\xE9se", "&M\xE9gse", "&OK", "H\xE1tt\xE9r", "Direkt\xEDv\xE1k"},
    };
    for (const auto& language : kLanguages) {
        table->SetLang(language.language);
        TTextEditorSetupDlg dialog(nullptr);
        EXPECT_EQ(dialog.GetCaption(), language.caption);
        ASSERT_EQ(dialog.pcTemak->GetPageCount(), 5);
        EXPECT_EQ(dialog.tsSzerkeszto->GetCaption(), language.editorPage);
        EXPECT_EQ(dialog.tsSzinek->GetCaption(), language.colorsPage);
        EXPECT_EQ(dialog.cbMargin->GetCaption(), language.margin);
        EXPECT_EQ(dialog.switchBoxes[10]->GetCaption(), language.saveMarkers);
        EXPECT_EQ(dialog.btnCancel->GetCaption(), language.cancel);
        EXPECT_EQ(dialog.btnOk->GetCaption(), language.ok);
        ASSERT_EQ(dialog.lbElem->GetCount(), TTextEditorSetupDlg::kColorCount);
        EXPECT_EQ(dialog.lbElem->GetItems()->GetStrings(0), language.background);
        EXPECT_EQ(dialog.lbElem->GetItems()->GetStrings(13), language.directives);
        for (int i = 0; i < TTextEditorSetupDlg::kSwitchCount; ++i) {
            ASSERT_NE(dialog.switchBoxes[i], nullptr) << i;
            EXPECT_TRUE(static_cast<bool>(dialog.switchBoxes[i]->OnClick)) << i;
        }
        for (TControl* control :
             std::vector<TControl*>{dialog.cmbIndentSize, dialog.cmbTabsize, dialog.cmbColSeparator, dialog.edAlignChar,
                                    dialog.cmbCharset, dialog.cmbCharsize, dialog.stMarginPos, dialog.edMarginPos,
                                    dialog.lbBoldWords, dialog.edWord, dialog.btnNewBoldWord, dialog.btnDeleteBoldWord,
                                    dialog.btnModifyBolWord, dialog.btnBoldTortes, dialog.btnBoldMentes,
                                    dialog.lbSchemes, dialog.btnSetScheme, dialog.edExt, dialog.btnNewScheme,
                                    dialog.btnDeleteScheme, dialog.btnHelp})
            ASSERT_NE(control, nullptr);
        EXPECT_EQ(dialog.btnOk->GetModalResult(), mrOk);
        EXPECT_TRUE(dialog.btnOk->GetDefault());
        EXPECT_EQ(dialog.btnCancel->GetModalResult(), mrCancel);
        EXPECT_TRUE(dialog.btnCancel->GetCancel());
        EXPECT_EQ(dialog.cmbColSeparator->GetStyle(), csDropDownList);
        EXPECT_EQ(Lines(dialog.cmbColSeparator->GetItems()),
                  (std::vector<std::string>{"' ' <space>", "',' <comma>", "';' <semicolon>", "'.' <dot>",
                                            "'|' <pipe>", "'/' <slash>", "'*' <asterisk>"}));
        EXPECT_EQ(Lines(dialog.cmbTabsize->GetItems()),
                  (std::vector<std::string>{"2", "4", "8", "12", "16", "20", "24", "32"}));
        EXPECT_EQ(dialog.cmbCharset->GetStyle(), csDropDownList);
        // The bold-word file dialogs keep their own texts in either language.
        EXPECT_EQ(dialog.BoldOpenDialog->GetTitle(), "Kiemelt szavak bet\xF6lt\xE9se");
        EXPECT_EQ(dialog.BoldSaveDialog->GetTitle(), "Kiemelt szavak kiment\xE9se");
        EXPECT_EQ(dialog.BoldSaveDialog->GetFilter(), "Sz\xF6vegf\xE1jlok (*.TXT)|*.TXT|Minden f\xE1jl (*.*)|*.*");
        EXPECT_EQ(dialog.BoldOpenDialog->GetDefaultExt(), "TXT");
        EXPECT_TRUE(dialog.BoldSaveDialog->GetOptions().Contains(ofOverwritePrompt));
        EXPECT_EQ(dialog.cmbElemszin, nullptr) << "made by FormCreate";
        dialog.FormCreate(&dialog);
        dialog.FormCreate(&dialog);
        ASSERT_NE(dialog.cmbElemszin, nullptr);
        EXPECT_EQ(dialog.cmbElemszin->GetParent(), dialog.tsSzinek);
        EXPECT_EQ(dialog.cmbElemszin->GetOwner(), dialog.tsSzinek);
        const RECT bounds = dialog.cmbElemszin->GetBoundsRect();
        EXPECT_EQ((std::vector<LONG>{bounds.left, bounds.top, bounds.right, bounds.bottom}),
                  (std::vector<LONG>{176, 24, 176 + 145, 24 + 21}));
    }
    table->SetLang(previous);
}

TEST_F(SetupDlgTest, NewAddsAWordOnceAndDeleteAndModifyNeedAChosenLine) {
    EXPECT_EQ(Listed(), (std::vector<std::string>{"class", "int", "void"}));
    dialog.edWord->SetText("int");
    dialog.btnNewBoldWord->Click();
    dialog.edWord->SetText("");
    dialog.btnNewBoldWord->Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"class", "int", "void"})) << "listed already, or empty";
    dialog.edWord->SetText("Int");  // another word: the comparison is exact
    dialog.btnNewBoldWord->Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"class", "int", "void", "Int"}));
    EXPECT_EQ(dialog.lbBoldWords->GetItemIndex(), 3) << "the new word is chosen";
    EXPECT_EQ(Keywords(1), Listed());

    Choose(dialog.lbBoldWords, -1);
    dialog.edWord->SetText("float");
    dialog.btnDeleteBoldWord->Click();
    dialog.btnModifyBolWord->Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"class", "int", "void", "Int"}));
    EXPECT_EQ(Keywords(1), Listed());

    Choose(dialog.lbBoldWords, 1);
    dialog.lbBoldWords->OnClick(dialog.lbBoldWords);
    EXPECT_EQ(dialog.edWord->GetText(), "int") << "a chosen word goes into the box";
    dialog.edWord->SetText("long");
    dialog.btnModifyBolWord->Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"class", "long", "void", "Int"}));
    EXPECT_EQ(Keywords(1), Listed());
    Choose(dialog.lbBoldWords, 0);
    dialog.btnDeleteBoldWord->Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"long", "void", "Int"}));
    EXPECT_EQ(Keywords(1), Listed());
    EXPECT_TRUE(Keywords(0).empty()) << "only the shown scheme changes";
}

// The list shows the file's words while the shown scheme keeps its own: a
// deleted or modified word is found among the keywords by its text.
TEST_F(SetupDlgTest, AfterLoadingAFileDeleteAndModifyChangeTheKeywordOfThatText) {
    const std::string path = folder.Path("words.txt");
    WriteBytes(path, "void  extra\r\nclass\n");
    ASSERT_TRUE(dialog.LoadBoldWords(TString(path)));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"void", "extra", "class"}));
    EXPECT_EQ(Keywords(1), (std::vector<std::string>{"class", "int", "void"})) << "loading keeps the keywords";

    Choose(dialog.lbBoldWords, 0);  // "void", the scheme's third keyword
    dialog.btnDeleteBoldWord->Click();
    EXPECT_EQ(Keywords(1), (std::vector<std::string>{"class", "int"}));
    Choose(dialog.lbBoldWords, 0);  // "extra": no keyword of that text
    dialog.btnDeleteBoldWord->Click();
    EXPECT_EQ(Keywords(1), (std::vector<std::string>{"class", "int"}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"class"}));
    Choose(dialog.lbBoldWords, 0);
    dialog.edWord->SetText("struct");
    dialog.btnModifyBolWord->Click();
    EXPECT_EQ(Keywords(1), (std::vector<std::string>{"struct", "int"}));
    EXPECT_EQ(Listed(), (std::vector<std::string>{"struct"}));
}

TEST_F(SetupDlgTest, TheBoldWordFileHoldsBlankSeparatedWordsAndIsWrittenOneALine) {
    const std::string longWord(100000, 'w');
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> words;
    } kFiles[] = {
        {"several a line", "if  else   while\r\n  for\n\nreturn ", {"if", "else", "while", "for", "return"}},
        {"tabs belong to words", "a\tb c", {"a\tb", "c"}},
        {"binary bytes", std::string("\x00\x01 \xFF\xFE\r\n\x80", 8), {std::string("\x00\x01", 2), "\xFF\xFE", "\x80"}},
        {"one long line", longWord + " x", {longWord, "x"}},
        {"empty", "", {}},
        {"blanks only", "    \r\n   ", {}},
    };
    for (const auto& file : kFiles) {
        const std::string path = folder.Path("in.txt");
        WriteBytes(path, file.bytes);
        TStringContainer words;
        ASSERT_TRUE(ReadBoldWordFile(TString(path), words)) << file.name;
        EXPECT_EQ(Words(words), file.words) << file.name;
        ASSERT_TRUE(dialog.LoadBoldWords(TString(path))) << file.name;
        EXPECT_EQ(Listed(), file.words) << file.name;
        const std::string out = folder.Path("out.txt");
        ASSERT_TRUE(dialog.SaveBoldWords(TString(out))) << file.name;
        std::string expected;
        for (const std::string& word : file.words) expected += word + "\r\n";
        EXPECT_EQ(ReadBytes(out), expected) << file.name;
    }

    // A file that cannot be read leaves the list; one that cannot be written fails.
    dialog.lbBoldWords->GetItems()->SetText("kept");
    for (const std::string& unreadable : {folder.Path("missing.txt"), folder.path.string()}) {
        TStringContainer words;
        words.Add(TString("untouched"));
        EXPECT_FALSE(ReadBoldWordFile(TString(unreadable), words)) << unreadable;
        EXPECT_EQ(Words(words), std::vector<std::string>{"untouched"});
        EXPECT_FALSE(dialog.LoadBoldWords(TString(unreadable))) << unreadable;
        EXPECT_EQ(Listed(), std::vector<std::string>{"kept"});
    }
    EXPECT_FALSE(dialog.SaveBoldWords(TString(folder.Path("no-such-folder/out.txt"))));
}

TEST_F(SetupDlgTest, SchemesAreAddedDeletedFromTheFourthOnAndShown) {
    dialog.edExt->SetText("");
    dialog.btnNewScheme->Click();
    EXPECT_EQ(dialog.schemes.GetCount(), 6) << "an empty name adds nothing";
    dialog.edExt->SetText("PY;PYW");
    dialog.btnNewScheme->Click();
    ASSERT_EQ(dialog.schemes.GetCount(), 7);
    EXPECT_EQ(Lines(dialog.lbSchemes->GetItems()).back(), "PY;PYW");
    const TTextEditorScheme& added = dialog.schemes[6];
    const TTextEditorScheme fresh;
    EXPECT_EQ(added.extensions.str(), "PY;PYW");
    for (auto flag : TTextEditorScheme::Flags()) EXPECT_EQ(added.*flag, fresh.*flag);
    EXPECT_EQ(added.indentSize, 1);
    EXPECT_EQ(added.marginPos, 80);

    for (int kept : {0, 1, 2, -1}) {
        Choose(dialog.lbSchemes, kept);
        dialog.btnDeleteScheme->Click();
        EXPECT_EQ(dialog.schemes.GetCount(), 7) << kept;
    }

    // Showing "HTM;HTML" (4), with the editor's scheme at "JAVA" (3).
    dialog.schemes[4].ShowNumbers = true;
    dialog.schemes[4].indentSize = 4;
    dialog.schemes[4].marginPos = 72;
    dialog.schemes[4].boldWords.Add(TString("div"));
    Choose(dialog.lbSchemes, 4);
    dialog.lbSchemes->OnDblClick(dialog.lbSchemes);
    EXPECT_EQ(dialog.schemeIndex, 4);
    EXPECT_EQ(Listed(), std::vector<std::string>{"div"});
    EXPECT_TRUE(dialog.switchBoxes[17]->GetChecked());
    EXPECT_EQ(dialog.cmbIndentSize->GetText(), "4");
    EXPECT_EQ(dialog.edMarginPos->GetText(), "72");
    dialog.editorSchemeIndex = 5;
    // Deleting below the shown scheme moves it down (and the editor's too).
    Choose(dialog.lbSchemes, 3);
    dialog.btnDeleteScheme->Click();
    EXPECT_EQ(Lines(dialog.lbSchemes->GetItems()),
              (std::vector<std::string>{"Default", "CPP;H", "PAS", "HTM;HTML", "TXT", "PY;PYW"}));
    EXPECT_EQ(dialog.schemeIndex, 3);
    EXPECT_EQ(dialog.schemes[dialog.schemeIndex].extensions.str(), "HTM;HTML");
    EXPECT_EQ(dialog.editorSchemeIndex, 4);
    // Deleting above both moves neither.
    Choose(dialog.lbSchemes, 5);
    dialog.btnDeleteScheme->Click();
    EXPECT_EQ(dialog.schemeIndex, 3);
    EXPECT_EQ(dialog.editorSchemeIndex, 4);
    // Deleting the editor's own scheme makes its index "Default".
    Choose(dialog.lbSchemes, 4);
    dialog.btnDeleteScheme->Click();
    EXPECT_EQ(dialog.editorSchemeIndex, 0);
    EXPECT_EQ(dialog.schemeIndex, 3);
    // Deleting the shown scheme shows the one before it.
    Choose(dialog.lbSchemes, 3);
    dialog.btnDeleteScheme->Click();
    EXPECT_EQ(dialog.schemeIndex, 2);
    EXPECT_EQ(dialog.schemes.GetCount(), 3);
    EXPECT_TRUE(Listed().empty()) << "PAS has no keywords";
    EXPECT_FALSE(dialog.switchBoxes[17]->GetChecked());
}

TEST_F(SetupDlgTest, ASwitchBoxWritesTheShownSchemeButShowingASchemeWritesNothing) {
    for (int i = 0; i < TTextEditorSetupDlg::kSwitchCount; ++i) {
        const bool before = dialog.schemes[1].*TTextEditorScheme::Flags()[i];
        TCheckBox* box = dialog.switchBoxes[i];
        box->SetChecked(!box->GetChecked());
        const bool written = i != TTextEditorSetupDlg::kSwitchCount - 1;  // the margin box writes nothing
        EXPECT_EQ(dialog.schemes[1].*TTextEditorScheme::Flags()[i], written ? !before : before) << i;
    }
    EXPECT_EQ(dialog.edMarginPos->GetEnabled(), dialog.cbMargin->GetChecked());
    dialog.cbMargin->SetChecked(false);
    EXPECT_FALSE(dialog.edMarginPos->GetEnabled());
    EXPECT_FALSE(dialog.stMarginPos->GetEnabled());
    dialog.cbMargin->SetChecked(true);
    EXPECT_TRUE(dialog.edMarginPos->GetEnabled());

    const TTextEditorScheme shownBefore = dialog.schemes[1];
    dialog.schemeIndex = 0;
    dialog.ShowScheme();
    const TTextEditorScheme& defaults = dialog.schemes[0];
    for (int i = 0; i < TTextEditorSetupDlg::kSwitchCount; ++i) {
        const auto flag = TTextEditorScheme::Flags()[i];
        EXPECT_EQ(dialog.switchBoxes[i]->GetChecked(), defaults.*flag) << i;
        EXPECT_EQ(defaults.*flag, TTextEditorScheme().*flag) << i;
        EXPECT_EQ(dialog.schemes[1].*flag, shownBefore.*flag) << i;
    }
    EXPECT_EQ(dialog.edMarginPos->GetEnabled(), defaults.ShowMargin);
}
