// The settings dialog shown by an editor, run through the responder with its
// buttons pressed: how it is filled, what Cancel and OK leave, the twenty
// switches, the sizes, separator, align character, font, colours and margin,
// the schemes chosen and deleted, the bold words loaded and saved, the close
// checks, and Help.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Application.h"
#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "FileDialogs.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "ListBox.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "Strings.h"
#include "TabControls.h"
#include "TextEditorSetupDlg.h"

namespace {

typedef std::vector<uint8_t> TBytes;

std::vector<std::string> Lines(const TStrings* lines) {
    std::vector<std::string> texts;
    for (int i = 0; i < lines->GetCount(); ++i) texts.push_back(lines->GetStrings(i));
    return texts;
}

// The editor properties of the switch boxes, in the schemes' switch order.
const std::vector<bool (TTextEditor::*)() const>& SwitchGetters() {
    static const std::vector<bool (TTextEditor::*)() const> getters = {
        &TTextEditor::GetAutoIndent,    &TTextEditor::GetBackspaceUnindent, &TTextEditor::GetEmptyUnindent,
        &TTextEditor::GetPersistentBlocks, &TTextEditor::GetTextAtCursor,   &TTextEditor::GetAllBlocks,
        &TTextEditor::GetSmartTab,      &TTextEditor::GetAutoLineBreak,     &TTextEditor::GetDoubleClickLine,
        &TTextEditor::GetDosFormat,     &TTextEditor::GetPresrveMarkers,    &TTextEditor::GetAutoSave,
        &TTextEditor::GetShowBoldWords, &TTextEditor::GetShowStrings,       &TTextEditor::GetShowChars,
        &TTextEditor::GetShowDirectives, &TTextEditor::GetShowRemarks,      &TTextEditor::GetShowNumbers,
        &TTextEditor::GetShowSymbols,   &TTextEditor::GetShowMargin,
    };
    return getters;
}

struct TBox {
    std::string caption, text;
    bool errorIcon;
    bool dialogOpen;
};

// An editor with three schemes (the second current) and a fixed font list;
// the dialog runs and its buttons are pressed by the test's action.
class SetupTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        TStringList fonts;
        for (const char* name : {"Liberation Sans", "Courier New", "DejaVu Sans Mono"}) fonts.Add(name);
        Screen->ReplaceFonts(&fonts);
        editor = Place<TTestEditor>(40, 30, 300, 200);
        ShowText(editor, {"int main() {", "    return 0;", "}"});
        for (const char* name : {"CPP;H", "PAS"}) editor->schemes.NewItem()->extensions = TString(name);
        for (const char* word : {"int", "return"}) editor->schemes[1].boldWords.Add(TString(word));
        editor->schemes[2].boldWords.Add(TString("begin"));
        editor->SetScheme(1);
        dialog = SharedSetupDlg();
        ASSERT_NE(dialog, nullptr);
    }
    void TearDown() override {
        Screen->ReplaceFonts(nullptr);
        EditorTest::TearDown();
    }

    // Shows the dialog: act runs as it opens (and then it runs); a message
    // box is kept and answered, then onBox runs.
    void RunSetup(const std::function<void()>& act, const std::function<void()>& onBox = nullptr) {
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::MessageBox) {
                boxes.push_back({interaction.caption, interaction.text, (interaction.style & MB_ICONERROR) == MB_ICONERROR,
                                 dialog->IsModal() && IsWindowVisible(dialog->GetHandle())});
                if (onBox) onBox();
                return win32::ModalReply::Answer(IDOK);
            }
            if (interaction.kind == win32::ModalKind::FileDialog) return AnswerFileDialog(interaction);
            forms.push_back(interaction.caption);
            act();
            return win32::ModalReply::Run();
        });
        editor->Setup();
        driver.SetAutoPump(true);
        driver.PumpUntilIdle();
    }
    win32::ModalReply AnswerFileDialog(const win32::ModalInteraction& interaction) {
        fileDialogs.push_back(interaction.caption);
        TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
        if (form == nullptr || fileName.empty()) return win32::ModalReply::Answer(IDCANCEL);
        form->ChangeFolder(folder.path.string());
        form->GetFileNameEdit()->SetText(fileName);
        return win32::ModalReply::Answer(IDOK);
    }
    void Ok() { dialog->btnOk->Click(); }
    void Cancel() { dialog->btnCancel->Click(); }

    TBytes Settings() {
        return StreamBytes([&](FILE* file) { EXPECT_TRUE(editor->SaveSettings(file)); });
    }
    std::vector<bool> Switches() {
        std::vector<bool> values;
        for (auto get : SwitchGetters()) values.push_back((editor->*get)());
        return values;
    }
    std::vector<bool> SchemeSwitches(int scheme) {
        std::vector<bool> values;
        for (auto flag : TTextEditorScheme::Flags()) values.push_back(editor->schemes[scheme].*flag);
        return values;
    }
    void Choose(TListBox* list, int index) {
        list->SetItemIndex(index);
        if (list->OnClick) list->OnClick(list);
    }

    TTestEditor* editor = nullptr;
    TTextEditorSetupDlg* dialog = nullptr;
    std::vector<TBox> boxes;
    std::vector<std::string> forms, fileDialogs;
    std::string fileName;
    TTempFolder folder{"redakt-setup"};
};

}  // namespace

