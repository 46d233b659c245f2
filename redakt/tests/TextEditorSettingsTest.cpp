// The colour array, the settings record (round trip, byte layout, field
// order, refusal of damaged records), the combo reader, the macro file with
// its dialogs and message, the macro list and the word-length tables.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Buttons.h"
#include "ComboBox.h"
#include "Edit.h"
#include "FileDialogs.h"
#include "ListBox.h"
#include "RecordingEditor.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorConvertLinesDlg.h"
#include "TextEditorGoToLineDlg.h"
#include "TextEditorMacroDlgs.h"
#include "TextEditorSearchDlg.h"
#include "TextEditorTexts.h"

namespace {

typedef std::vector<uint8_t> TBytes;

TBytes SettingsBytes(TTextEditor& editor) {
    return StreamBytes([&](FILE* file) { EXPECT_TRUE(editor.SaveSettings(file)); });
}

// Reads bytes through a FILE stream; position gets the stream's position afterwards.
bool LoadSettingsBytes(TTextEditor& editor, const TBytes& bytes, long* position = nullptr) {
    FILE* file = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    const bool loaded = editor.LoadSettings(file);
    if (position != nullptr) *position = std::ftell(file);
    std::fclose(file);
    return loaded;
}

// Little-endian pieces of a hand-built record.
void PutInt(TBytes& bytes, int value) {
    const auto bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(bits >> shift));
}
int IntAt(const TBytes& bytes, size_t offset) {
    uint32_t bits = 0;
    for (int i = 3; i >= 0; --i) bits = bits << 8 | bytes[offset + static_cast<size_t>(i)];
    return static_cast<int>(bits);
}
template <class Item>
TBytes StreamFormOf(const Item& item) {
    return StreamBytes([&](FILE* file) { item.SaveToStream(file); });
}
void Append(TBytes& bytes, const TBytes& more) { bytes.insert(bytes.end(), more.begin(), more.end()); }

TTextEditorMacroItem KeyItem(WORD key, std::initializer_list<TShiftStateFlag> held) {
    TTextEditorMacroItem item;
    item.key = key;
    for (TShiftStateFlag flag : held) item.shift << flag;
    return item;
}
TTextEditorMacroItem CharItem(char ch) {
    TTextEditorMacroItem item;
    item.kind = mkCharacter;
    item.ch = ch;
    return item;
}
TTextEditorMacroItem PlaceItem(int place) {
    TTextEditorMacroItem item;
    item.kind = mkParameter;
    item.param = place;
    return item;
}

std::vector<std::string> Items(TComboBox* box) {
    std::vector<std::string> texts;
    for (int i = 0; i < box->GetItems()->GetCount(); ++i) texts.push_back(box->GetItems()->GetStrings(i));
    return texts;
}
void SetItems(TComboBox* box, const std::vector<std::string>& texts) {
    box->GetItems()->Clear();
    for (const std::string& text : texts) box->GetItems()->Add(text);
}

// The seven boxes whose histories the record keeps, in its order.
std::vector<TComboBox*> HistoryBoxes(TTextEditor& editor) {
    return {SharedSearchDlg()->cmbText,     SharedSearchAllDlg()->cmbText,  SharedReplaceDlg()->cmbText,
            SharedReplaceDlg()->cmbReplaceText, SharedGoToLineDlg()->cmbSorszam, SharedConvertLinesDlg()->cmbExpr,
            editor.commandCombo};
}

class SettingsTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        source = Place(10, 10, 300, 200);
    }
    void TearDown() override {
        for (TComboBox* box : HistoryBoxes(*source)) box->GetItems()->Clear();
        EditorTest::TearDown();
    }

    // A value other than the construction value for every stored setting.
    void FillEveryStoredSetting(TTextEditor& e) {
        TColor colors[14];
        for (int i = 0; i < 14; ++i) colors[i] = 0x010203 * (i + 1);
        e.SetColors(colors, false);
        e.boldWords.Clear();
        for (const char* word : {"begin", "end", "\xE1rv\xEDz"}) e.boldWords.Add(word);
        e.SetFontName("Liberation Mono");
        e.SetFontSize(11);
        e.SetLineSpace(3);
        e.SetColGap(20);
        e.SetTabSize(4);
        e.SetShowTabs(false);
        e.SetAutoSave(true);
        e.SetShowRemarks(true);
        e.SetShowBoldWords(true);
        e.SetAutoIndent(true);
        e.SetBackspaceUnindent(true);
        e.SetEmptyUnindent(false);
        e.SetIndentSize(4);
        e.SetDoubleClickLine(true);
        e.SetTextAtCursor(true);
        e.SetMarginPos(72);
        e.SetShowMargin(false);
        e.SetPersistentBlocks(true);
        e.SetAutoLineBreak(true);
        e.SetShowStrings(true);
        e.SetShowNumbers(true);
        e.SetShowChars(true);
        e.SetShowSymbols(true);
        e.SetShowDirectives(true);
        e.SetAllBlocks(false);
        for (int slot = 0; slot < 10; ++slot) {
            e.macros[slot].Clear();
            e.macros[slot] += KeyItem(static_cast<WORD>(VK_LEFT + slot % 4), {ssShift, ssCtrl, ssAlt});
            e.macros[slot] += CharItem(static_cast<char>(0xE1 + slot));
            e.macros[slot] += CharItem(static_cast<char>('a' + slot));
            e.buffers[slot].Clear();
            e.buffers[slot].Add(TString("buffer " + std::to_string(slot)));
        }
        e.macros[4] += KeyItem('C', {ssCtrl});
        e.paramMacros.Clear();
        TTextEditorMacro* first = e.paramMacros.NewItem();
        first->name = "greeting";
        *first += CharItem('H');
        *first += PlaceItem(9);
        TTextEditorMacro* second = e.paramMacros.NewItem();
        second->name = "\xE9k\xE9s";
        *second += KeyItem(VK_HOME, {ssAlt});
        e.markers.Clear();
        e.markers += TEXT_EDITOR_MARKER{3, 1};
        e.markers += TEXT_EDITOR_MARKER{-1, 9};
        e.SetPresrveMarkers(true);
        TTextEditorScheme* cpp = e.schemes.NewItem();
        cpp->extensions = "CPP;H";
        cpp->boldWords.Add("int");
        e.InitProgLangScheme(cpp);
        TTextEditorScheme* pascal = e.schemes.NewItem();
        pascal->extensions = "PAS";
        pascal->indentSize = 2;
        pascal->marginPos = 60;
        e.schemeIndex = 2;
        const std::vector<std::vector<std::string>> histories = {
            {"s1", "s2"}, {"a1"}, {"r1", "r2", "r3"}, {"w1"}, {"10", "20%"}, {"line + 1", "line"}, {"sort 3"}};
        const std::vector<TComboBox*> boxes = HistoryBoxes(e);
        for (size_t i = 0; i < boxes.size(); ++i) SetItems(boxes[i], histories[i]);
    }

    TTextEditor* source = nullptr;
};

}  // namespace

// ---- The colour array ----

TEST_F(SettingsTest, GetColorsAndSetColorsUseTheTablesOrderAndRepaintDecidesTheInvalidation) {
    TTextEditor* editor = source;
    TColor colors[14];
    editor->GetColors(colors);
    EXPECT_EQ(std::vector<TColor>(colors, colors + 14),
              (std::vector<TColor>{0xFFFFFF, 0x000000, 0x800000, 0xFFFFFF, 0x808080, 0x008000, 0xFFFFFF, 0x800000,
                                   0x0000FF, 0x0000FF, 0x008000, 0x0000FF, 0xFF0000, 0x008000}));
    for (int i = 0; i < 14; ++i) colors[i] = 0x100 * i + 7;
    driver.PumpUntilIdle();
    editor->SetColors(colors, false);
    EXPECT_FALSE(HasUpdateRegion(editor)) << "no repaint asked";
    const std::vector<TColor> got = {editor->GetBkColor(),         editor->GetTextColor(),
                                     editor->GetSelBkColor(),      editor->GetSelTextColor(),
                                     editor->GetTabColor(),        editor->GetMarkerBkColor(),
                                     editor->GetMarkerTextColor(), editor->GetRemarkColor(),
                                     editor->GetMarginColor(),     editor->GetStringColor(),
                                     editor->GetNumberColor(),     editor->GetCharColor(),
                                     editor->GetSymbolColor(),     editor->GetDirectiveColor()};
    EXPECT_EQ(got, std::vector<TColor>(colors, colors + 14));
    EXPECT_EQ(editor->GetBkBrush()->GetColor(), colors[0]) << "entry 0 also sets the background brush";
    TColor back[14];
    editor->GetColors(back);
    EXPECT_EQ(std::vector<TColor>(back, back + 14), got);
    colors[0] = 0x0000C0;
    editor->SetColors(colors, true);
    EXPECT_TRUE(HasUpdateRegion(editor));
    driver.PumpUntilIdle();
    EXPECT_EQ(driver.Pixel(editor->GetHandle(), editor->GetClientRect().right - 2, editor->GetClientRect().bottom - 2),
              ColorToRGB(0x0000C0));
}

// ---- The settings record ----

