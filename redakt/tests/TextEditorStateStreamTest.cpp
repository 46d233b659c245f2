// The editor's state stream (its fields, a round trip, damaged streams), the
// box histories inside it, and the block files.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "Edit.h"
#include "FileDialogs.h"
#include "RedaktFixture.h"
#include "Responder.h"
#include "TextEditorComboHistory.h"
#include "TextEditorConvertLinesDlg.h"

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> StateBytes(TTextEditor& editor, bool withText) {
    return StreamBytes([&](FILE* file) { EXPECT_TRUE(editor.SaveToStream(file, withText)); });
}

// Loads bytes through a FILE stream; the stream's position afterwards.
bool LoadState(TTextEditor& editor, const std::vector<uint8_t>& bytes, long* position = nullptr) {
    FILE* file = std::tmpfile();
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::rewind(file);
    const bool loaded = editor.LoadFromStream(file);
    if (position != nullptr) *position = std::ftell(file);
    std::fclose(file);
    return loaded;
}

int IntAt(const std::vector<uint8_t>& bytes, size_t at) {
    return static_cast<int>(bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<uint32_t>(bytes[at + 3]) << 24);
}

void PutIntAt(std::vector<uint8_t>& bytes, size_t at, int value) {
    for (int k = 0; k < 4; ++k) bytes[at + k] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * k));
}

class StateStreamTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        source = Place<TTestEditor>(10, 10, 180, 120);
        target = Place<TTestEditor>(200, 10, 180, 120);
        ShowText(source, {"first line", "second", "third line here", "4", "five"});
        ShowText(target, {"target text", "stays"});
        Fill(*source);
    }

    // A state unlike the construction values in every field the stream holds.
    static void Fill(TTestEditor& e) {
        e.SetFontSize(11);
        e.SetColGap(20);
        e.SetLineSpace(2);
        e.SetTabSize(4);
        e.SetShowTabs(false);
        e.SetCursorPosX(3);
        e.SetCursorPosY(2);
        e.EditMode = emOverwrite;
        e.SetBkColor(0x102030);
        e.SetTabColor(0x405060);
        e.SetMarkerBkColor(0x708090);
        e.SetMarkerTextColor(0xA0B0C0);
        e.SetAutoSave(true);
        e.selection = TTextEditorSelection{1, 4, 2, 1, 3};
        e.tabStops.Add(4, 12);
        e.markers += TEXT_EDITOR_MARKER{2, 7};
        TTextEditorMacroItem key;
        key.key = 'K';
        key.shift << ssCtrl;
        e.macros[3] += key;
        TTextEditorMacro* named = e.paramMacros.NewItem();
        named->name = "named";
        *named += key;
        e.buffers[9].Add("buffer nine");
        e.fileName = "some/file.txt";
        e.extraFilters.Add("Sources|*.src");
        e.filterIndex = 3;
    }

    TTestEditor* source = nullptr;
    TTestEditor* target = nullptr;
};

}  // namespace

TEST_F(StateStreamTest, TheFixedFieldsOpenTheStream) {
    for (bool withText : {false, true}) {
        const std::vector<uint8_t> bytes = StateBytes(*source, withText);
        ASSERT_GT(bytes.size(), 32u);
        EXPECT_EQ(bytes[0], withText ? 1 : 0);
        const struct {
            size_t at;
            int value;
        } kInts[] = {{1, 11}, {5, 20}, {9, 2}, {13, 4}, {18, 3}, {22, 2}};
        for (const auto& field : kInts) EXPECT_EQ(IntAt(bytes, field.at), field.value) << "at " << field.at;
        EXPECT_EQ(bytes[17], 0);  // ShowTabs
        EXPECT_EQ(bytes[26], 1);  // overwrite mode
        EXPECT_EQ(IntAt(bytes, 27), 11);  // the font name's record begins: its length
    }
}

