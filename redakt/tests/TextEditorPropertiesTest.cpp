// The editor's construction values, its published properties on a form, and
// what each property setter does.
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "Exceptions.h"
#include "PropertyTable.h"
#include "RedaktFixture.h"
#include "Registration.h"
#include "Streaming.h"

namespace {

// The published rows the editor adds to the scroll control's.
std::set<std::string> OwnPropertyNames() {
    TScrollControl base(nullptr);
    std::set<std::string> inherited;
    for (const TPropertyInfo* row : PublishedProperties(&base)) inherited.insert(row->name);
    TTextEditor editor(nullptr);
    std::set<std::string> own;
    for (const TPropertyInfo* row : PublishedProperties(&editor))
        if (!inherited.count(row->name)) own.insert(row->name);
    return own;
}

// The "Name = value" lines written for the component called name.
std::vector<std::string> StoredLines(const std::string& text, const std::string& name) {
    std::vector<std::string> stored;
    const size_t start = text.find("object " + name + ":");
    if (start == std::string::npos) return stored;
    size_t at = text.find('\n', start) + 1;
    while (at < text.size()) {
        const size_t end = text.find('\n', at);
        std::string line = text.substr(at, end - at);
        line.erase(0, line.find_first_not_of(' '));
        if (line == "end" || line.rfind("object ", 0) == 0) break;
        stored.push_back(line);
        at = end + 1;
    }
    return stored;
}

std::vector<std::string> OwnStoredLines(const std::string& text) {
    const std::set<std::string> own = OwnPropertyNames();
    std::vector<std::string> lines;
    for (const std::string& line : StoredLines(text, "Editor1"))
        if (own.count(line.substr(0, line.find(' ')))) lines.push_back(line);
    return lines;
}

// Counts the repaints the setters ask for.
class TRepaintCountingEditor : public TTextEditor {
public:
    using TTextEditor::TTextEditor;
    void Invalidate() override {
        ++repaints;
        TTextEditor::Invalidate();
    }
    int repaints = 0;
};

}  // namespace