TEST_F(SettingsTest, ARecordRestoresEveryStoredSettingInAFreshEditorAndLeavesTheOthers) {
    FillEveryStoredSetting(*source);
    const TBytes record = SettingsBytes(*source);
    const std::vector<TComboBox*> boxes = HistoryBoxes(*source);
    std::vector<std::vector<std::string>> histories;
    for (TComboBox* box : boxes) histories.push_back(Items(box));
    for (TComboBox* box : boxes) SetItems(box, {"stale"});

    auto* fresh = Place(20, 20, 300, 200);
    ShowText(fresh, {"the text stays", "as it was"});
    fresh->SetSmartTab(true);
    fresh->SetDosFormat(false);
    fresh->SetShowLineNumbers(true);
    fresh->SetColSeparator(';');
    fresh->schemes.NewItem()->extensions = "TXT";
    fresh->schemeIndex = 1;
    driver.PumpUntilIdle();
    long position = -1;
    ASSERT_TRUE(LoadSettingsBytes(*fresh, record, &position));
    EXPECT_EQ(position, static_cast<long>(record.size()));
    EXPECT_TRUE(HasUpdateRegion(fresh)) << "the control is repainted";

    // Everything the record holds, read back, writes the same record.
    EXPECT_EQ(SettingsBytes(*fresh), record);
    for (size_t i = 0; i + 1 < boxes.size(); ++i) EXPECT_EQ(Items(boxes[i]), histories[i]) << "history " << i;
    EXPECT_EQ(Items(fresh->commandCombo), histories.back());
    EXPECT_EQ(fresh->GetFontName(), "Liberation Mono");
    EXPECT_EQ(fresh->GetFontSize(), 11);
    EXPECT_EQ(fresh->GetFont()->GetName(), "Liberation Mono") << "the font is applied";
    EXPECT_EQ(fresh->GetLineHeight(), source->GetLineHeight());
    EXPECT_EQ(fresh->GetTabSize(), 4);
    EXPECT_EQ(fresh->GetIndentSize(), 4);
    EXPECT_EQ(fresh->GetMarginPos(), 72);
    EXPECT_FALSE(fresh->GetAllBlocks());
    EXPECT_EQ(fresh->GetBkBrush()->GetColor(), 0x010203);
    EXPECT_EQ(TextOf(fresh->boldWords), TextOf(source->boldWords));
    EXPECT_EQ(fresh->boldWordLengths.GetCount(), 3);
    EXPECT_EQ(fresh->boldWordLengths[2], 5);
    EXPECT_EQ(fresh->macros[4].GetCount(), 4);
    EXPECT_EQ(fresh->macros[4][0].shift, (TShiftState() << ssShift << ssCtrl << ssAlt));
    EXPECT_EQ(fresh->macros[4][1].ch, static_cast<char>(0xE5));
    ASSERT_EQ(fresh->paramMacros.GetCount(), 2);
    EXPECT_EQ(fresh->paramMacros[0].name.str(), "greeting");
    EXPECT_EQ(fresh->paramMacros[0][1].param, 9);
    EXPECT_EQ(fresh->paramMacros[1].name.str(), "\xE9k\xE9s");
    EXPECT_EQ(TextOf(fresh->buffers[9]), std::vector<std::string>{"buffer 9"});
    EXPECT_TRUE(fresh->GetPresrveMarkers());
    ASSERT_EQ(fresh->markers.GetCount(), 2);
    EXPECT_EQ(fresh->markers[0].line, 3);
    EXPECT_EQ(fresh->markers[1].number, 9);
    ASSERT_EQ(fresh->schemes.GetCount(), 3);
    EXPECT_EQ(fresh->schemes[1].extensions.str(), "CPP;H");
    EXPECT_TRUE(fresh->schemes[1].AutoIndent);
    EXPECT_EQ(fresh->schemes[2].marginPos, 60);
    EXPECT_EQ(fresh->schemeIndex, 0);
    // What the record does not hold keeps its value; scheme 0's switches are not applied.
    EXPECT_TRUE(fresh->GetSmartTab());
    EXPECT_FALSE(fresh->GetDosFormat());
    EXPECT_TRUE(fresh->GetShowLineNumbers());
    EXPECT_EQ(fresh->GetColSeparator(), ';');
    EXPECT_EQ(TextOf(fresh->lines), (std::vector<std::string>{"the text stays", "as it was"}));
    EXPECT_TRUE(fresh->GetAutoIndent()) << "the record's value, not scheme 0's";
}

TEST_F(SettingsTest, TheFirstSixtyBytesAreTheVersionAndTheFourteenColours) {
    TColor colors[14];
    for (int i = 0; i < 14; ++i) colors[i] = static_cast<TColor>(0x11223344u + 0x01010101u * static_cast<unsigned>(i));
    source->SetColors(colors, false);
    const TBytes record = SettingsBytes(*source);
    ASSERT_GE(record.size(), 60u);
    TBytes expected;
    PutInt(expected, 1);
    for (TColor color : colors) PutInt(expected, color);
    EXPECT_EQ(TBytes(record.begin(), record.begin() + 60), expected);
    // The bold words follow at once, in their stream form.
    const TBytes words = StreamFormOf(source->boldWords);
    EXPECT_EQ(TBytes(record.begin() + 60, record.begin() + 60 + static_cast<long>(words.size())), words);
}

