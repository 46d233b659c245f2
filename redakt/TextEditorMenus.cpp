// TTextEditor: the command table's registration and the context menus.
#include <iterator>
#include <string>

#include "Menus.h"
#include "TextEditor.h"
#include "TextEditorTexts.h"

namespace {

struct TCommandRow {
    const char* name;
    TTextEditorCommandHandler handler;
};

// ORDER COMMANDS: registration order is matching order, so a prefix selects
// the first name it begins ("s" select, "ca" capitalize); never reorder.
const TCommandRow kCommandTable[] = {
    {"copy", &TTextEditor::CmdCopy},
    {"paste", &TTextEditor::CmdPaste},
    {"select", &TTextEditor::CmdSelect},
    {"repeat", &TTextEditor::CmdRepeat},
    {"section", &TTextEditor::CmdSection},
    {"exchange", &TTextEditor::CmdExchange},
    {"numbers", &TTextEditor::CmdNumbers},
    {"insert", &TTextEditor::CmdInsert},
    {"append", &TTextEditor::CmdAppend},
    {"add", &TTextEditor::CmdAdd},
    {"delete", &TTextEditor::CmdDelete},
    {"modify", &TTextEditor::CmdModify},
    {"sort", &TTextEditor::CmdSort},
    {"reverse", &TTextEditor::CmdReverse},
    {"apply", &TTextEditor::CmdApply},
    {"swap", &TTextEditor::CmdSwap},
    {"shuffle", &TTextEditor::CmdShuffle},
    {"ends", &TTextEditor::CmdEnds},
    {"mt", &TTextEditor::CmdMT},
    {"tolower", &TTextEditor::CmdToLower},
    {"toupper", &TTextEditor::CmdToUpper},
    {"capitalize", &TTextEditor::CmdCapitalize},
    {"calc", &TTextEditor::CmdCalc},
    {"count", &TTextEditor::CmdCount},
    {"ecount", &TTextEditor::CmdECount},
    {"go", &TTextEditor::CmdGo},
    {"for", &TTextEditor::CmdFor},
    {"foreach", &TTextEditor::CmdForEach},
    {"replace", &TTextEditor::CmdReplace},
    {"align", &TTextEditor::CmdAlign},
    {"surround", &TTextEditor::CmdSurround},
};

using TPopupHandler = void (TTextEditor::*)(TObject* sender);

// A menu entry: its caption's text id and English default; separators have
// no handler.
struct TPopupRow {
    int id;
    const char* text;
    TPopupHandler click;
};

// ORDER: the text area's menu, top to bottom.
const TPopupRow kEditMenu[] = {
    {100224, "Cu&t", &TTextEditor::PopupCutClick},
    {100225, "&Copy", &TTextEditor::PopupCopyClick},
    {100226, "&Paste", &TTextEditor::PopupPasteClick},
    {100227, "&Delete", &TTextEditor::PopupDeleteClick},
    {100228, "-", nullptr},
    {100229, "Select &all", &TTextEditor::PopupSelectAllClick},
};

// ORDER: the gap menu's rows around its ten bookmark digits (ids 100232 to
// 100241, each shown after the mark of text 100244).
const TPopupRow kGapMenuHead[] = {
    {100230, "El\xF5z\xF5", &TTextEditor::PopupGapPrevClick},
    {100231, "-", nullptr},
};
const TPopupRow kGapMenuTail[] = {
    {100242, "-", nullptr},
    {100243, "Next", &TTextEditor::PopupGapNextClick},
};
constexpr int kFirstDigitId = 100232;

// A new item of menu, owned by the editor, that runs click on it.
void AddPopupItem(TTextEditor* editor, TPopupMenu* menu, const std::string& caption, TPopupHandler click, int tag) {
    auto* item = new TMenuItem(editor);
    item->SetCaption(caption);
    item->SetTag(tag);
    if (click != nullptr) item->OnClick = [editor, click](TObject* sender) { (editor->*click)(sender); };
    menu->GetItems()->Add(item);
}

void AddPopupRows(TTextEditor* editor, TPopupMenu* menu, const TPopupRow* rows, size_t count) {
    for (size_t i = 0; i < count; ++i)
        AddPopupItem(editor, menu, TextEditorText(rows[i].id, rows[i].text), rows[i].click, 0);
}

}  // namespace

void TTextEditor::AddCommand(const TString& name, TTextEditorCommandHandler handler) {
    TTextEditorCommand* command = commands.NewItem();
    command->name = name;
    command->handler = handler;
}

void TTextEditor::AddCommandTable() {
    for (const TCommandRow& row : kCommandTable) AddCommand(TString(row.name), row.handler);
}

void TTextEditor::InitPopupMenu() {
    AddPopupRows(this, editPopup, kEditMenu, std::size(kEditMenu));
    AddPopupRows(this, gapPopup, kGapMenuHead, std::size(kGapMenuHead));
    const std::string mark = TextEditorText(100244, "&");
    for (int digit = 0; digit <= 9; ++digit) {
        const std::string text = TextEditorText(kFirstDigitId + digit, std::to_string(digit).c_str());
        AddPopupItem(this, gapPopup, mark + text, &TTextEditor::PopupGapClick, digit);
    }
    AddPopupRows(this, gapPopup, kGapMenuTail, std::size(kGapMenuTail));
}

void TTextEditor::PopupCutClick(TObject*) { Cut(); }
void TTextEditor::PopupCopyClick(TObject*) { Copy(); }
void TTextEditor::PopupPasteClick(TObject*) { Paste(); }
void TTextEditor::PopupDeleteClick(TObject*) { DeleteBlock(); }
void TTextEditor::PopupSelectAllClick(TObject*) { SelectAll(); }
void TTextEditor::PopupGapPrevClick(TObject*) { PrevMarker(); }
void TTextEditor::PopupGapNextClick(TObject*) { NextMarker(); }

// The bookmark goes on the line the menu was opened on; the item's Tag holds
// its digit, whatever its caption says in the current language.
void TTextEditor::PopupGapClick(TObject* sender) {
    const auto* item = dynamic_cast<TMenuItem*>(sender);
    if (item == nullptr) return;
    const int keptLine = CurLine;
    CurLine = gapClickLine;
    MakeMarker(static_cast<int>(item->GetTag()));
    CurLine = keptLine;
}
