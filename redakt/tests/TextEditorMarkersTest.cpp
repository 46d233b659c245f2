// The bookmark list: copies, lookups, and its reader against damaged input.
#include <memory>
#include <vector>

#include "RedaktFixture.h"
#include "TextEditorMarkers.h"

namespace {

bool SameList(const TTextEditorMarkerList& a, const TTextEditorMarkerList& b) {
    if (a.GetCount() != b.GetCount()) return false;
    for (int i = 0; i < a.GetCount(); ++i)
        if (a[i].line != b[i].line || a[i].number != b[i].number) return false;
    return true;
}

TTextEditorMarkerList Sample() {
    TTextEditorMarkerList list;
    list += TEXT_EDITOR_MARKER{50, 3};
    list.Add(TEXT_EDITOR_MARKER{10, 7});
    TEXT_EDITOR_MARKER unset{-1, 9};
    list.Add(&unset);
    return list;
}

void FillList(TTextEditorMarkerList& list) { list = Sample(); }

}  // namespace

TEST(TextEditorMarkerList, CopiesAreIndependentAndLookupsCompareBothFields) {
    TTextEditorMarkerList list = Sample();
    EXPECT_EQ(list.Add(static_cast<TEXT_EDITOR_MARKER*>(nullptr)), -1);
    TTextEditorMarkerList copy(list);
    TTextEditorMarkerList assigned;
    assigned = list;
    copy[0].line = 99;
    assigned.Insert(0, TEXT_EDITOR_MARKER{1, 1});
    EXPECT_EQ(list[0].line, 50);
    EXPECT_EQ(list.GetCount(), 3);

    EXPECT_EQ(list.IndexOf(TEXT_EDITOR_MARKER{10, 7}), 1);
    EXPECT_EQ(list.IndexOf(TEXT_EDITOR_MARKER{10, 3}), -1);  // same line, other number
    EXPECT_EQ(list.IndexOf(TEXT_EDITOR_MARKER{-1, 9}), 2);

    std::unique_ptr<TEXT_EDITOR_MARKER[]> array(list.GetArray());
    EXPECT_EQ(array[1].line, 10);
    EXPECT_EQ(array[2].number, 9);
    array[0].line = 0;
    EXPECT_EQ(list[0].line, 50);

    EXPECT_TRUE(list.Concat(copy));
    EXPECT_EQ(list.GetCount(), 6);
    EXPECT_EQ(list[3].line, 99);
    list.SetAll(TEXT_EDITOR_MARKER{4, 2});
    for (int i = 0; i < list.GetCount(); ++i) EXPECT_TRUE(list[i].line == 4 && list[i].number == 2);
}

TEST(TextEditorMarkerList, BothFormsRoundTripAndDamagedListsAreRefused) {
    const TTextEditorMarkerList source = Sample();
    TMemBuffer memory;
    source.WriteToMemBuffer(memory);
    TTextEditorMarkerList read;
    ASSERT_TRUE(read.ReadFromMemBuffer(memory));
    EXPECT_TRUE(SameList(read, source));
    const std::vector<uint8_t> bytes = BytesOf(memory);
    // The records are the last 24 bytes: line and number of each.
    std::vector<uint8_t> badNumber = bytes, badLine = bytes;
    badNumber[bytes.size() - 4] = 10;
    badLine[bytes.size() - 8] = 0xFE;  // line -2
    ExpectBufferReaderRefusesDamage<TTextEditorMarkerList>(
        bytes, {badNumber, badLine},
        [](TTextEditorMarkerList& list, TMemBuffer& buffer) { return list.ReadFromMemBuffer(buffer); }, FillList,
        SameList);
    ExpectStreamReaderRefusesDamage<TTextEditorMarkerList>(
        bytes, {badNumber, badLine},
        [](TTextEditorMarkerList& list, FILE* file) { return list.LoadFromStream(file); }, FillList, SameList);
}
