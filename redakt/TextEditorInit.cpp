// TTextEditor: construction, the construction values of its settings and
// state, the objects Init makes (shared forms, command box, command table,
// context menus), and destruction.
#include "Menus.h"
#include "TextEditor.h"
#include "TextEditorCharacters.h"
#include "TextEditorCommandBox.h"
#include "TextEditorPackage.h"
#include "TextEditorTexts.h"

namespace {

// Only outside the designer: a command line is of no use on a form being
// designed (an owner's design state reaches the editor when it is made).
void CreateCommandBox(TTextEditor* editor) {
    if (editor->commandCombo != nullptr || editor->GetComponentState().Contains(csDesigning)) return;
    auto* box = new TTextEditorCommandBox(editor);
    box->SetParent(editor);
    box->SetVisible(false);
    box->OnKeyDown = [editor](TObject* sender, WORD& key, TShiftState shift) {
        editor->OnCommandComboKeyDown(sender, key, shift);
    };
    box->OnKeyPress = [editor](TObject* sender, char& key) { editor->OnCommandComboKeyPress(sender, key); };
    editor->commandCombo = box;
}

// A second Init empties the menus, so InitPopupMenu fills them afresh.
void CreatePopupMenus(TTextEditor* editor) {
    if (editor->editPopup == nullptr) {
        editor->editPopup = new TPopupMenu(editor);
        editor->gapPopup = new TPopupMenu(editor);
    }
    editor->editPopup->GetItems()->Clear();
    editor->gapPopup->GetItems()->Clear();
    editor->activePopup = editor->editPopup;
}

}  // namespace

// The first editor of the process loads the shared language table; later
// ones reuse it.
TTextEditor::TTextEditor(TComponent* owner) : TScrollControl(owner) {
    UseTextEditorLangTable();
    Init();
}

TTextEditor::~TTextEditor() {
    Destroying();
    UnbindSearchAllListBoxes();
    UnbindMethodLists();
}

void TTextEditor::Init() {
    SetTabStop(true);
    // Straight into the fields: the bars get them when the window is made.
    VMax = 0;
    HMax = 0;
    SetBounds(GetLeft(), GetTop(), 200, 150);
    FontName = TextEditorText(100223, "Courier New");

    FontSize = 8;
    LineSpace = 0;
    ColGap = 16;
    TabSize = 8;
    IndentSize = 1;
    MarginPos = 80;
    TextColor = 0x000000;
    SelBkColor = 0x800000;
    SelTextColor = 0xFFFFFF;
    TabColor = 0x808080;
    MarkerBkColor = 0x008000;
    MarkerTextColor = 0xFFFFFF;
    RemarkColor = 0x800000;
    MarginColor = 0x0000FF;
    StringColor = 0x0000FF;
    NumberColor = 0x008000;
    CharColor = 0x0000FF;
    SymbolColor = 0xFF0000;
    DirectiveColor = 0x008000;
    Modified = false;
    ReadOnly = false;
    AutoSave = false;
    ShowTabs = true;
    ShowRemarks = false;
    ShowBoldWords = false;
    ShowCommonBoldWords = false;
    AutoIndent = false;
    SmartTab = false;
    BackspaceUnindent = false;
    EmptyUnindent = true;
    DoubleClickLine = false;
    TextAtCursor = false;
    ShowMargin = true;
    PersistentBlocks = false;
    AutoLineBreak = false;
    DosFormat = true;
    ShowStrings = false;
    ShowNumbers = false;
    ShowChars = false;
    ShowSymbols = false;
    ShowDirectives = false;
    AllBlocks = true;
    PresrveMarkers = false;
    ColSeparator = ' ';
    // ShowLineEnds and ShowLineNumbers keep the false of a new object.

    selBkColor2 = 0xC0C0C0;
    statColumn = 0;
    statSeparator = ',';
    selMark = -1;
    lastChar = WordSeparators()[0];
    fillChar = ' ';
    alignChar = ' ';
    undoLimit = 16384;
    EditMode = emInsert;

    searchInfo = std::make_unique<TTextEditorSearchInfo>();
    searchAllInfo = std::make_unique<TTextEditorSearchInfo>();
    searchAllInfo->fromStart = true;
    replacePrompt = true;

    schemes.Clear();
    schemes.NewItem()->extensions = TString("Default");
    helpText.LoadFromResource(RedaktResourceModule(), "texteditor_help");

    schemeIndex = 0;
    multiThreaded = false;
    threadCount = 1;
    chunkLines = 10000;
    threadLimit = 0;
    lines.SetIncrement(1024);

    CreateTextEditorSharedForms();
    CreateCommandBox(this);
    commands.Clear();
    AddCommandTable();
    CreatePopupMenus(this);
    InitPopupMenu();

    ApplyFont();
}