// Fields 4 to 39 written by hand in the Part's order, each with a value of
// its own: field 9's text colour differs from colour entry 1 and wins.
TEST_F(SettingsTest, AHandBuiltRecordGivesEachOfFields4To39ToItsProperty) {
    const TBytes valid = SettingsBytes(*source);
    const size_t fontAt = 60 + StreamFormOf(source->boldWords).size();
    const size_t fieldsEnd = fontAt + StreamFormOf(TString(source->GetFontName())).size() + 4 + 16 * 4 + 18;
    TBytes record(valid.begin(), valid.begin() + static_cast<long>(fontAt));
    ASSERT_EQ(IntAt(record, 8), 0x000000) << "colour entry 1, the text colour";
    Append(record, StreamFormOf(TString("Liberation Serif")));
    PutInt(record, 9);                                          // 5 font size
    PutInt(record, 2);                                          // 6 line space
    PutInt(record, 12);                                         // 7 column gap
    PutInt(record, 6);                                          // 8 tab size
    PutInt(record, 0x090909);                                   // 9 text colour
    PutInt(record, 0x101010);                                   // 10 tab colour
    record.push_back(0);                                        // 11 show tabs
    record.push_back(1);                                        // 12 auto save
    PutInt(record, 0x131313);                                   // 13 bookmark background
    PutInt(record, 0x141414);                                   // 14 bookmark text
    record.push_back(1);                                        // 15 highlight comments
    PutInt(record, 0x161616);                                   // 16 comment colour
    record.push_back(1);                                        // 17 bold keywords
    record.push_back(1);                                        // 18 auto indentation
    record.push_back(1);                                        // 19 backspace unindents
    record.push_back(0);                                        // 20 empty-line unindent
    PutInt(record, 3);                                          // 21 indentation size
    record.push_back(1);                                        // 22 double click line
    record.push_back(1);                                        // 23 text at cursor
    PutInt(record, 66);                                         // 24 margin column
    record.push_back(0);                                        // 25 show margin
    PutInt(record, 0x262626);                                   // 26 margin colour
    record.push_back(1);                                        // 27 persistent blocks
    record.push_back(1);                                        // 28 auto line break
    record.push_back(1);                                        // 29 highlight strings
    PutInt(record, 0x303030);                                   // 30 string colour
    record.push_back(1);                                        // 31 highlight numbers
    PutInt(record, 0x323232);                                   // 32 number colour
    record.push_back(1);                                        // 33 highlight characters
    PutInt(record, 0x343434);                                   // 34 character colour
    record.push_back(1);                                        // 35 highlight symbols
    PutInt(record, 0x363636);                                   // 36 symbol colour
    record.push_back(1);                                        // 37 highlight directives
    PutInt(record, 0x383838);                                   // 38 directive colour
    record.push_back(0);                                        // 39 each block type
    record.insert(record.end(), valid.begin() + static_cast<long>(fieldsEnd), valid.end());

    auto* fresh = Place(20, 20, 300, 200);
    ASSERT_TRUE(LoadSettingsBytes(*fresh, record));
    EXPECT_EQ(fresh->GetFontName(), "Liberation Serif");
    EXPECT_EQ(fresh->GetFontSize(), 9);
    EXPECT_EQ(fresh->GetLineSpace(), 2);
    EXPECT_EQ(fresh->GetColGapSetting(), 12);
    EXPECT_EQ(fresh->GetTabSize(), 6);
    EXPECT_EQ(fresh->GetTextColor(), 0x090909);
    EXPECT_EQ(fresh->GetTabColor(), 0x101010);
    EXPECT_FALSE(fresh->GetShowTabs());
    EXPECT_TRUE(fresh->GetAutoSave());
    EXPECT_EQ(fresh->GetMarkerBkColor(), 0x131313);
    EXPECT_EQ(fresh->GetMarkerTextColor(), 0x141414);
    EXPECT_TRUE(fresh->GetShowRemarks());
    EXPECT_EQ(fresh->GetRemarkColor(), 0x161616);
    EXPECT_TRUE(fresh->GetShowBoldWords());
    EXPECT_TRUE(fresh->GetAutoIndent());
    EXPECT_TRUE(fresh->GetBackspaceUnindent());
    EXPECT_FALSE(fresh->GetEmptyUnindent());
    EXPECT_EQ(fresh->GetIndentSize(), 3);
    EXPECT_TRUE(fresh->GetDoubleClickLine());
    EXPECT_TRUE(fresh->GetTextAtCursor());
    EXPECT_EQ(fresh->GetMarginPos(), 66);
    EXPECT_FALSE(fresh->GetShowMargin());
    EXPECT_EQ(fresh->GetMarginColor(), 0x262626);
    EXPECT_TRUE(fresh->GetPersistentBlocks());
    EXPECT_TRUE(fresh->GetAutoLineBreak());
    EXPECT_TRUE(fresh->GetShowStrings());
    EXPECT_EQ(fresh->GetStringColor(), 0x303030);
    EXPECT_TRUE(fresh->GetShowNumbers());
    EXPECT_EQ(fresh->GetNumberColor(), 0x323232);
    EXPECT_TRUE(fresh->GetShowChars());
    EXPECT_EQ(fresh->GetCharColor(), 0x343434);
    EXPECT_TRUE(fresh->GetShowSymbols());
    EXPECT_EQ(fresh->GetSymbolColor(), 0x363636);
    EXPECT_TRUE(fresh->GetShowDirectives());
    EXPECT_EQ(fresh->GetDirectiveColor(), 0x383838);
    EXPECT_FALSE(fresh->GetAllBlocks());
}

