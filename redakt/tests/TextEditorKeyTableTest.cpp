// The editor's key table, row by row, as real key sequences through the test
// driver: each row is reached by its key and condition and checked by its
// effect (or, for an operation still waiting to be built, by the row alone);
// every (s) row drops the character that follows, every RO row does nothing
// under ReadOnly, every Ctrl* row does nothing right after an Alt key-down.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "KeyboardFixture.h"

namespace {

using TSetup = std::function<void(TRecordingKeyEditor&)>;
using TCheck = std::function<void(TRecordingKeyEditor&)>;

// How a row is reached and what it must do. A null check marks an operation
// that does nothing yet: the row is checked by being selected.
struct TRowCase {
    TSetup setup;
    TCheck check;
};

// What a key-down may change, as one text for comparing.
std::string StateOf(TRecordingKeyEditor& e, size_t dialogs) {
    std::ostringstream out;
    for (const std::string& line : TextOf(e.lines)) out << line << '|';
    // An empty selection only follows the caret.
    const TTextEditorSelection& s = e.selection;
    out << " caret " << e.CurCol << ',' << e.CurLine << " sel ";
    if (s.selStartLine != s.selEndLine)
        out << "lines " << s.selStartLine << ',' << s.selEndLine;
    else if (s.selStartCol != s.selEndCol)
        out << "columns " << s.selStartCol << ',' << s.selEndCol << " of " << s.selLine;
    out << " undo " << e.undoItems.GetCount();
    for (const std::string& call : e.calls) out << ' ' << call;
    out << " dialogs " << dialogs << " pending " << e.copyToBufferPending << e.pasteFromBufferPending
        << e.sortColPending << e.chordM << int(e.repSeqState) << e.helpShown << e.GetModified() << " margin "
        << e.GetMarginPos() << " tabs " << e.tabStops.GetCount();
    return out.str();
}

bool IsAltCondition(TTextEditorKeyCondition condition) { return condition == kcAlt || condition == kcAltNoCtrl; }

bool IsCtrlStar(TTextEditorKeyCondition condition) {
    return condition == kcCtrlStar || condition == kcCtrlStarShift || condition == kcCtrlStarNoShift;
}

class KeyTableTest : public KeyboardTest {
protected:
    // A fresh recording editor on 40 numbered lines, the caret at (5, 5),
    // set up for the case, its record of calls and the typed text empty.
    TRecordingKeyEditor* Fresh(const TRowCase& rowCase) {
        TRecordingKeyEditor* editor = Editor<TRecordingKeyEditor>(NumberedLines(40));
        editor->PlaceCaret(5, 5);
        editor->lastWord = "word";
        if (rowCase.setup) rowCase.setup(*editor);
        driver.PumpUntilIdle();
        editor->calls.clear();
        typed.clear();
        dialogs.clear();
        return editor;
    }

    // The modifiers a row's condition asks for and the chord prefix it needs.
    void PressRow(const TTextEditorKeyRow& row, const char* characters = nullptr) {
        switch (row.condition) {
            case kcChordK: Ctrl('K'); break;
            case kcChordQ: Ctrl('Q'); break;
            case kcChordL: Ctrl('L'); break;
            case kcChordD: Ctrl('D'); break;
            default: break;
        }
        switch (row.condition) {
            case kcCtrl: case kcCtrlStar: case kcCtrlStarNoShift: case kcCtrlNoAlt: case kcCtrlNoAltNoShift:
                Press({VK_LCONTROL}, row.key, characters);
                break;
            case kcCtrlStarShift: Press({VK_LSHIFT, VK_LCONTROL}, row.key, characters); break;
            case kcAlt: case kcAltNoCtrl: Press({VK_LMENU}, row.key, characters); break;
            default: Press({}, row.key, characters); break;
        }
    }

    // The cases of every row, by row name.
    std::map<std::string, TRowCase> Cases();

