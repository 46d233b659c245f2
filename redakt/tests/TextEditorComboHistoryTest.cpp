// The combo history record: its bytes, a round trip through a box, items
// appended to a box's own, and damaged records refused with the box and the
// read position as they were.
#include <climits>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "ComboBox.h"
#include "RedaktFixture.h"
#include "TextEditorComboHistory.h"

namespace {

using TBytes = std::vector<uint8_t>;

void AddIntBytes(TBytes& bytes, int value) {
    for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * k)));
}

// The record as the format gives it, built by hand.
TBytes RecordBytes(const std::vector<std::string>& items, const std::string& text, int itemIndex) {
    TBytes bytes;
    AddIntBytes(bytes, static_cast<int>(items.size()));
    const auto addString = [&](const std::string& s) {
        AddIntBytes(bytes, static_cast<int>(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
    };
    for (const std::string& item : items) addString(item);
    addString(text);
    AddIntBytes(bytes, itemIndex);
    return bytes;
}

struct TBoxState {
    std::vector<std::string> items;
    std::string text;
    int itemIndex;
    bool operator==(const TBoxState& other) const {
        return items == other.items && text == other.text && itemIndex == other.itemIndex;
    }
};

TBoxState StateOf(TComboBox& box) {
    TBoxState state{{}, box.GetText(), box.GetItemIndex()};
    for (int i = 0; i < box.GetItems()->GetCount(); ++i) state.items.push_back(box.GetItems()->GetStrings(i));
    return state;
}

// A box that already holds a history of its own.
void FillBox(TComboBox& box) {
    box.GetItems()->Add("kept");
    box.GetItems()->Add("also kept");
    box.SetItemIndex(1);
}

}  // namespace

class ComboHistoryTest : public ::testing::Test {
protected:
    win32::TestDriver driver;
};

TEST_F(ComboHistoryTest, TheRecordRoundTripsByteForByte) {
    const struct {
        std::vector<std::string> items;
        int itemIndex;
        std::string text;
    } kCases[] = {
        {{"sort 3", "", "copy  1"}, -1, "typed"},  // an empty item is its length alone
        {{"a", "b", "c"}, 2, "c"},
        {{}, -1, ""},
    };
    for (const auto& row : kCases) {
        TComboBox box(nullptr);
        for (const std::string& item : row.items) box.GetItems()->Add(item);
        if (row.itemIndex != -1) box.SetItemIndex(row.itemIndex);
        box.SetText(row.text);
        TMemBuffer buffer;
        SaveComboHistory(buffer, &box);
        const TBytes bytes = BytesOf(buffer);
        EXPECT_EQ(bytes, RecordBytes(row.items, row.text, row.itemIndex));

        TComboBox copy(nullptr);
        TMemBuffer input = BufferOf(bytes);
        ASSERT_TRUE(LoadComboHistory(input, &copy));
        EXPECT_EQ(input.GetRemaining(), 0);
        EXPECT_EQ(StateOf(copy), (TBoxState{row.items, row.text, row.itemIndex}));
        TMemBuffer again;
        SaveComboHistory(again, &copy);
        EXPECT_EQ(BytesOf(again), bytes);
    }
}

// The items join the box's own; the index then counts in the joined list.
TEST_F(ComboHistoryTest, LoadingAppendsTheItemsThenSelectsTheIndexThenSetsTheText) {
    TComboBox box(nullptr);
    FillBox(box);
    TMemBuffer input = BufferOf(RecordBytes({"one", "two"}, "two", 3));
    ASSERT_TRUE(LoadComboHistory(input, &box));
    EXPECT_EQ(StateOf(box), (TBoxState{{"kept", "also kept", "one", "two"}, "two", 3}));

    // The text comes last: one that is no item leaves none selected.
    TMemBuffer typed = BufferOf(RecordBytes({}, "typed", 0));
    ASSERT_TRUE(LoadComboHistory(typed, &box));
    EXPECT_EQ(box.GetText(), "typed");
    EXPECT_EQ(box.GetItemIndex(), -1);

    TMemBuffer none = BufferOf(RecordBytes({"x"}, "", -1));
    ASSERT_TRUE(LoadComboHistory(none, &box));
    EXPECT_EQ(box.GetItems()->GetCount(), 5);
    EXPECT_EQ(box.GetText(), "");
}

TEST_F(ComboHistoryTest, AStringReadsOnlyALengthThatTheBufferHolds) {
    const auto lengthThen = [](int length, const std::string& bytes) {
        TBytes record;
        AddIntBytes(record, length);
        record.insert(record.end(), bytes.begin(), bytes.end());
        return record;
    };
    const struct {
        TBytes bytes;
        bool read;
        std::string text;
    } kCases[] = {
        {lengthThen(3, "abc"), true, "abc"},
        {lengthThen(3, "abcd"), true, "abc"},
        {lengthThen(0, ""), true, ""},
        {lengthThen(std::string("a\0b", 3).size(), std::string("a\0b", 3)), true, std::string("a\0b", 3)},
        {lengthThen(4, "abc"), false, "left"},
        {lengthThen(-1, "abc"), false, "left"},
        {lengthThen(INT_MAX, "abc"), false, "left"},
        {lengthThen(INT_MIN, "abc"), false, "left"},
        {{3, 0, 0}, false, "left"},
        {{}, false, "left"},
    };
    for (const auto& row : kCases) {
        TMemBuffer buffer = BufferOf(row.bytes);
        std::string text = "left";
        EXPECT_EQ(ReadBufferString(buffer, text), row.read) << row.bytes.size() << " bytes";
        EXPECT_EQ(text, row.text);
        if (!row.read) {
            EXPECT_EQ(buffer.GetReadPosition(), 0);
        }
    }
}

// Every count and length is checked against what remains: a damaged record
// leaves the box and the read position as they were. Under the address
// sanitizer this also shows that no read passes the record's end.
TEST_F(ComboHistoryTest, ADamagedRecordLeavesTheBoxAsItWas) {
    const TBytes valid = RecordBytes({"one", "", "three"}, "typed", 1);
    const auto withIntAt = [&](size_t at, int value) {
        TBytes bytes(valid.begin(), valid.begin() + static_cast<long>(at));
        AddIntBytes(bytes, value);
        bytes.insert(bytes.end(), valid.begin() + static_cast<long>(at + 4), valid.end());
        return bytes;
    };
    const size_t textLength = 4 + (4 + 3) + 4 + (4 + 5);
    const size_t itemIndex = valid.size() - 4;
    const std::vector<TBytes> damaged = {
        withIntAt(0, -1),       withIntAt(0, INT_MAX),      withIntAt(0, 4),         // counts
        withIntAt(4, 1000),     withIntAt(4, -3),           withIntAt(4, INT_MAX),   // an item's length
        withIntAt(textLength, 6), withIntAt(textLength, -1),                        // the text's length
        withIntAt(itemIndex, -2),                                                   // an index below -1
    };
    TComboBox box(nullptr);
    FillBox(box);
    const TBoxState before = StateOf(box);
    int taken = 0;
    const auto attempt = [&](const TBytes& bytes, bool mustFail) {
        TMemBuffer buffer = BufferOf(bytes);
        const bool read = LoadComboHistory(buffer, &box);
        if (mustFail) {
            EXPECT_FALSE(read) << "a damaged record of " << bytes.size() << " bytes was read";
        }
        if (read) {
            ++taken;
            box.GetItems()->Clear();
            FillBox(box);
            return;
        }
        EXPECT_EQ(StateOf(box), before) << "a refused record changed the box";
        EXPECT_EQ(buffer.GetReadPosition(), 0);
    };
    TryDamagedForms(valid, damaged, attempt, 3000, 58);
    EXPECT_GT(taken, 0) << "some mutations still read";

    // Random bytes of every small length, from a fixed seed.
    std::mt19937 random(2026);
    for (int round = 0; round < 2000; ++round) {
        TBytes bytes(random() % 40);
        for (uint8_t& byte : bytes) byte = static_cast<uint8_t>(random() % 4 == 0 ? random() : random() % 6);
        attempt(bytes, false);
    }
    TMemBuffer nullBox = BufferOf(valid);
    EXPECT_TRUE(LoadComboHistory(nullBox, nullptr)) << "a null box reads the record and keeps nothing";
}