// The flag byte of field 43 is followed by the bookmarks only when it is 1;
// with 0 the editor's bookmarks stay as they are.
TEST_F(SettingsTest, TheBookmarkListFollowsTheFlagByteOnlyWhenItIsSet) {
    source->markers += TEXT_EDITOR_MARKER{5, 2};
    TMemBuffer schemes;
    source->schemes.WriteToMemBuffer(schemes);
    TBytes tail = StreamFormOf(schemes);
    for (TComboBox* box : HistoryBoxes(*source)) {
        TStringContainer history;
        history = box->GetItems();
        Append(tail, StreamFormOf(history));
    }
    for (const bool keep : {false, true}) {
        source->SetPresrveMarkers(keep);
        const TBytes record = SettingsBytes(*source);
        const TBytes markers = keep ? StreamFormOf(source->markers) : TBytes();
        const size_t flagAt = record.size() - tail.size() - markers.size() - 1;
        EXPECT_EQ(record[flagAt], keep ? 1 : 0);
        EXPECT_EQ(TBytes(record.begin() + static_cast<long>(flagAt) + 1, record.end() - static_cast<long>(tail.size())),
                  markers);
        EXPECT_EQ(TBytes(record.end() - static_cast<long>(tail.size()), record.end()), tail);

        auto* fresh = Place(20, 20, 300, 200);
        fresh->markers += TEXT_EDITOR_MARKER{7, 4};
        ASSERT_TRUE(LoadSettingsBytes(*fresh, record));
        ASSERT_EQ(fresh->markers.GetCount(), 1);
        EXPECT_EQ(fresh->markers[0].line, keep ? 5 : 7);
        EXPECT_EQ(fresh->GetPresrveMarkers(), keep);
        delete fresh;
    }
}