TEST(TextEditorConstruction, ANewEditorHoldsEveryConstructionValue) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const struct {
        const char* property;
        const char* value;
    } kProperties[] = {
        {"FontName", "Courier New"}, {"FontSize", "8"}, {"LineSpace", "0"}, {"ColGap", "16"}, {"TabSize", "8"},
        {"CurLine", "0"}, {"CurCol", "0"}, {"Modified", "False"}, {"ReadOnly", "False"}, {"AutoSave", "False"},
        {"TextColor", "clBlack"}, {"SelBkColor", "clNavy"}, {"SelTextColor", "clWhite"}, {"TabColor", "clGray"},
        {"ShowTabs", "True"}, {"MarkerBkColor", "clGreen"}, {"MarkerTextColor", "clWhite"},
        {"ShowRemarks", "False"}, {"RemarkColor", "clNavy"}, {"ShowBoldWords", "False"},
        {"ShowCommonBoldWords", "False"}, {"AutoIndent", "False"}, {"SmartTab", "False"},
        {"BackspaceUnindent", "False"}, {"EmptyUnindent", "True"}, {"IndentSize", "1"},
        {"DoubleClickLine", "False"}, {"TextAtCursor", "False"}, {"MarginPos", "80"}, {"ShowMargin", "True"},
        {"ShowLineEnds", "False"}, {"MarginColor", "clRed"}, {"PersistentBlocks", "False"},
        {"AutoLineBreak", "False"}, {"DosFormat", "True"}, {"ShowStrings", "False"}, {"StringColor", "clRed"},
        {"ShowNumbers", "False"}, {"NumberColor", "clGreen"}, {"ShowChars", "False"}, {"CharColor", "clRed"},
        {"ShowSymbols", "False"}, {"SymbolColor", "clBlue"}, {"ShowDirectives", "False"},
        {"DirectiveColor", "clGreen"}, {"AllBlocks", "True"}, {"PresrveMarkers", "False"},
        {"ColSeparator", "32"}, {"ShowLineNumbers", "False"}, {"BkColor", "clWhite"},
    };
    for (const auto& row : kProperties) {
        EXPECT_EQ(GetPropertyText(&editor, row.property), row.value) << row.property;
        EXPECT_TRUE(IsPropertyDefault(&editor, row.property)) << row.property << " differs from its declared default";
    }
    for (const TPropertyInfo* row : PublishedProperties(&editor)) {
        if (row->type != TPropertyType::Event) continue;
        EXPECT_TRUE(IsPropertyDefault(&editor, row->name)) << row->name;
    }

    EXPECT_EQ(editor.selBkColor2, TColor(0xC0C0C0));
    EXPECT_EQ(editor.undoLimit, 16384);
    EXPECT_EQ(editor.undoSize, 0);
    EXPECT_FALSE(editor.multiThreaded);
    EXPECT_EQ(editor.threadCount, 1);
    EXPECT_EQ(editor.chunkLines, 10000);
    EXPECT_EQ(editor.threadLimit, 0);
    EXPECT_EQ(editor.statColumn, 0);
    EXPECT_EQ(editor.statSeparator, ',');
    EXPECT_EQ(editor.fillChar, ' ');
    EXPECT_EQ(editor.lastChar, ' ');
    EXPECT_EQ(editor.selMark, -1);
    EXPECT_EQ(editor.GetEditMode(), emInsert);
    EXPECT_EQ(editor.schemeIndex, 0);
    EXPECT_EQ(editor.lines.GetIncrement(), 1024);
    EXPECT_EQ(editor.GetVMax(), 0);
    EXPECT_EQ(editor.GetHMax(), 0);
    EXPECT_EQ(editor.GetWidth(), 200);
    EXPECT_EQ(editor.GetHeight(), 150);
    EXPECT_TRUE(editor.GetTabStop());
    for (TTextEditorSearchInfo* info : {editor.searchInfo.get(), editor.searchAllInfo.get()}) {
        ASSERT_NE(info, nullptr);
        EXPECT_TRUE(info->text.IsEmpty());
        EXPECT_FALSE(info->expression.Valid());
        EXPECT_FALSE(info->caseSensitive || info->wholeWords || info->regExp || info->evalExpression);
        EXPECT_TRUE(info->forward && info->entireText);
    }
    EXPECT_FALSE(editor.searchInfo->fromStart);
    EXPECT_TRUE(editor.searchAllInfo->fromStart);
}

// The order of publication is what an object inspector lists and a stored
// form is written in; BkColor comes from the base.
TEST(TextEditorConstruction, TheEditorPublishesItsPropertiesAndEventsInOrder) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    const std::set<std::string> own = OwnPropertyNames();
    std::vector<std::string> properties, events;
    bool bkColor = false;
    for (const TPropertyInfo* row : PublishedProperties(&editor)) {
        bkColor = bkColor || std::string(row->name) == "BkColor";
        if (!own.count(row->name)) continue;
        (row->type == TPropertyType::Event ? events : properties).push_back(row->name);
    }
    EXPECT_TRUE(bkColor);
    EXPECT_EQ(properties,
              (std::vector<std::string>{
                  "FontName", "FontSize", "LineSpace", "ColGap", "TabSize", "CurLine", "CurCol", "Modified",
                  "ReadOnly", "AutoSave", "TextColor", "SelBkColor", "SelTextColor", "TabColor", "ShowTabs",
                  "MarkerBkColor", "MarkerTextColor", "ShowRemarks", "RemarkColor", "ShowBoldWords",
                  "ShowCommonBoldWords", "AutoIndent", "SmartTab", "BackspaceUnindent", "EmptyUnindent", "IndentSize",
                  "DoubleClickLine", "TextAtCursor", "MarginPos", "ShowMargin", "ShowLineEnds", "MarginColor",
                  "PersistentBlocks", "AutoLineBreak", "DosFormat", "ShowStrings", "StringColor", "ShowNumbers",
                  "NumberColor", "ShowChars", "CharColor", "ShowSymbols", "SymbolColor", "ShowDirectives",
                  "DirectiveColor", "AllBlocks", "PresrveMarkers", "ColSeparator", "ShowLineNumbers"}));
    EXPECT_EQ(events, (std::vector<std::string>{"OnCursorMove", "OnEditModeChange", "OnModifyChange", "OnCtrlEnter",
                                                "OnCtrlF1", "OnCapsChange", "OnNumChange", "OnScrollChange",
                                                "OnGapClick", "OnOverWord", "OnTabsChange", "OnMacro", "OnParamMacro",
                                                "OnSortCol", "OnRepSeq", "OnProgressChange", "OnSelectionChange",
                                                "OnDlgHelp", "OnEvent", "OnSearchAllPrepare"}));
}