TEST_F(SetupTest, TheDialogShowsTheEditorsSettingsOverTheEditor) {
    editor->SetAutoIndent(true);  // the editor's value, not the scheme's
    editor->SetTabSize(4);
    editor->SetIndentSize(2);
    editor->SetColSeparator(';');
    editor->alignChar = '=';
    editor->SetFontName("DejaVu Sans Mono");
    editor->SetFontSize(10);
    editor->SetMarginPos(72);
    editor->boldWords.Clear();
    editor->boldWords.Add(TString("own"));
    std::vector<bool> boxes;
    TColor shownColor = 0;
    RECT shown{}, under{};
    RunSetup([&] {
        for (TCheckBox* box : dialog->switchBoxes) boxes.push_back(box->GetChecked());
        shownColor = dialog->cmbElemszin->GetColor();
        GetWindowRect(dialog->GetHandle(), &shown);
        GetWindowRect(editor->GetHandle(), &under);
        EXPECT_EQ(dialog->pcTemak->GetActivePage(), dialog->tsSzerkeszto);
        EXPECT_EQ(dialog->cmbTabsize->GetText(), "4");
        EXPECT_EQ(dialog->cmbIndentSize->GetText(), "2");
        EXPECT_EQ(dialog->cmbColSeparator->GetItemIndex(), 2);
        EXPECT_EQ(dialog->edAlignChar->GetText(), "=");
        EXPECT_EQ(Lines(dialog->cmbCharset->GetItems()),
                  (std::vector<std::string>{"Courier New", "DejaVu Sans Mono", "Liberation Sans"}));
        EXPECT_EQ(dialog->cmbCharset->GetText(), "DejaVu Sans Mono");
        EXPECT_EQ(dialog->cmbCharsize->GetText(), "10");
        EXPECT_EQ(dialog->edMarginPos->GetText(), "72");
        EXPECT_TRUE(dialog->edMarginPos->GetEnabled());
        EXPECT_EQ(Lines(dialog->lbBoldWords->GetItems()), std::vector<std::string>{"own"});
        EXPECT_EQ(Lines(dialog->lbSchemes->GetItems()), (std::vector<std::string>{"Default", "CPP;H", "PAS"}));
        EXPECT_EQ(dialog->lbSchemes->GetItemIndex(), 1);
        EXPECT_EQ(dialog->lbElem->GetItemIndex(), 0);
        EXPECT_EQ(dialog->editor, editor);
        Cancel();
    });
    EXPECT_EQ(forms, std::vector<std::string>{"Editor settings"});
    EXPECT_EQ(boxes, Switches());
    EXPECT_EQ(shownColor, editor->GetBkColor()) << "the first element's colour shows in the combo";
    EXPECT_NEAR((shown.left + shown.right) / 2, (under.left + under.right) / 2, 1);
    EXPECT_NEAR((shown.top + shown.bottom) / 2, (under.top + under.bottom) / 2, 1);
    EXPECT_EQ(dialog->editor, nullptr) << "the dialog forgets the editor when it closes";

    // A font name the screen does not list chooses the first font; a
    // separator the list does not hold chooses none.
    editor->SetFontName("No Such Font");
    editor->SetColSeparator('#');
    editor->alignChar = '\0';
    RunSetup([&] {
        EXPECT_EQ(dialog->cmbCharset->GetItemIndex(), 0);
        EXPECT_EQ(dialog->cmbColSeparator->GetItemIndex(), -1);
        EXPECT_EQ(dialog->edAlignChar->GetText(), "");
        Cancel();
    });
}