// Every truncation, mutated counts and lengths, values the editor cannot
// use and a bounded run of random mutations: each is refused with the editor
// and the stream as they were, or read whole.
TEST_F(SettingsTest, DamagedRecordsAreRefusedAndLeaveTheEditorUnchanged) {
    FillEveryStoredSetting(*source);
    const TBytes valid = SettingsBytes(*source);
    std::vector<TBytes> damaged;
    const auto patched = [&](size_t offset, int value) {
        TBytes bytes = valid;
        for (int i = 0; i < 4; ++i) bytes[offset + static_cast<size_t>(i)] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
        return bytes;
    };
    const size_t wordsAt = 60;
    const size_t fontAt = wordsAt + StreamFormOf(source->boldWords).size();
    const size_t fieldsAt = fontAt + StreamFormOf(TString(source->GetFontName())).size() + 4;
    damaged.push_back(patched(wordsAt, 0x7FFFFFF0));  // the word list's end offset
    damaged.push_back(patched(wordsAt + 4, 1000000));  // its count
    damaged.push_back(patched(fontAt, 0x7FFFFFF0));  // the font name's length
    damaged.push_back(patched(fieldsAt - 4, -1));  // the font size
    damaged.push_back(patched(fieldsAt + 8, 0));  // the tab size
    damaged.push_back(patched(fieldsAt + 8, 33));
    {
        TBytes bytes = valid;
        bytes[fieldsAt + 20] = 2;  // the show-tabs flag
        damaged.push_back(bytes);
    }
    // Values that only the editor's own state can produce.
    const std::vector<std::pair<std::string, std::function<void(TTextEditor&)>>> unusable = {
        {"tab size 0", [](TTextEditor& e) { e.SetTabSize(0); }},
        {"indentation 17", [](TTextEditor& e) { e.SetIndentSize(17); }},
        {"font size -1", [](TTextEditor& e) { e.SetFontSize(-1); }},
        {"margin -1", [](TTextEditor& e) { e.SetMarginPos(-1); }},
        {"place 10 in slot 2", [](TTextEditor& e) { e.macros[2] += PlaceItem(10); }},
        {"place 10 in a named macro", [](TTextEditor& e) { e.paramMacros[1] += PlaceItem(10); }},
        {"no scheme", [](TTextEditor& e) { e.schemes.Clear(); }},
    };
    for (const auto& [name, spoil] : unusable) {
        TTextEditor spoilt(nullptr);
        FillEveryStoredSetting(spoilt);
        spoil(spoilt);
        damaged.push_back(SettingsBytes(spoilt));
    }

    auto* target = Place(20, 20, 300, 200);
    ShowText(target, {"kept"});
    const TBytes before = SettingsBytes(*target);
    const std::vector<std::string> history = Items(SharedSearchDlg()->cmbText);
    int read = 0;
    const auto attempt = [&](const TBytes& bytes, bool mustFail) {
        long position = -1;
        const bool loaded = LoadSettingsBytes(*target, bytes, &position);
        if (mustFail) {
            EXPECT_FALSE(loaded) << "a damaged record of " << bytes.size() << " bytes was read";
        }
        if (loaded) {
            ++read;
            ASSERT_TRUE(LoadSettingsBytes(*target, before)) << "the editor's own record reads back";
            return;
        }
        EXPECT_EQ(position, 0L) << "a refused record moved the stream";
        EXPECT_EQ(SettingsBytes(*target), before) << "a refused record changed the editor";
        EXPECT_EQ(Items(SharedSearchDlg()->cmbText), history);
    };
    TryDamagedForms(valid, damaged, attempt, 300, 65);
    EXPECT_EQ(TextOf(target->lines), std::vector<std::string>{"kept"});
    EXPECT_TRUE(LoadSettingsBytes(*target, valid)) << "the valid record still reads";
}

TEST_F(SettingsTest, ByNameARecordIsWrittenAndReadAndAFileThatCannotBeOpenedIsIgnored) {
    TTempFolder folder("redakt-settings");
    FillEveryStoredSetting(*source);
    TMessageBoxRecorder boxes;
    const std::string path = folder.Path("editor.cfg");
    ASSERT_TRUE(source->SaveSettings(TString(path)));
    EXPECT_EQ(std::filesystem::file_size(path), SettingsBytes(*source).size());
    auto* fresh = Place(20, 20, 300, 200);
    driver.PumpUntilIdle();
    EXPECT_TRUE(fresh->LoadSettings(TString(path)));
    EXPECT_TRUE(HasUpdateRegion(fresh));
    EXPECT_EQ(SettingsBytes(*fresh), SettingsBytes(*source));

    EXPECT_FALSE(fresh->LoadSettings(TString(folder.Path("missing.cfg"))));
    EXPECT_FALSE(fresh->SaveSettings(TString(folder.Path("no/such/folder.cfg"))));
    EXPECT_TRUE(boxes.boxes.empty());
}

TEST_F(SettingsTest, LoadComboReplacesTheItemsWithoutALimitAndRefusesADamagedList) {
    TComboBox* box = SharedGoToLineDlg()->cmbSorszam;
    SetItems(box, {"old"});
    TStringContainer lines;
    for (int i = 0; i < 40; ++i) lines.Add(TString(std::to_string(i)));
    TBytes bytes = StreamFormOf(lines);
    FILE* file = std::tmpfile();
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fwrite(bytes.data(), 1, bytes.size() - 1, file);
    std::rewind(file);
    EXPECT_TRUE(source->LoadCombo(file, box));
    EXPECT_EQ(Items(box).size(), 40u);
    EXPECT_EQ(Items(box).back(), "39");
    SetItems(box, {"old"});
    EXPECT_FALSE(source->LoadCombo(file, box)) << "the second copy is cut short";
    EXPECT_EQ(Items(box), std::vector<std::string>{"old"});
    std::fclose(file);
    box->GetItems()->Clear();
}

// ---- The macro file ----