    std::vector<std::pair<bool, bool>> lockEvents;  // (caps, state)
    TTempFolder temp{"redakt-key-table"};
};

void SelectBlock(TTextEditor& e, int first, int end) {
    e.selection = TTextEditorSelection{0, 0, first, first, end};
}

void SelectInLine(TTextEditor& e, int line, int start, int end) {
    e.selection = TTextEditorSelection{start, end, line, line, line};
}

std::map<std::string, TRowCase> KeyTableTest::Cases() {
    using E = TRecordingKeyEditor;
    auto calls = [](std::vector<std::string> expected) {
        return [expected](E& e) { EXPECT_EQ(e.calls, expected); };
    };
    auto lines = [this](std::vector<std::string> text, int caretLine = 0) {
        return [this, text, caretLine](E& e) {
            ShowText(&e, text);
            e.PlaceCaret(0, caretLine);
        };
    };
    auto line5 = [](const std::string& expected) { return [expected](E& e) { EXPECT_EQ(e.lines[5].str(), expected); }; };
    const TSetup blockOf3to6 = [](E& e) { SelectBlock(e, 3, 6); };
    const TSetup indentedBlock = [this](E& e) {
        ShowText(&e, {"a", "  b", "  c", "d"});
        e.PlaceCaret(0, 0);
        SelectBlock(e, 1, 3);
    };
    return {
        {"Ctrl+Up: scroll up", {[](E& e) { e.SetVPos(3); },
                                [](E& e) {
                                    EXPECT_EQ(e.GetVPos(), 2);
                                    EXPECT_EQ(e.CurLine, 5);
                                }}},
        {"Up", {nullptr, [](E& e) { EXPECT_EQ(e.CurLine, 4); }}},
        {"Ctrl+Down: scroll down", {nullptr,
                                    [](E& e) {
                                        EXPECT_EQ(e.GetVPos(), 1);
                                        EXPECT_EQ(e.CurLine, 5);
                                    }}},
        {"Down", {nullptr, [](E& e) { EXPECT_EQ(e.CurLine, 6); }}},
        {"Left", {nullptr, [](E& e) { EXPECT_EQ(e.CurCol, 4); }}},
        {"Right", {nullptr, [](E& e) { EXPECT_EQ(e.CurCol, 6); }}},
        {"Enter: ReturnPress", {nullptr, calls({"ReturnPress"})}},
        {"Tab: TabPress", {nullptr, calls({"TabPress"})}},
        {"Backspace: BackspacePress", {nullptr, calls({"BackspacePress"})}},
        {"Delete: DeletePress", {nullptr, calls({"DeletePress"})}},
        {"Insert: InsertPress", {nullptr, calls({"InsertPress"})}},
        {"PgUp: PgUpPress", {nullptr, calls({"PgUpPress"})}},
        {"PgDn: PgDownPress", {nullptr, calls({"PgDownPress"})}},
        {"Home: HomePress", {nullptr, calls({"HomePress"})}},
        {"End: EndPress", {nullptr, calls({"EndPress"})}},
        {"F1: F1Press", {nullptr, calls({"F1Press"})}},
        {"F3: SearchByInfo", {nullptr, nullptr}},
        {"Caps Lock: OnCapsChange",
         {[this](E& e) { e.OnCapsChange = [this](TTextEditor*, bool on) { lockEvents.push_back({true, on}); }; },
          [this](E&) {
              EXPECT_EQ(lockEvents, (std::vector<std::pair<bool, bool>>{{true, true}}));
              Press({}, VK_CAPITAL);  // off again for the cases that follow
          }}},
        {"Num Lock: OnNumChange",
         {[this](E& e) { e.OnNumChange = [this](TTextEditor*, bool on) { lockEvents.push_back({false, on}); }; },
          [this](E&) {
              EXPECT_EQ(lockEvents, (std::vector<std::pair<bool, bool>>{{false, true}}));
              Press({}, VK_NUMLOCK);
          }}},
        {"Scroll Lock: OnScrollChange",
         {[this](E& e) { e.OnScrollChange = [this](TTextEditor*, bool on) { lockEvents.push_back({false, on}); }; },
          [this](E&) {
              EXPECT_EQ(lockEvents, (std::vector<std::pair<bool, bool>>{{false, true}}));
              Press({}, VK_SCROLL);
          }}},
        {"Ctrl+A: SelectAll", {nullptr,
                               [](E& e) {
                                   EXPECT_EQ(e.selection.selStartLine, 0);
                                   EXPECT_EQ(e.selection.selEndLine, 40);
                               }}},
        {"Ctrl+Q, A: StartAppendMode", {nullptr, nullptr}},
        {"Ctrl+D, A: DeleteAfter", {nullptr,
                                    [](E& e) {
                                        EXPECT_EQ(e.lines.GetCount(), 6);
                                        EXPECT_TRUE(e.lines[5].IsEmpty());
                                    }}},
        {"Ctrl+L, A: SetLineCapacity", {nullptr, nullptr}},
        {"Ctrl+D, B: DeleteBefore", {nullptr,
                                     [](E& e) {
                                         EXPECT_EQ(e.lines.GetCount(), 35);
                                         EXPECT_EQ(e.lines[0].str(), "line 5 of the text");
                                         EXPECT_EQ(e.CurLine, 0);
                                     }}},
        {"Ctrl+Q, B: copy to a buffer", {nullptr, [](E& e) { EXPECT_TRUE(e.copyToBufferPending); }}},
        {"Ctrl+B: paste a buffer", {nullptr, [](E& e) { EXPECT_TRUE(e.pasteFromBufferPending); }}},
        {"Ctrl+K, B: choose the sort column",
         {[this](E& e) { e.OnSortCol = [this](TTextEditor*, TTextEditorSortCol event) { typed += char('0' + event); }; },
          [this](E& e) {
              EXPECT_TRUE(e.sortColPending);
              EXPECT_EQ(typed, "0");  // OnSortCol with scChoosing
          }}},
        {"Ctrl+K, C: Copy, Paste", {nullptr, calls({"Copy", "Paste"})}},
        {"Ctrl+L, C: ConvertLines", {nullptr, nullptr}},
        {"Ctrl+C: Copy", {nullptr, calls({"Copy"})}},
        {"Alt+C: DoCommand, with Shift RepeatCommand",
         {nullptr, [](E& e) { EXPECT_TRUE(e.commandCombo != nullptr && e.commandCombo->GetVisible()); }}},
        {"Ctrl+D: chord", {nullptr, [](E& e) { EXPECT_TRUE(e.chordD); }}},
        {"Ctrl+K, E: WordToLower", {[](E& e) { e.lines[5] = "line ABC"; }, line5("line abc")}},
        {"Ctrl+Q, E: ExchangeSelection", {[](E& e) {
                                              SelectBlock(e, 3, 6);
                                              e.selMark = 5;
                                          },
                                          [](E& e) {
                                              EXPECT_EQ(e.lines[3].str(), "line 5 of the text");
                                              EXPECT_EQ(e.lines[4].str(), "line 3 of the text");
                                          }}},
        {"Alt+E: ShowLineEnds", {nullptr, [](E& e) { EXPECT_TRUE(e.GetShowLineEnds()); }}},
        {"Ctrl+K, F: WordToUpper", {[](E& e) { e.lines[5] = "line abc"; }, line5("line ABC")}},
        {"Ctrl+L, F: FillLinesToMargin", {nullptr, nullptr}},
        {"Ctrl+Shift+F: SearchAll", {nullptr, calls({"SearchAll"})}},
        {"Ctrl+F: Search", {nullptr, calls({"Search"})}},
        {"Ctrl+H: Help", {nullptr, [](E& e) { EXPECT_TRUE(e.helpShown); }}},
        {"Ctrl+K, I: DoIndent", {indentedBlock, [](E& e) { EXPECT_EQ(TextOf(e.lines), (std::vector<std::string>{"a", "   b", "   c", "d"})); }}},
        {"Ctrl+Shift+I: DoIndent", {indentedBlock, [](E& e) { EXPECT_EQ(e.lines[2].str(), "   c"); }}},
        {"Ctrl+J: line jump", {[](E& e) { e.keyText = "7"; },
                               [](E& e) {
                                   EXPECT_TRUE(e.chordJ);
                                   EXPECT_TRUE(e.keyText.IsEmpty());
                               }}},
        {"Ctrl+K: chord", {nullptr, [](E& e) { EXPECT_TRUE(e.chordK); }}},
        {"Ctrl+L: chord", {nullptr, [](E& e) { EXPECT_TRUE(e.chordL); }}},
        {"Ctrl+K, L: LineInsertText", {nullptr, [this](E&) { EXPECT_EQ(dialogs.size(), 1u); }}},
        {"Ctrl+M: StartMacro, with Shift RecordParamMacro", {nullptr,
                                                             [](E& e) {
                                                                 EXPECT_EQ(e.calls, std::vector<std::string>{"StartMacro"});
                                                                 EXPECT_TRUE(e.chordM);
                                                             }}},
        {"Ctrl+K, M: SetMarginPos", {nullptr, [](E& e) { EXPECT_EQ(e.GetMarginPos(), 5); }}},
        {"Ctrl+L, M: MergeSelectedLines", {blockOf3to6, nullptr}},
        {"Ctrl+N: NextMarker", {nullptr, calls({"NextMarker"})}},
        {"Alt+N: ShowLineNumbers", {nullptr, [](E& e) { EXPECT_TRUE(e.GetShowLineNumbers()); }}},
        {"Ctrl+K, N: BlockToUpper", {[](E& e) { SelectInLine(e, 5, 0, 4); }, line5("LINE 5 of the text")}},
        {"Ctrl+Q, N: GoToNextBlock", {[this](E& e) {
                                          ShowText(&e, {"f() {", "  x;", "}"});
                                          e.PlaceCaret(3, 1);
                                      },
                                      [](E& e) {
                                          EXPECT_EQ(e.CurLine, 2);
                                          EXPECT_EQ(e.CurCol, 1);
                                      }}},
        {"Ctrl+K, O: BlockToLower", {[](E& e) {
                                         e.lines[5] = "LINE FIVE";
                                         SelectInLine(e, 5, 0, 4);
                                     },
                                     line5("line FIVE")}},
        {"Ctrl+Q, P: GoToPrevBlock", {[this](E& e) {
                                          ShowText(&e, {"f() {", "  x;", "}"});
                                          e.PlaceCaret(3, 1);
                                      },
                                      [](E& e) {
                                          EXPECT_EQ(e.CurLine, 0);
                                          EXPECT_EQ(e.CurCol, 4);
                                      }}},
        {"Ctrl+L, P: ReverseLinesByParagraph",
         {lines({"a", "b", "", "c", "d"}),
          [](E& e) { EXPECT_EQ(TextOf(e.lines), (std::vector<std::string>{"b", "a", "", "d", "c"})); }}},
        {"Ctrl+P: PrevMarker", {nullptr, calls({"PrevMarker"})}},
        {"Alt+P: PlayParamMacro", {nullptr, calls({"PlayParamMacro"})}},
        {"Ctrl+K, P: SelectParagraph", {lines({"a", "", "b", "c", "", "d"}, 2),
                                        [](E& e) {
                                            EXPECT_EQ(e.selection.selStartLine, 2);
                                            EXPECT_EQ(e.selection.selEndLine, 4);
                                        }}},
        // (A key count left over would repeat the key-down itself.)
        {"Ctrl+Q: chord and repeat count", {[](E& e) {
                                                e.charRepeat = 4;
                                                e.keyText = "12";
                                            },
                                            [](E& e) {
                                                EXPECT_TRUE(e.chordQ);
                                                EXPECT_EQ(e.charRepeat, 0);
                                                EXPECT_TRUE(e.keyText.IsEmpty());
                                            }}},
        {"Ctrl+K, R: ReadBlock", {nullptr, [this](E&) { EXPECT_EQ(dialogs.size(), 1u); }}},
        {"Ctrl+Q, R: RepSeqStart", {nullptr, [](E& e) { EXPECT_EQ(e.repSeqState, 1); }}},
        {"Ctrl+L, R: ReverseLines", {lines({"a", "b", "c"}),
                                     [](E& e) { EXPECT_EQ(TextOf(e.lines), (std::vector<std::string>{"c", "b", "a"})); }}},
        {"Ctrl+R: Replace", {nullptr, calls({"Replace"})}},
        {"Ctrl+K, S: SortLines", {lines({"b", "c", "a"}),
                                  [](E& e) { EXPECT_EQ(TextOf(e.lines), (std::vector<std::string>{"a", "b", "c"})); }}},
        {"Ctrl+Q, S: Setup", {nullptr, nullptr}},
        {"Ctrl+S: Save", {[this](E& e) {
                              e.fileName = temp.Path("saved.txt").c_str();
                              e.SetModified(true);
                          },
                          [](E& e) {
                              EXPECT_TRUE(std::filesystem::exists(e.fileName.str()));
                              EXPECT_FALSE(e.GetModified());
                          }}},
        {"Ctrl+Q, T: ShowTabs", {[this](E& e) {
                                     e.SetShowTabs(false);
                                     e.OnTabsChange = [this](TTextEditor*, bool on) { typed += on ? "T" : "t"; };
                                 },
                                 [this](E& e) {
                                     EXPECT_TRUE(e.GetShowTabs());
                                     EXPECT_EQ(typed, "T");
                                 }}},
        {"Ctrl+L, T: TruncateLinesAtMargin", {nullptr, nullptr}},
        {"Ctrl+T: ChangeTab", {nullptr, [](E& e) { EXPECT_EQ(e.tabStops.GetCount() == 1 ? e.tabStops[0] : -1, 5); }}},
        {"Ctrl+K, U: DoUnindent", {indentedBlock, [](E& e) { EXPECT_EQ(TextOf(e.lines), (std::vector<std::string>{"a", " b", " c", "d"})); }}},
        {"Ctrl+Shift+U: DoUnindent", {indentedBlock, [](E& e) { EXPECT_EQ(e.lines[1].str(), " b"); }}},
        {"Ctrl+V: Paste", {nullptr, calls({"Paste"})}},
        {"Ctrl+K, W: WriteBlock", {blockOf3to6, [this](E&) { EXPECT_EQ(dialogs.size(), 1u); }}},
        {"Ctrl+Q, W: RepeatLastWord", {nullptr, line5("line word5 of the text")}},
        {"Ctrl+W: SelectWord", {nullptr,
                                [](E& e) {
                                    EXPECT_EQ(e.selection.selStartCol, 5);
                                    EXPECT_EQ(e.selection.selEndCol, 6);
                                }}},
        {"Ctrl+X: Cut", {nullptr, calls({"Cut"})}},
        {"Ctrl+Q, X: DeleteLineHead", {nullptr, line5("     5 of the text")}},
        {"Ctrl+Y: DeleteLine", {nullptr, line5("line 6 of the text")}},
        {"Ctrl+Q, Y: DeleteLineTail", {nullptr, line5("line ")}},
        {"Ctrl+Z: Undo", {[](E& e) {
                              e.AddUndoItem(utTyping);
                              e.lines[5] = "changed";
                          },
                          line5("line 5 of the text")}},
    };
}

}  // namespace