TEST_F(SetupTest, CancelLeavesTheEditorAndItsSchemes) {
    const TBytes before = Settings();
    const char separator = editor->GetColSeparator();
    const int schemeIndex = editor->schemeIndex;
    RunSetup([&] {
        for (TCheckBox* box : dialog->switchBoxes) box->SetChecked(!box->GetChecked());
        dialog->cmbTabsize->SetText("16");
        dialog->cmbCharsize->SetText("14");
        dialog->cmbColSeparator->SetItemIndex(4);
        dialog->edAlignChar->SetText("|");
        dialog->edWord->SetText("extra");
        dialog->btnNewBoldWord->Click();
        Choose(dialog->lbElem, 3);
        dialog->cmbElemszin->SetColor(clLime);
        dialog->cmbElemszin->OnChange(dialog->cmbElemszin);
        Choose(dialog->lbSchemes, 2);
        dialog->btnDeleteScheme->Click();
        dialog->edExt->SetText("RS");
        dialog->btnNewScheme->Click();
        Cancel();
    });
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(Settings(), before);
    EXPECT_EQ(editor->GetColSeparator(), separator);
    EXPECT_EQ(editor->alignChar, ' ');
    EXPECT_EQ(editor->schemeIndex, schemeIndex);
    EXPECT_EQ(editor->schemes.GetCount(), 3);
}

// Each box in turn is switched and OK pressed: its property and its switch
// of the shown scheme take its state (the margin box only its property);
// nothing else changes. Opening and OK alone writes no switch of the editor's
// settings into the scheme.
TEST_F(SetupTest, OkTakesEachSwitchIntoItsPropertyAndTheShownSchemesSwitch) {
    editor->SetAutoIndent(!editor->schemes[1].AutoIndent);
    const std::vector<bool> schemeBefore = SchemeSwitches(1);
    RunSetup([&] { Ok(); });
    EXPECT_EQ(SchemeSwitches(1), schemeBefore);
    for (int i = 0; i < TTextEditorSetupDlg::kSwitchCount; ++i) {
        std::vector<bool> properties = Switches();
        std::vector<bool> scheme = SchemeSwitches(1);
        RunSetup([&] {
            TCheckBox* box = dialog->switchBoxes[i];
            box->SetChecked(!box->GetChecked());
            Ok();
        });
        const auto at = static_cast<size_t>(i);
        properties[at] = !properties[at];
        // The switch takes the box's state (which was the property's, not the switch's).
        if (i != TTextEditorSetupDlg::kSwitchCount - 1) scheme[at] = properties[at];
        EXPECT_EQ(Switches(), properties) << i;
        EXPECT_EQ(SchemeSwitches(1), scheme) << i;
        EXPECT_EQ(editor->schemeIndex, 1) << i;
    }
    EXPECT_TRUE(boxes.empty());
}