TEST_F(StateStreamTest, AStateTravelsToAnotherEditorWithoutItsText) {
    const int charWidth = target->GetCharWidth();
    ASSERT_TRUE(LoadState(*target, StateBytes(*source, false)));
    EXPECT_EQ(TextOf(target->lines), (std::vector<std::string>{"target text", "stays"}));
    EXPECT_EQ(target->GetFontSize(), 11);
    EXPECT_EQ(target->GetColGapSetting(), 20);
    EXPECT_EQ(target->GetLineSpace(), 2);
    EXPECT_EQ(target->GetTabSize(), 4);
    EXPECT_FALSE(target->GetShowTabs());
    EXPECT_EQ(target->GetEditMode(), emOverwrite);
    EXPECT_EQ(target->GetFontName(), source->GetFontName());
    EXPECT_EQ(target->GetBkColor(), 0x102030);
    EXPECT_EQ(target->GetBkBrush()->GetColor(), 0x102030);
    EXPECT_EQ(target->GetTabColor(), 0x405060);
    EXPECT_EQ(target->GetMarkerBkColor(), 0x708090);
    EXPECT_EQ(target->GetMarkerTextColor(), 0xA0B0C0);
    EXPECT_TRUE(target->GetAutoSave());
    EXPECT_EQ(target->tabStops.GetCount(), 2);
    EXPECT_EQ(target->tabStops[1], 12);
    ASSERT_EQ(target->macros[3].GetCount(), 1);
    EXPECT_EQ(target->macros[3][0].key, 'K');
    EXPECT_TRUE(target->macros[3][0].shift.Contains(ssCtrl));
    ASSERT_EQ(target->paramMacros.GetCount(), 1);
    EXPECT_EQ(target->paramMacros[0].name.str(), "named");
    EXPECT_EQ(TextOf(target->buffers[9]), std::vector<std::string>{"buffer nine"});
    EXPECT_EQ(target->fileName.str(), "some/file.txt");
    EXPECT_EQ(TextOf(target->extraFilters), std::vector<std::string>{"Sources|*.src"});
    EXPECT_EQ(target->filterIndex, 3);
    // Positions come inside the two-line text held: the caret line 2 and the
    // block's end 3 come down to 1 and 2; the bookmark on line 2 to line 1.
    EXPECT_EQ(target->GetCurCol(), 3);
    EXPECT_EQ(target->GetCurLine(), 1);
    EXPECT_EQ(target->selection.selStartCol, 1);
    EXPECT_EQ(target->selection.selEndCol, 4);
    EXPECT_EQ(target->selection.selLine, 1);
    EXPECT_EQ(target->selection.selStartLine, 1);
    EXPECT_EQ(target->selection.selEndLine, 2);
    ASSERT_EQ(target->markers.GetCount(), 1);
    EXPECT_EQ(target->markers[0].line, 1);
    EXPECT_EQ(target->markers[0].number, 7);
    // The font name and size are stored, not applied: the font setter did not run.
    EXPECT_EQ(target->GetCharWidth(), charWidth);
}

TEST_F(StateStreamTest, WithTextTheLinesTravelAndTheUndoRecordsGo) {
    target->AddUndoItem(utTyping);
    ASSERT_TRUE(LoadState(*target, StateBytes(*source, true)));
    EXPECT_EQ(TextOf(target->lines), TextOf(source->lines));
    EXPECT_EQ(target->GetCurLine(), 2);
    EXPECT_EQ(target->selection.selEndLine, 3);
    EXPECT_EQ(target->undoItems.GetCount(), 0);
    EXPECT_EQ(StateBytes(*target, true), StateBytes(*source, true));
}

TEST_F(StateStreamTest, TheCommandBoxHistoryIsAddedToTheBox) {
    auto* sourceBox = new TComboBox(form);
    sourceBox->SetParent(form);
    for (const char* item : {"sort", "calc sum"}) sourceBox->GetItems()->Add(item);
    sourceBox->SetItemIndex(1);
    source->commandCombo = sourceBox;
    auto* targetBox = new TComboBox(form);
    targetBox->SetParent(form);
    targetBox->GetItems()->Add("own");
    target->commandCombo = targetBox;
    const std::vector<uint8_t> bytes = StateBytes(*source, false);
    ASSERT_TRUE(LoadState(*target, bytes));
    ASSERT_TRUE(LoadState(*target, bytes));
    ASSERT_EQ(targetBox->GetItems()->GetCount(), 5);  // its own and twice the stream's
    EXPECT_EQ(targetBox->GetItems()->GetStrings(4), "calc sum");
    // The box's selection follows its text, which the history sets last.
    EXPECT_EQ(targetBox->GetText(), "calc sum");
    EXPECT_EQ(targetBox->GetItemIndex(), 2);
    source->commandCombo = target->commandCombo = nullptr;
}