TEST_F(KeyTableTest, EveryRowIsReachedByItsKeysAndDoesItsWork) {
    const std::map<std::string, TRowCase> cases = Cases();
    int count = 0;
    const TTextEditorKeyRow* rows = TTextEditor::KeyTable(count);
    ASSERT_EQ(static_cast<size_t>(count), cases.size()) << "a row without a case, or a case without a row";
    for (int i = 0; i < count; ++i) {
        const TTextEditorKeyRow& row = rows[i];
        SCOPED_TRACE(row.name);
        ASSERT_EQ(cases.count(row.name), 1u);
        const TRowCase& rowCase = cases.at(row.name);
        lockEvents.clear();
        TRecordingKeyEditor* editor = Fresh(rowCase);
        PressRow(row);
        EXPECT_EQ(editor->lastKeyRow, &row);
        if (rowCase.check) rowCase.check(*editor);
        delete editor;
    }
}

// The key-down brings an 'x' as its character: an (s) row drops it, any
// other row lets it be typed (an Alt key's character is a system character,
// which is never typed).
TEST_F(KeyTableTest, SuppressingRowsDropTheCharacterThatFollows) {
    const std::map<std::string, TRowCase> cases = Cases();
    int count = 0;
    const TTextEditorKeyRow* rows = TTextEditor::KeyTable(count);
    for (int i = 0; i < count; ++i) {
        const TTextEditorKeyRow& row = rows[i];
        SCOPED_TRACE(row.name);
        TRecordingKeyEditor* editor = Fresh(cases.at(row.name));
        PressRow(row, "x");
        const bool typedX = typed.find('x') != std::string::npos;
        EXPECT_EQ(typedX, !(row.flags & kfSuppress) && !IsAltCondition(row.condition));
        EXPECT_FALSE(editor->suppressKeyPress);
        if (row.key == VK_CAPITAL || row.key == VK_NUMLOCK || row.key == VK_SCROLL) Press({}, row.key);
        delete editor;
    }
}