TEST_F(SetupTest, OkTakesTheSizesTheSeparatorTheAlignCharacterTheFontAndTheMargin) {
    editor->SetShowLineNumbers(true);
    const int lineHeight = editor->GetLineHeight();
    RunSetup([&] {
        dialog->cmbTabsize->SetText("4");
        dialog->cmbIndentSize->SetText(" 3 ");
        dialog->cmbCharsize->SetText("16");
        dialog->cmbCharset->SetItemIndex(2);
        dialog->cmbColSeparator->SetItemIndex(4);
        dialog->edAlignChar->SetText(":=");
        dialog->pcTemak->SetActivePage(dialog->tsMegjelenes);
        dialog->cbMargin->SetChecked(true);
        dialog->edMarginPos->SetText("66");
        editor->lineNumbersWidth = 999;
        Ok();
    });
    EXPECT_EQ(editor->GetTabSize(), 4);
    EXPECT_EQ(editor->GetIndentSize(), 3);
    EXPECT_EQ(editor->GetFontSize(), 16);
    EXPECT_EQ(editor->GetFontName(), "Liberation Sans");
    EXPECT_GT(editor->GetLineHeight(), lineHeight) << "the font was measured again";
    EXPECT_EQ(editor->GetColSeparator(), '|');
    EXPECT_EQ(editor->alignChar, ':');
    EXPECT_TRUE(editor->GetShowMargin());
    EXPECT_EQ(editor->GetMarginPos(), 66);
    EXPECT_EQ(editor->GetColGapSetting(), editor->GetLineHeight() + 2);
    EXPECT_EQ(editor->lineNumbersWidth, editor->GetLineNumbersWidth());

    // The separators in their order; none chosen, or an empty align box, keeps the old one.
    for (int item = -1; item < 7; ++item) {
        editor->SetColSeparator('#');
        RunSetup([&] {
            dialog->cmbColSeparator->SetItemIndex(item);
            dialog->edAlignChar->SetText("");
            Ok();
        });
        EXPECT_EQ(editor->GetColSeparator(), item < 0 ? '#' : " ,;.|/*"[item]) << item;
        EXPECT_EQ(editor->alignChar, ':');
    }
    // A list without fonts keeps the font name.
    TStringList none;
    Screen->ReplaceFonts(&none);
    RunSetup([&] { Ok(); });
    EXPECT_EQ(editor->GetFontName(), "Liberation Sans");
}

TEST_F(SetupTest, OkTakesTheColoursChosenForTheElements) {
    TColor before[TTextEditorSetupDlg::kColorCount];
    editor->GetColors(before);
    TColor shownForSelection = 0;
    RunSetup([&] {
        dialog->pcTemak->SetActivePage(dialog->tsSzinek);
        dialog->pcTemak->OnChange(dialog->pcTemak);
        for (int element : {2, 8, 13}) {
            Choose(dialog->lbElem, element);
            if (element == 2) shownForSelection = dialog->cmbElemszin->GetColor();
            dialog->cmbElemszin->SetColor(element == 13 ? TColor(0x123456) : clFuchsia);
            dialog->cmbElemszin->OnChange(dialog->cmbElemszin);
        }
        Ok();
    });
    EXPECT_EQ(shownForSelection, before[2]);
    TColor after[TTextEditorSetupDlg::kColorCount];
    editor->GetColors(after);
    for (int i = 0; i < TTextEditorSetupDlg::kColorCount; ++i) {
        const TColor expected = i == 2 || i == 8 ? clFuchsia : i == 13 ? TColor(0x123456) : before[i];
        EXPECT_EQ(after[i], expected) << i;
    }
}

// "Set" shows another scheme: OK then gives the editor that scheme's
// switches, keywords, indentation and margin, and its scheme index stays.
// A box changed meanwhile changes that scheme, and the change is kept.
TEST_F(SetupTest, SetShowsASchemeWhoseSettingsOkGivesTheEditor) {
    TTextEditorScheme& pascal = editor->schemes[2];
    pascal.ShowNumbers = true;
    pascal.PersistentBlocks = true;
    pascal.ShowMargin = false;
    pascal.indentSize = 4;
    pascal.marginPos = 100;
    RunSetup([&] {
        Choose(dialog->lbSchemes, 2);
        dialog->btnSetScheme->Click();
        EXPECT_EQ(Lines(dialog->lbBoldWords->GetItems()), std::vector<std::string>{"begin"});
        EXPECT_FALSE(dialog->edMarginPos->GetEnabled());
        dialog->switchBoxes[0]->SetChecked(true);  // AutoIndent, in PAS
        Ok();
    });
    EXPECT_EQ(editor->schemeIndex, 1);
    EXPECT_TRUE(editor->schemes[2].AutoIndent) << "the change of the shown scheme survives OK";
    EXPECT_FALSE(editor->schemes[1].AutoIndent);
    std::vector<bool> expected = SchemeSwitches(2);
    EXPECT_EQ(Switches(), expected);
    EXPECT_EQ(TextOf(editor->boldWords), std::vector<std::string>{"begin"});
    ASSERT_EQ(editor->boldWordLengths.GetCount(), 1);
    EXPECT_EQ(editor->boldWordLengths[0], 5);
    EXPECT_EQ(editor->GetIndentSize(), 4);
    EXPECT_EQ(editor->GetMarginPos(), 100);
}