// The second box of the stream is the shared convert-lines dialog's.
TEST_F(StateStreamTest, TheConvertExpressionHistoryTravelsWithTheState) {
    TComboBox* box = SharedConvertLinesDlg()->cmbExpr;
    box->GetItems()->Clear();
    for (const char* item : {"line + ';'", "upper(line)"}) box->GetItems()->Add(item);
    box->SetText("upper(line)");
    const std::vector<uint8_t> bytes = StateBytes(*source, false);
    box->GetItems()->Clear();
    box->SetText("");
    ASSERT_TRUE(LoadState(*target, bytes));
    ASSERT_EQ(box->GetItems()->GetCount(), 2);
    EXPECT_EQ(box->GetItems()->GetStrings(0), "line + ';'");
    EXPECT_EQ(box->GetText(), "upper(line)");
    box->GetItems()->Clear();
    box->SetText("");
}

TEST_F(StateStreamTest, DamagedStreamsLeaveTheEditorAsItWas) {
    const std::vector<uint8_t> valid = StateBytes(*source, true);
    const std::vector<uint8_t> before = StateBytes(*target, true);
    const size_t fontName = 27, afterFontName = 27 + 5 + 11;
    std::vector<std::vector<uint8_t>> damaged;
    const auto changed = [&](size_t at, int value) {
        std::vector<uint8_t> bytes = valid;
        PutIntAt(bytes, at, value);
        damaged.push_back(bytes);
    };
    const auto flag = [&](size_t at, uint8_t value) {
        std::vector<uint8_t> bytes = valid;
        bytes[at] = value;
        damaged.push_back(bytes);
    };
    changed(13, 0);                      // a tab size of 0
    changed(13, -8);                     // and below
    changed(1, 0);                       // a font size of 0
    changed(5, -1);                      // a negative column gap
    changed(9, 0x40000000);              // a line space no pixel count reaches
    changed(fontName, 0x7FFFFFF0);       // a name longer than the stream
    changed(afterFontName + 37, 0x10000000);  // the tab stops' end far past the stream
    flag(0, 2);                          // flags are 0 or 1
    flag(17, 7);
    flag(26, 2);                         // edit modes are 0 or 1
    flag(afterFontName + 16, 3);         // auto save
    // The box histories: a count larger than what remains, an index below -1.
    std::vector<uint8_t> boxes = valid;
    PutIntAt(boxes, valid.size() - 12, 0x01000000);
    damaged.push_back(boxes);
    boxes = valid;
    PutIntAt(boxes, valid.size() - 4, -2);
    damaged.push_back(boxes);
    damaged.push_back(std::vector<uint8_t>(200, 0xFF));                       // foreign bytes
    damaged.push_back(std::vector<uint8_t>(valid.begin(), valid.end() - 1));  // one byte short

    const auto attempt = [&](const std::vector<uint8_t>& bytes, bool mustFail) {
        long position = -1;
        const bool loaded = LoadState(*target, bytes, &position);
        if (mustFail) {
            EXPECT_FALSE(loaded) << "a damaged stream of " << bytes.size() << " bytes was read";
        }
        if (!loaded) {
            EXPECT_EQ(StateBytes(*target, true), before) << "a refused stream changed the editor";
            EXPECT_EQ(position, 0L);
            return;
        }
        // What reads is sound: the caret inside the text, a usable tab size,
        // and the state writes a stream that reads back.
        EXPECT_GE(target->GetTabSize(), 1);
        EXPECT_LT(target->GetCurLine(), std::max(target->lines.GetCount(), 1));
        EXPECT_LE(target->selection.selEndLine, target->lines.GetCount());
        TTestEditor* again = Place<TTestEditor>();
        EXPECT_TRUE(LoadState(*again, StateBytes(*target, true)));
        delete again;
        ASSERT_TRUE(LoadState(*target, before));
    };
    TryDamagedForms(valid, damaged, attempt, 400, 2024);
}