TEST_F(KeyTableTest, ReadOnlyRowsDoNothingUnderReadOnly) {
    const std::map<std::string, TRowCase> cases = Cases();
    int count = 0, readOnlyRows = 0;
    const TTextEditorKeyRow* rows = TTextEditor::KeyTable(count);
    for (int i = 0; i < count; ++i) {
        const TTextEditorKeyRow& row = rows[i];
        if (!(row.flags & kfReadOnly)) continue;
        ++readOnlyRows;
        SCOPED_TRACE(row.name);
        TRecordingKeyEditor* editor = Fresh(cases.at(row.name));
        editor->SetReadOnly(true);
        const std::string before = StateOf(*editor, dialogs.size());
        PressRow(row);
        EXPECT_EQ(editor->lastKeyRow, &row);
        EXPECT_EQ(StateOf(*editor, dialogs.size()), before);
        delete editor;
    }
    EXPECT_GT(readOnlyRows, 30);
}

// AltGr: Ctrl, then Alt, then the key, which brings the layout's character.
TEST_F(KeyTableTest, CtrlStarRowsDoNothingRightAfterAnAltKeyDown) {
    const std::map<std::string, TRowCase> cases = Cases();
    int count = 0;
    const TTextEditorKeyRow* rows = TTextEditor::KeyTable(count);
    for (int i = 0; i < count; ++i) {
        const TTextEditorKeyRow& row = rows[i];
        if (!IsCtrlStar(row.condition)) continue;
        SCOPED_TRACE(row.name);
        TRecordingKeyEditor* editor = Fresh(cases.at(row.name));
        if (row.condition == kcCtrlStarShift)
            Press({VK_LSHIFT, VK_LCONTROL, VK_RMENU}, row.key, "x");
        else
            driver.PressAltGr(row.key, "x");
        EXPECT_NE(editor->lastKeyRow, &row);
        EXPECT_NE(typed.find('x'), std::string::npos) << "the AltGr character was not typed";
        EXPECT_TRUE(editor->calls.empty());
        delete editor;
    }
}