// Deleted schemes: the editor's index drops with a scheme deleted before
// its own and becomes "Default" when its own goes.
TEST_F(SetupTest, TheEditorsSchemeIndexFollowsTheDeletions) {
    for (const char* name : {"JAVA", "HTM", "TXT"}) editor->schemes.NewItem()->extensions = TString(name);
    const struct {
        int current;
        std::vector<int> deleted;
        int after;
        std::vector<std::string> names;
    } kCases[] = {
        {4, {3}, 3, {"Default", "CPP;H", "PAS", "HTM", "TXT"}},
        {4, {4}, 0, {"Default", "CPP;H", "PAS", "JAVA", "TXT"}},
        {3, {5, 4}, 3, {"Default", "CPP;H", "PAS", "JAVA"}},
        {5, {3, 3}, 3, {"Default", "CPP;H", "PAS", "TXT"}},
        {1, {0, 1, 2}, 1, {"Default", "CPP;H", "PAS", "JAVA", "HTM", "TXT"}},
    };
    const TTextEditorSchemes all = editor->schemes;
    for (const auto& c : kCases) {
        editor->schemes = all;
        editor->schemeIndex = c.current;
        RunSetup([&] {
            for (int index : c.deleted) {
                Choose(dialog->lbSchemes, index);
                dialog->btnDeleteScheme->Click();
            }
            Ok();
        });
        EXPECT_EQ(editor->schemeIndex, c.after) << c.current;
        std::vector<std::string> names;
        for (int i = 0; i < editor->schemes.GetCount(); ++i) names.push_back(editor->schemes[i].extensions.str());
        EXPECT_EQ(names, c.names) << c.current;
    }
}

TEST_F(SetupTest, BoldWordsAreLoadedAndSavedThroughTheirDialogsAndOkGivesTheList) {
    {
        std::ofstream(folder.Path("words.txt"), std::ios::binary) << "alpha  beta\r\n\r\ngamma   \n";
    }
    fileName = "words.txt";
    RunSetup([&] {
        dialog->btnBoldTortes->Click();
        EXPECT_EQ(Lines(dialog->lbBoldWords->GetItems()), (std::vector<std::string>{"alpha", "beta", "gamma"}));
        Choose(dialog->lbBoldWords, 1);
        dialog->btnDeleteBoldWord->Click();
        fileName = "saved";
        dialog->btnBoldMentes->Click();
        Ok();
    });
    EXPECT_EQ(fileDialogs, (std::vector<std::string>{"Kiemelt szavak bet\xF6lt\xE9se", "Kiemelt szavak kiment\xE9se"}));
    std::ifstream saved(folder.Path("saved.TXT"), std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(saved), std::istreambuf_iterator<char>()),
              "alpha\r\ngamma\r\n");
    EXPECT_EQ(TextOf(editor->boldWords), (std::vector<std::string>{"alpha", "gamma"}));
    EXPECT_EQ(editor->boldWordLengths.GetCount(), 2);
    EXPECT_EQ(TextOf(editor->schemes[1].boldWords), (std::vector<std::string>{"int", "return"}))
        << "a loaded list leaves the scheme's keywords";

    // A failed write shows the saving error; the dialog stays.
    fileName = "no-such-folder/out";
    boxes.clear();
    RunSetup([&] {
        dialog->btnBoldMentes->Click();
        Cancel();
    });
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().caption, "Save file");
    EXPECT_TRUE(boxes.back().errorIcon);
}