TEST(TextEditorConstruction, TheEditorIsOnThePalettePageRollan) {
    bool found = false;
    for (const TPalettePage& page : PalettePages())
        for (const TClassInfo* info : page.classes)
            if (std::string(info->name) == "TTextEditor") {
                found = page.name == "Rollan";
            }
    EXPECT_TRUE(found);
}

TEST_F(EditorTest, AFormStoresOnlyTheEditorPropertiesThatDifferAndReadsThemBack) {
    form->SetName("Form1");
    TTextEditor* editor = Place();
    editor->SetName("Editor1");
    EXPECT_EQ(OwnStoredLines(WriteComponentText(form)), std::vector<std::string>{});

    editor->SetShowLineEnds(true);
    editor->SetTabSize(4);
    editor->SetColSeparator('|');
    const std::string text = WriteComponentText(form);
    std::vector<std::string> stored = OwnStoredLines(text);
    std::sort(stored.begin(), stored.end());
    EXPECT_EQ(stored, (std::vector<std::string>{"ColSeparator = 124", "ShowLineEnds = True", "TabSize = 4"}));

    TForm loaded(nullptr, 1);
    ReadComponentText(&loaded, text);
    auto* copy = dynamic_cast<TTextEditor*>(loaded.FindComponent("Editor1"));
    ASSERT_NE(copy, nullptr);
    EXPECT_TRUE(copy->GetShowLineEnds());
    EXPECT_EQ(copy->GetTabSize(), 4);
    EXPECT_EQ(copy->GetColSeparator(), '|');
    EXPECT_EQ(OwnStoredLines(WriteComponentText(&loaded)), OwnStoredLines(text));
}

TEST(TextEditorConstruction, ColSeparatorTakesByteValuesOnly) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetPropertyText(&editor, "ColSeparator", "167");
    EXPECT_EQ(editor.GetColSeparator(), '\xA7');
    EXPECT_EQ(GetPropertyText(&editor, "ColSeparator"), "167");
    EXPECT_THROW(SetPropertyText(&editor, "ColSeparator", "256"), EPropertyError);
    EXPECT_THROW(SetPropertyText(&editor, "ColSeparator", "-1"), EPropertyError);
    EXPECT_EQ(editor.GetColSeparator(), '\xA7');
}

// Each setter stores its value; the ones that repaint leave an update region,
// the plain ones none.
TEST_F(EditorTest, EverySetterStoresAndRepaintsAsItsPropertySays) {
    TTextEditor* editor = Place();
    const struct {
        const char* property;
        const char* value;
        bool repaints;
    } kSetters[] = {
        {"LineSpace", "2", true}, {"ColGap", "20", true}, {"TabSize", "4", false}, {"AutoSave", "True", false},
        {"TextColor", "clMaroon", true}, {"SelBkColor", "clTeal", true}, {"SelTextColor", "clYellow", true},
        {"TabColor", "clSilver", true}, {"ShowTabs", "False", true}, {"MarkerBkColor", "clPurple", true},
        {"MarkerTextColor", "clBlack", true}, {"ShowRemarks", "True", true}, {"RemarkColor", "clOlive", true},
        {"ShowBoldWords", "True", true}, {"ShowCommonBoldWords", "True", true}, {"AutoIndent", "True", false},
        {"SmartTab", "True", false}, {"BackspaceUnindent", "True", false}, {"EmptyUnindent", "False", false},
        {"IndentSize", "4", false}, {"DoubleClickLine", "True", false}, {"TextAtCursor", "True", false},
        {"MarginPos", "72", true}, {"ShowMargin", "False", true}, {"ShowLineEnds", "True", true},
        {"MarginColor", "clBlue", true}, {"PersistentBlocks", "True", false}, {"AutoLineBreak", "True", false},
        {"DosFormat", "False", false}, {"ShowStrings", "True", true}, {"ShowNumbers", "True", true},
        {"ShowChars", "True", true}, {"ShowSymbols", "True", true}, {"ShowDirectives", "True", true},
        {"AllBlocks", "False", false}, {"PresrveMarkers", "True", false}, {"ColSeparator", "44", false},
        {"ShowLineNumbers", "True", true}, {"FontSize", "10", true}, {"FontName", "Arial", true},
    };
    for (const auto& row : kSetters) {
        driver.PumpUntilIdle();
        ASSERT_FALSE(HasUpdateRegion(editor));
        SetPropertyText(editor, row.property, row.value);
        EXPECT_EQ(GetPropertyText(editor, row.property), row.value) << row.property;
        EXPECT_EQ(HasUpdateRegion(editor), row.repaints) << row.property;
    }
}

