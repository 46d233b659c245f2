// The working range, the history of the editor's combo boxes and the
// dialogs' help handler.
#include <string>
#include <utility>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "GroupControls.h"
#include "RedaktFixture.h"
#include "TextEditorFunctions.h"
#include "TextEditorGoToLineDlg.h"

namespace {

// Forms of the classes the help handler knows by name (the dialogs of other
// units; a namespace of their own keeps them apart from those), and one
// derived from the go-to-line dialog.
namespace dialogs {
class TTextEditorSearchDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorSearchDlg, TForm)
public:
    TTextEditorSearchDlg() : TForm(nullptr, 1) {}
};
class TTextEditorMacroListDlg : public TForm {
    CLASSLIB_CLASS(TTextEditorMacroListDlg, TForm)
public:
    TTextEditorMacroListDlg() : TForm(nullptr, 1) {}
};
}  // namespace dialogs
class TOwnGoToLineDlg : public TTextEditorGoToLineDlg {
    CLASSLIB_CLASS(TOwnGoToLineDlg, TTextEditorGoToLineDlg)
public:
    TOwnGoToLineDlg() : TTextEditorGoToLineDlg(nullptr) {}
};

// A button on the form, inside a group box when nested.
TButton* HelpButtonOn(TForm& form, bool nested) {
    TWinControl* parent = &form;
    if (nested) {
        auto* box = new TGroupBox(&form);
        box->SetParent(&form);
        parent = box;
    }
    auto* button = new TButton(&form);
    button->SetParent(parent);
    return button;
}

}  // namespace

TEST(CommandFrameTest, TheWorkingRangeIsTheLineBlockOrTheWholeText) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, std::vector<std::string>(10, "line"));
    int first = -1, last = -1;
    editor.GetWorkingRange(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, 9);
    editor.selection = TTextEditorSelection{2, 5, 7, 3, 6};
    editor.GetWorkingRange(first, last);
    EXPECT_EQ(first, 3);
    EXPECT_EQ(last, 5);
    SetLines(editor, {});
    editor.selection = TTextEditorSelection{};
    editor.GetWorkingRange(first, last);
    EXPECT_EQ(first, 0);
    EXPECT_EQ(last, -1);
}

TEST(CommandFrameTest, AComboHistoryPutsANewTextFirstAndKeepsItsLimit) {
    win32::TestDriver driver;
    TComboBox box(nullptr);
    auto items = [&] {
        std::vector<std::string> texts;
        for (int i = 0; i < box.GetItems()->GetCount(); ++i) texts.push_back(box.GetItems()->GetStrings(i));
        return texts;
    };
    for (const char* text : {"one", "two", "", "one", "One", "three"}) {
        box.SetText(text);
        AddComboHistory(&box, 3);
    }
    EXPECT_EQ(items(), (std::vector<std::string>{"three", "One", "two"}));
    AddComboHistory(nullptr, 3);
}

TEST(CommandFrameTest, TheHelpHandlerReportsTheDialogThatHoldsTheSender) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    std::vector<TTextEditorDlg> reported;
    dialogs::TTextEditorSearchDlg search;
    dialogs::TTextEditorMacroListDlg macroList;
    TOwnGoToLineDlg goToLine;
    TForm plain(nullptr, 1);
    const std::pair<TObject*, std::vector<TTextEditorDlg>> kSenders[] = {
        {HelpButtonOn(search, false), {dlgSearch}},
        {HelpButtonOn(macroList, true), {dlgMacroList}},
        {goToLine.btnHelp, {dlgGoToLine}},
        {HelpButtonOn(plain, false), {}},
        {&search, {}},
        {nullptr, {}},
    };
    for (const auto& [sender, expected] : kSenders) {
        reported.clear();
        editor.DlgHelpHandler(sender);
        EXPECT_TRUE(reported.empty()) << "no handler: nothing";
        editor.OnDlgHelp = [&](TTextEditor* who, TTextEditorDlg dialog) {
            EXPECT_EQ(who, &editor);
            reported.push_back(dialog);
        };
        editor.DlgHelpHandler(sender);
        EXPECT_EQ(reported, expected);
        editor.OnDlgHelp = nullptr;
    }
}