TEST(TextEditorComboHistory, TheRecordReadsBackAndDamageIsRefused) {
    win32::TestDriver driver;
    TMemBuffer buffer;
    SaveComboHistory(buffer, nullptr);
    EXPECT_EQ(BytesOf(buffer), (std::vector<uint8_t>{0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF}));
    TComboBox box(nullptr);
    box.GetItems()->Add("one");
    box.GetItems()->Add("");
    box.SetText("t");
    TMemBuffer record;
    SaveComboHistory(record, &box);
    const std::vector<uint8_t> valid = BytesOf(record);
    EXPECT_EQ(valid.size(), 4u + 4 + 3 + 4 + 4 + 1 + 4);
    TComboHistory history;
    ASSERT_TRUE(ReadComboHistory(record, history));
    EXPECT_EQ(history.items, (std::vector<std::string>{"one", ""}));
    EXPECT_EQ(history.text, "t");
    EXPECT_EQ(history.itemIndex, -1);

    const auto fresh = [](TComboHistory& h) { h = TComboHistory{{"kept"}, "kept", 0}; };
    const auto same = [](const TComboHistory& a, const TComboHistory& b) {
        return a.items == b.items && a.text == b.text && a.itemIndex == b.itemIndex;
    };
    std::vector<uint8_t> negative = valid, longer = valid, lowIndex = valid;
    PutIntAt(negative, 0, -1);
    PutIntAt(longer, 4, 1000);
    PutIntAt(lowIndex, valid.size() - 4, -2);
    ExpectBufferReaderRefusesDamage<TComboHistory>(
        valid, {negative, longer, lowIndex}, [](TComboHistory& h, TMemBuffer& b) { return ReadComboHistory(b, h); },
        fresh, same, 1000);
}

namespace {

class BlockFileTest : public EditorTest {
protected:
    void SetUp() override {
        EditorTest::SetUp();
        editor = Place<TTestEditor>();
        ShowText(editor, {"abcde", "second", "third"});
    }
    std::string Path(const char* name) const { return temp.Path(name); }
    std::string Read(const char* name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // File dialogs get the name and OK (cancel for an empty name).
    win32::ScopedResponder Answer(const std::string& name) {
        return win32::ScopedResponder([this, name](const win32::ModalInteraction& interaction) {
            captions.push_back(interaction.caption);
            if (name.empty()) return win32::ModalReply::Answer(IDCANCEL);
            TFileDialogForm::FromWindow(interaction.window)->GetFileNameEdit()->SetText(name);
            return win32::ModalReply::Answer(IDOK);
        });
    }

    TTempFolder temp{"redakt-blocks"};
    TTestEditor* editor = nullptr;
    std::vector<std::string> captions;
};

}  // namespace

TEST_F(BlockFileTest, WritingTheSelectionToAFile) {
    const struct {
        const char* file;
        TTextEditorSelection selection;
        std::string written;
    } kBlocks[] = {
        {"columns.txt", {1, 4, 0, 1, 1}, "bcd\r\n"},
        {"past-the-end.txt", {3, 40, 0, 2, 2}, "de\r\n"},
        {"lines.txt", {0, 0, 0, 1, 3}, "second\r\nthird\r\n"},
    };
    editor->SetDosFormat(false);  // not applied to a block
    for (const auto& row : kBlocks) {
        editor->selection = row.selection;
        auto responder = Answer(Path(row.file));
        editor->WriteBlock();
        EXPECT_EQ(Read(row.file), row.written) << row.file;
    }
    EXPECT_EQ(captions, std::vector<std::string>(3, "Save block"));
    editor->selection = TTextEditorSelection{2, 2, 0, 1, 1};
    auto responder = Answer(Path("none.txt"));
    editor->WriteBlock();  // no selection: no dialog
    EXPECT_EQ(captions.size(), 3u);
    EXPECT_FALSE(fs::exists(Path("none.txt")));
}

TEST_F(BlockFileTest, ReadingAFileIntoTheTextIsOneUndoStep) {
    std::ofstream(Path("three.txt"), std::ios::binary) << "one\r\n\ttwo\r\nthree\r\n";
    editor->SetCursorPosX(2);
    editor->SetCursorPosY(1);
    editor->SetModified(false);
    {
        auto responder = Answer("");  // cancelled
        editor->ReadBlock();
    }
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"abcde", "second", "third"}));
    EXPECT_FALSE(editor->GetModified());
    {
        auto responder = Answer(Path("three.txt"));
        editor->ReadBlock();
    }
    EXPECT_EQ(captions, std::vector<std::string>(2, "Read text as block"));
    EXPECT_EQ(TextOf(editor->lines),
              (std::vector<std::string>{"abcde", "seone", "        two", "threecond", "third"}));
    EXPECT_TRUE(editor->GetModified());
    editor->Undo();
    EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"abcde", "second", "third"}));
    EXPECT_EQ(editor->undoItems.GetCount(), 0);
}