TEST_F(EditorTest, SyntaxColoursRepaintOnlyWhileTheirSwitchIsOn) {
    auto* editor = Place<TRepaintCountingEditor>();
    const struct {
        const char* colour;
        const char* show;
    } kColours[] = {
        {"StringColor", "ShowStrings"}, {"NumberColor", "ShowNumbers"}, {"CharColor", "ShowChars"},
        {"SymbolColor", "ShowSymbols"}, {"DirectiveColor", "ShowDirectives"},
    };
    for (const auto& row : kColours) {
        for (const char* show : {"False", "True"}) {
            SetPropertyText(editor, row.show, show);
            driver.PumpUntilIdle();
            editor->repaints = 0;
            SetPropertyText(editor, row.colour, std::string(show) == "True" ? "clLime" : "clFuchsia");
            EXPECT_EQ(editor->repaints, std::string(show) == "True" ? 1 : 0) << row.colour << " with " << row.show
                                                                             << " " << show;
            EXPECT_EQ(GetPropertyText(editor, row.colour), std::string(show) == "True" ? "clLime" : "clFuchsia");
            EXPECT_EQ(HasUpdateRegion(editor), std::string(show) == "True") << row.colour << " with " << row.show
                                                                            << " " << show;
        }
    }
}

// The gutter follows at once, before any paint recomputes it.
TEST(TextEditorSetters, ShowLineNumbersMeasuresTheGutterAtOnce) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    SetLines(editor, std::vector<std::string>(1000, "x"));
    editor.SetShowLineNumbers(true);
    EXPECT_GT(editor.lineNumbersWidth, 0);
    EXPECT_EQ(editor.lineNumbersWidth, editor.GetLineNumbersWidth());
    editor.SetShowLineNumbers(false);
    EXPECT_EQ(editor.lineNumbersWidth, 0);
}

TEST(TextEditorSetters, TheTwoBoldSwitchesClearEachOther) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    editor.SetShowBoldWords(true);
    editor.SetShowCommonBoldWords(true);
    EXPECT_FALSE(editor.GetShowBoldWords());
    EXPECT_TRUE(editor.GetShowCommonBoldWords());
    editor.SetShowBoldWords(true);
    EXPECT_TRUE(editor.GetShowBoldWords());
    EXPECT_FALSE(editor.GetShowCommonBoldWords());
    editor.SetShowCommonBoldWords(false);  // clearing one leaves the other
    EXPECT_TRUE(editor.GetShowBoldWords());
}

TEST(TextEditorSetters, OnModifyChangeFiresForEveryModifiedWriteAlsoUnchanged) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    std::vector<bool> seen;
    editor.OnModifyChange = [&seen, &editor](TTextEditor* sender, bool modified) {
        EXPECT_EQ(sender, &editor);
        seen.push_back(modified);
    };
    editor.SetModified(false);
    editor.SetModified(true);
    editor.SetModified(true);
    EXPECT_EQ(seen, (std::vector<bool>{false, true, true}));
    EXPECT_TRUE(editor.GetModified());
}