namespace {

class MacroFileTest : public SettingsTest {
protected:
    // Answers each file dialog with name (empty: cancel) and keeps what it showed.
    win32::ScopedResponder Answer(const std::string& name) {
        return win32::ScopedResponder([this, name](const win32::ModalInteraction& interaction) {
            if (interaction.kind == win32::ModalKind::MessageBox) {
                boxes.push_back(interaction);
                return win32::ModalReply::Answer(IDOK);
            }
            dialogs.push_back(interaction.caption);
            TFileDialogForm* form = TFileDialogForm::FromWindow(interaction.window);
            if (form == nullptr || name.empty()) return win32::ModalReply::Answer(IDCANCEL);
            for (int i = 0; i < form->GetFilterCombo()->GetItems()->GetCount(); ++i)
                filters.push_back(form->GetFilterCombo()->GetItems()->GetStrings(i));
            files.clear();
            for (int i = 0; i < form->GetFileList()->GetItems()->GetCount(); ++i)
                files.push_back(form->GetFileList()->GetItems()->GetStrings(i));
            form->ChangeFolder(folder.path.string());
            files.clear();
            for (int i = 0; i < form->GetFileList()->GetItems()->GetCount(); ++i)
                files.push_back(form->GetFileList()->GetItems()->GetStrings(i));
            form->GetFileNameEdit()->SetText(name);
            return win32::ModalReply::Answer(IDOK);
        });
    }
    void WriteFile(const std::string& name, const TBytes& bytes) {
        std::ofstream out(folder.Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    TBytes MacroBytes(TTextEditor& editor) {
        return StreamBytes([&](FILE* file) { EXPECT_TRUE(editor.SaveMacros(file)); });
    }

    TTempFolder folder{"redakt-macros"};
    std::vector<std::string> dialogs, filters, files;
    std::vector<win32::ModalInteraction> boxes;
};

}  // namespace

TEST_F(MacroFileTest, TheFileIsTheHeaderTheTenMacrosAndTheNamedMacrosAndNamesSurvive) {
    FillEveryStoredSetting(*source);
    const TBytes bytes = MacroBytes(*source);
    const char header[] = "TTextEditor macros";
    ASSERT_EQ(sizeof header, 19u);
    ASSERT_GT(bytes.size(), 19u);
    EXPECT_EQ(std::memcmp(bytes.data(), header, 19), 0);
    TBytes expected(header, header + 19);
    for (const TTextEditorMacro& macro : source->macros) Append(expected, StreamFormOf(macro));
    Append(expected, StreamFormOf(source->paramMacros));
    EXPECT_EQ(bytes, expected);

    {
        auto responder = Answer("macros");
        source->SaveMacros();
    }
    ASSERT_EQ(dialogs, std::vector<std::string>{"Save macros"});
    EXPECT_EQ(filters, std::vector<std::string>{"Macro files (*.MAC)"});
    ASSERT_TRUE(std::filesystem::exists(folder.Path("macros.MAC"))) << "the default extension MAC is added";
    // Without a language table the built-in texts give the same dialog.
    TLangTable* table = GetTextEditorLangTable();
    SetTextEditorLangTable(nullptr);
    dialogs.clear();
    filters.clear();
    {
        auto responder = Answer("default");
        source->SaveMacros();
    }
    SetTextEditorLangTable(table);
    EXPECT_EQ(dialogs, std::vector<std::string>{"Save macros"});
    EXPECT_EQ(filters, std::vector<std::string>{"Macro files (*.MAC)"});
    EXPECT_TRUE(std::filesystem::exists(folder.Path("default.MAC")));
    std::filesystem::remove(folder.Path("default.MAC"));
    auto* fresh = Place(20, 20, 300, 200);
    dialogs.clear();
    filters.clear();
    WriteFile("other.mac", bytes);
    WriteFile("notes.txt", {});
    {
        auto responder = Answer("macros.MAC");
        fresh->LoadMacros();
    }
    EXPECT_EQ(dialogs, std::vector<std::string>{"Load macros"});
    EXPECT_EQ(filters, std::vector<std::string>{"Macro files (*.MAC)"});
    EXPECT_EQ(files, (std::vector<std::string>{"macros.MAC", "other.mac"})) << "both cases of the extension are offered";
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(MacroBytes(*fresh), bytes);
    ASSERT_EQ(fresh->paramMacros.GetCount(), 2);
    EXPECT_EQ(fresh->paramMacros[0].name.str(), "greeting");
    EXPECT_EQ(fresh->paramMacros[1].name.str(), "\xE9k\xE9s");
}

TEST_F(MacroFileTest, AnotherHeaderAShortFileAndADamagedBodyShowTheMessageAndLeaveTheMacros) {
    FillEveryStoredSetting(*source);
    const TBytes valid = MacroBytes(*source);
    TBytes otherHeader = valid;
    otherHeader[0] = 't';
    TBytes noZero = valid;
    noZero[18] = ' ';
    TBytes damagedBody = valid;
    damagedBody.resize(valid.size() - 3);
    TBytes badPlace = valid;
    // The first slot's first item (after the container's header and the
    // item's two marks) becomes a parameter place of 10.
    const size_t itemAt = 19 + 24 + 2;
    EXPECT_EQ(badPlace[itemAt], mkKeyDown);
    badPlace[itemAt] = mkParameter;
    badPlace[itemAt + 4] = 10;
    const std::vector<std::pair<std::string, TBytes>> files = {{"other.MAC", otherHeader},
                                                               {"nozero.MAC", noZero},
                                                               {"short.MAC", TBytes(valid.begin(), valid.begin() + 10)},
                                                               {"empty.MAC", {}},
                                                               {"body.MAC", damagedBody},
                                                               {"place.MAC", badPlace}};
    auto* target = Place(20, 20, 300, 200);
    target->macros[1] += CharItem('k');
    target->paramMacros.NewItem()->name = "kept";
    const TBytes before = MacroBytes(*target);
    for (const auto& [name, bytes] : files) {
        WriteFile(name, bytes);
        boxes.clear();
        {
            auto responder = Answer(name);
            target->LoadMacros();
        }
        ASSERT_EQ(boxes.size(), 1u) << name;
        EXPECT_EQ(boxes[0].text, "Invalid macro file !") << name;
        EXPECT_EQ(boxes[0].caption, "Load macros");
        EXPECT_EQ(boxes[0].style & MB_ICONMASK, static_cast<UINT>(MB_ICONERROR));
        EXPECT_EQ(boxes[0].owner, GetAncestor(target->GetHandle(), GA_ROOT));  // the editor's window owns it
        EXPECT_EQ(MacroBytes(*target), before) << name;
    }
    // A missing file and a cancelled dialog pass silently.
    boxes.clear();
    {
        auto responder = Answer("missing.MAC");
        target->LoadMacros();
    }
    {
        auto responder = Answer("");
        target->LoadMacros();
        target->SaveMacros();
    }
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(MacroBytes(*target), before);
}

// ---- The macro list ----

TEST_F(SettingsTest, ListMacrosShowsTenLinesOfTypedCharactersPublishedWhileShown) {
    TRecordingEditor* editor = Place<TRecordingEditor>(20, 20, 300, 200);
    editor->macros[0] += KeyItem('A', {ssShift});
    editor->macros[0] += CharItem('A');
    editor->macros[0] += PlaceItem(3);
    editor->macros[0] += CharItem(static_cast<char>(0xE1));
    editor->macros[0] += CharItem('b');
    editor->macros[4] += KeyItem(VK_LEFT, {});
    editor->macros[4] += KeyItem(VK_DOWN, {ssShift});
    editor->macros[9] += CharItem('9');
    std::vector<TTextEditorDlg> helped;
    editor->OnDlgHelp = [&](TTextEditor*, TTextEditorDlg dialog) { helped.push_back(dialog); };
    std::vector<std::string> lines;
    std::string caption;
    TTextEditorMacroListDlg* shown = nullptr;
    win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
        shown = TextEditorMacroListDlg;
        caption = interaction.caption;
        EXPECT_EQ(TWinControl::FindControl(interaction.window), shown);
        for (int i = 0; i < shown->lbMacros->GetItems()->GetCount(); ++i)
            lines.push_back(shown->lbMacros->GetItems()->GetStrings(i));
        shown->btnHelp->Click();
        return win32::ModalReply::Answer(mrOk);
    });
    editor->ListMacros();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(caption, "List macros");
    EXPECT_EQ(lines, (std::vector<std::string>{"A\xE1" "b", "<empty>", "<empty>", "<empty>", "<empty>", "<empty>",
                                               "<empty>", "<empty>", "<empty>", "9"}));
    EXPECT_EQ(helped, std::vector<TTextEditorDlg>{dlgMacroList});
    EXPECT_EQ(TextEditorMacroListDlg, nullptr) << "published only while shown";
}

// ---- Word lengths ----

TEST_F(SettingsTest, SetBWLengthsRebuildsBothTablesTheSecondEmptyWithoutACommonList) {
    source->boldWords.Clear();
    for (const char* word : {"if", "while", ""}) source->boldWords.Add(word);
    TStringContainer common;
    for (const char* word : {"printf", "x"}) common.Add(word);
    source->commonBoldWordLengths.Add(99);
    source->SetCommonBoldWords(&common);
    source->SetBWLengths();
    EXPECT_EQ((std::vector<int>{source->boldWordLengths[0], source->boldWordLengths[1], source->boldWordLengths[2]}),
              (std::vector<int>{2, 5, 0}));
    ASSERT_EQ(source->commonBoldWordLengths.GetCount(), 2);
    EXPECT_EQ(source->commonBoldWordLengths[0], 6);
    EXPECT_EQ(source->commonBoldWordLengths[1], 1);
    source->SetCommonBoldWords(nullptr);
    source->SetBWLengths();
    EXPECT_EQ(source->commonBoldWordLengths.GetCount(), 0);
    EXPECT_EQ(source->boldWordLengths.GetCount(), 3);
}