// The close check runs on OK and on Cancel: a value out of range shows its
// box under "Settings" and the dialog stays open until it is put right.
TEST_F(SetupTest, TheCloseCheckRefusesValuesOutOfRangeOnOkAndOnCancel) {
    const struct {
        TComboBox* TTextEditorSetupDlg::*combo;
        TEdit* TTextEditorSetupDlg::*edit;
        const char* text;
        const char* message;
    } kCases[] = {
        {&TTextEditorSetupDlg::cmbTabsize, nullptr, "0", "Wrong tab size"},
        {&TTextEditorSetupDlg::cmbTabsize, nullptr, "33", "Wrong tab size"},
        {&TTextEditorSetupDlg::cmbIndentSize, nullptr, "17", "Wrong indention size"},
        {&TTextEditorSetupDlg::cmbIndentSize, nullptr, "-1", "Wrong indention size"},
        {&TTextEditorSetupDlg::cmbCharsize, nullptr, "-1", "Wrong char size"},
        {&TTextEditorSetupDlg::cmbCharsize, nullptr, "1001", "Wrong char size"},
        {nullptr, &TTextEditorSetupDlg::edMarginPos, "-1", "Wrong margin position"},
        {nullptr, &TTextEditorSetupDlg::edMarginPos, "1000001", "Wrong margin position"},
    };
    for (bool cancel : {false, true})
        for (const auto& c : kCases) {
            boxes.clear();
            const TBytes before = Settings();
            TControl* control = c.combo ? static_cast<TControl*>(dialog->*c.combo) : dialog->*c.edit;
            std::string good;
            RunSetup(
                [&] {
                    good = control->GetText();
                    control->SetText(c.text);
                    cancel ? Cancel() : Ok();
                },
                // Put right, and closed again.
                [&] {
                    control->SetText(good);
                    PostMessageA(dialog->GetHandle(), WM_CLOSE, 0, 0);
                });
            ASSERT_EQ(boxes.size(), 1u) << c.text;
            EXPECT_EQ(boxes[0].caption, "Settings");
            EXPECT_EQ(boxes[0].text, c.message);
            EXPECT_TRUE(boxes[0].errorIcon);
            EXPECT_TRUE(boxes[0].dialogOpen) << c.text;
            EXPECT_FALSE(IsWindowVisible(dialog->GetHandle()));
            EXPECT_EQ(Settings(), before) << c.text << ": closed by Cancel at last";
        }

    // The limits themselves pass.
    RunSetup([&] {
        dialog->cmbTabsize->SetText("32");
        dialog->cmbIndentSize->SetText("0");
        dialog->cmbCharsize->SetText("0");
        dialog->edMarginPos->SetText("0");
        Ok();
    });
    EXPECT_EQ(editor->GetTabSize(), 32);
    EXPECT_EQ(editor->GetIndentSize(), 0);
    EXPECT_EQ(editor->GetMarginPos(), 0);
}

TEST_F(SetupTest, ATextThatIsNoNumberShowsTheConversionErrorAndTheDialogStays) {
    for (TComboBox* TTextEditorSetupDlg::*combo :
         {&TTextEditorSetupDlg::cmbTabsize, &TTextEditorSetupDlg::cmbIndentSize, &TTextEditorSetupDlg::cmbCharsize}) {
        boxes.clear();
        const TBytes before = Settings();
        RunSetup(
            [&] {
                (dialog->*combo)->SetText("abc");
                Ok();
            },
            [&] {
                (dialog->*combo)->SetText("8");
                PostMessageA(dialog->GetHandle(), WM_CLOSE, 0, 0);
            });
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "'abc' is not a valid integer value.");
        EXPECT_TRUE(boxes[0].errorIcon);
        EXPECT_TRUE(boxes[0].dialogOpen);
        EXPECT_EQ(Settings(), before);
    }
}

// A dialog answered OK without running (no close check) takes nothing
// unusable, and Help reports the settings dialog.
TEST_F(SetupTest, AnOkWithoutTheCloseCheckTakesNoBadValueAndHelpReportsTheDialog) {
    const TBytes before = Settings();
    for (const char* tabSize : {"0", "x"}) {
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            if (interaction.kind != win32::ModalKind::Form) return win32::ModalReply::Answer(IDOK);
            dialog->cmbTabsize->SetText(tabSize);
            return win32::ModalReply::Answer(mrOk);
        });
        try {
            editor->Setup();
        } catch (const EConvertError&) {
            EXPECT_STREQ(tabSize, "x");
        }
        EXPECT_EQ(Settings(), before) << tabSize;
    }

    std::vector<TTextEditorDlg> helped;
    editor->OnDlgHelp = [&](TTextEditor* who, TTextEditorDlg which) {
        EXPECT_EQ(who, editor);
        helped.push_back(which);
    };
    RunSetup([&] {
        dialog->btnHelp->Click();
        Cancel();
    });
    EXPECT_EQ(helped, std::vector<TTextEditorDlg>{dlgSettings});
}