TEST_F(EditorTest, ReadOnlyTakesTheCaretAwayAndAnUnchangedValueDoesNothing) {
    TTextEditor* editor = Place();
    editor->SetFocus();
    editor->CaretOn();
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    const auto caretShows = [&info] { return GetGUIThreadInfo(0, &info) && (info.flags & GUI_CARETBLINKING); };
    ASSERT_TRUE(caretShows());
    editor->SetReadOnly(false);
    EXPECT_TRUE(caretShows());
    EXPECT_EQ(info.hwndCaret, editor->GetHandle());
    editor->SetReadOnly(true);
    EXPECT_FALSE(caretShows());
    EXPECT_EQ(info.hwndCaret, nullptr);
    editor->SetReadOnly(true);
    EXPECT_EQ(info.hwndCaret, nullptr);
    editor->SetReadOnly(false);
    EXPECT_TRUE(caretShows());
}

TEST_F(EditorTest, AnUnfocusedEditorLeavesTheFocusedControlsCaretAlone) {
    TTextEditor* focused = Place(10, 10, 180, 100);
    TTextEditor* other = Place(200, 10, 180, 100);
    focused->SetFocus();
    focused->CaretOn();
    other->SetReadOnly(true);
    other->SetFontSize(12);
    other->SetReadOnly(false);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetGUIThreadInfo(0, &info));
    EXPECT_EQ(info.hwndCaret, focused->GetHandle());
    EXPECT_NE(info.flags & GUI_CARETBLINKING, 0u);
}

TEST_F(EditorTest, CaretLineAndColumnAcceptOnlyValuesInsideTheRanges) {
    TTextEditor* editor = Place();
    editor->SetVMax(9);
    editor->SetHMax(30);
    std::vector<std::pair<int, int>> moves;
    editor->OnCursorMove = [&moves](TTextEditor*, int x, int y) { moves.emplace_back(x, y); };
    for (int line : {-1, editor->GetVMax() + 1}) editor->SetCurLine(line);
    editor->SetCurCol(editor->GetHMax() + 1);
    editor->SetCurCol(-1);
    EXPECT_EQ(editor->GetCurLine(), 0);
    EXPECT_EQ(editor->GetCurCol(), 0);
    EXPECT_TRUE(moves.empty());
    editor->SetCurLine(editor->GetVMax());
    EXPECT_EQ(editor->GetCurLine(), 9);
    ASSERT_FALSE(moves.empty());
    EXPECT_EQ(moves.back(), std::make_pair(0, 9));
    editor->SetCurCol(7);
    EXPECT_EQ(editor->GetCurCol(), 7);
    EXPECT_EQ(editor->prevCol, 0);
    EXPECT_EQ(moves.back(), std::make_pair(7, 9));
}

TEST_F(EditorTest, TheScrollStepsFollowTheFontAndTheLineSpacing) {
    TTextEditor unplaced(nullptr);
    const auto expectStepsFollow = [](TTextEditor& editor, const char* when) {
        EXPECT_EQ(editor.GetHScrollStep(), editor.GetCharWidth()) << when;
        EXPECT_EQ(editor.GetVScrollStep(), editor.GetLineHeight()) << when;
    };
    const int smallHeight = unplaced.GetLineHeight();
    const int smallWidth = unplaced.GetCharWidth();
    unplaced.SetFontSize(14);
    expectStepsFollow(unplaced, "before the window exists");
    EXPECT_FALSE(unplaced.HandleAllocated());
    EXPECT_GT(unplaced.GetLineHeight(), smallHeight);
    EXPECT_GT(unplaced.GetCharWidth(), smallWidth);
    unplaced.SetLineSpace(3);
    expectStepsFollow(unplaced, "with line spacing");

    TTextEditor* editor = Place();
    expectStepsFollow(*editor, "after the window was made");
    EXPECT_EQ(editor->GetLineHeight(), smallHeight);
    editor->SetFontSize(12);
    expectStepsFollow(*editor, "on a shown editor");
    // Courier New is a fixed-pitch face: narrow and wide letters measure the same.
    SIZE narrow, wide;
    HDC dc = editor->GetCanvas()->GetHandle();
    GetTextExtentPoint32(dc, "iiii", 4, &narrow);
    GetTextExtentPoint32(dc, "MMMM", 4, &wide);
    EXPECT_EQ(narrow.cx, wide.cx);
    EXPECT_EQ(narrow.cx, 4 * editor->GetCharWidth());
}
