// Tests of variable records: byte layout, FILE and memory-buffer forms, round trips and damaged input.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

#include "Variables.h"

namespace {

std::vector<uint8_t> Bytes(const TMemBuffer& buffer) {
    const uint8_t* block = static_cast<const uint8_t*>(buffer.GetBlock());
    return std::vector<uint8_t>(block, block + buffer.GetSize());
}

std::vector<uint8_t> BufferForm(const TVariable& v) {
    TMemBuffer buffer;
    v.WriteToMemBuffer(buffer);
    return Bytes(buffer);
}

std::vector<uint8_t> FileForm(const TVariable& v) {
    FILE* file = std::tmpfile();
    v.SaveToStream(file);
    std::vector<uint8_t> bytes(static_cast<size_t>(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

TMemBuffer BufferOf(const std::vector<uint8_t>& bytes) {
    TMemBuffer buffer;
    buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
    return buffer;
}

// The record of the name "n": u32 length 1, byte 1, 'n'.
const std::vector<uint8_t> nameN = {0x01, 0x00, 0x00, 0x00, 0x01, 'n'};

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
    std::vector<uint8_t> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

std::vector<uint8_t> DoubleBytes(double d) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    std::vector<uint8_t> bytes;
    for (int k = 0; k < 8; ++k) bytes.push_back(static_cast<uint8_t>(bits >> (8 * k)));
    return bytes;
}

// One variable of every kind, with values that show sign and width problems.
void FillSamples(TVariableList& list) {
    list.NewInt("i", false, -5000000000LL);
    list.NewDouble("d", false, -2.25);
    *list.NewPoint("p", false) = VPOINT{-1, INT64_MAX};
    *list.NewComplex("c", false) = VCOMPLEX{0.5, -1e300};
    list.NewString("s", false, "text");
    list.NewArray("ai", vtInt, false);
    list.ResizeArray("ai", 3);
    *static_cast<int64_t*>(list.GetArrayItem("ai", 0)) = -1;
    *static_cast<int64_t*>(list.GetArrayItem("ai", 2)) = 123456;
    list.NewArray("as", vtString, false);
    list.ResizeArray("as", 2);
    *static_cast<TString*>(list.GetArrayItem("as", 1)) = "second";
    list.NewArray("ap", vtPoint, false);
    list.ResizeArray("ap", 1);
    *static_cast<VPOINT*>(list.GetArrayItem("ap", 0)) = VPOINT{-7, 8};
    list.NewArray2("mc", vtComplex, false);
    list.ResizeArray2("mc", 2, 3);
    *static_cast<VCOMPLEX*>(list.GetArray2Item("mc", 1, 2)) = VCOMPLEX{3, 4};
    list.NewArray2("ms", vtString, false);
    list.ResizeArray2("ms", 1, 2);
    *static_cast<TString*>(list.GetArray2Item("ms", 0, 1)) = "cell";
    list.Last()->info = -3;
    list.AddVar(TVariable());
}

TEST(VariableRecordTest, LayoutOfTheDocumentedExamples) {
    TVariable n("n", int64_t{5}, 7);
    EXPECT_EQ(BufferForm(n), Join({{0x02, 0x07, 0, 0, 0}, nameN, {5, 0, 0, 0, 0, 0, 0, 0}}));

    TVariable a("n", ARRAY{vtInt, 3, 0, nullptr}, 0);
    for (int i = 0; i < 3; ++i) *static_cast<int64_t*>(a.GetItem(i)) = i + 1;
    EXPECT_EQ(BufferForm(a), Join({{0x07, 0, 0, 0, 0}, nameN, {0x02, 3, 0, 0, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0, 0, 0}}));

    TVariable m("n", ARRAY2{vtDouble, 2, 0, 3, 0, nullptr});
    std::vector<uint8_t> cells;
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 3; ++j) {
            *static_cast<double*>(m.GetItem(i, j)) = 10 * i + j + 0.5;
            const auto bytes = DoubleBytes(10 * i + j + 0.5);
            cells.insert(cells.end(), bytes.begin(), bytes.end());
        }
    EXPECT_EQ(BufferForm(m), Join({{0x08, 0, 0, 0, 0}, nameN, {0x03, 2, 0, 0, 0, 3, 0, 0, 0}, cells}));

    TVariable undefined;
    undefined.name = "n";
    undefined.info = 1;
    EXPECT_EQ(BufferForm(undefined), Join({{0x00, 1, 0, 0, 0}, nameN}));
}

TEST(VariableRecordTest, FileAndBufferFormsCarryTheSameBytes) {
    TVariableList list;
    FillSamples(list);
    for (int i = 0; i < list.GetCount(); ++i) EXPECT_EQ(FileForm(*list[i]), BufferForm(*list[i])) << i;
}

TEST(VariableRecordTest, RoundTripsThroughBothMedia) {
    TVariableList list;
    FillSamples(list);
    TMemBuffer buffer;
    FILE* file = std::tmpfile();
    for (int i = 0; i < list.GetCount(); ++i) {
        list[i]->WriteToMemBuffer(buffer);
        list[i]->SaveToStream(file);
    }
    std::rewind(file);
    for (int i = 0; i < list.GetCount(); ++i) {
        TVariable fromBuffer, fromFile;
        ASSERT_TRUE(fromBuffer.ReadFromMemBuffer(buffer)) << i;
        ASSERT_TRUE(fromFile.LoadFromStream(file)) << i;
        for (const TVariable* v : {&fromBuffer, &fromFile}) {
            EXPECT_EQ(v->name, list[i]->name);
            EXPECT_EQ(v->type, list[i]->type);
            EXPECT_EQ(v->info, list[i]->info);
            EXPECT_EQ(GetVariableAsString(v, false), GetVariableAsString(list[i], false)) << i;
        }
    }
    EXPECT_EQ(buffer.GetRemaining(), 0);
    std::fclose(file);
    // A stored -1 comes back as -1 (the 4 stored bytes are sign-extended).
    TVariable copy;
    TMemBuffer one = BufferOf(BufferForm(*list.GetVar("ai")));
    ASSERT_TRUE(copy.ReadFromMemBuffer(one));
    EXPECT_EQ(*static_cast<int64_t*>(copy.GetItem(0)), -1);
}

TEST(VariableRecordTest, WholeListsUseTheContainerForm) {
    TVariableList list, back;
    FillSamples(list);
    TMemBuffer buffer;
    list.WriteToMemBuffer(buffer);
    ASSERT_TRUE(back.ReadFromMemBuffer(buffer));
    ASSERT_EQ(back.GetCount(), list.GetCount());
    EXPECT_EQ(back.GetVar("ms")->OwnerList(), &back);
    EXPECT_EQ(GetVariableAsString(back.GetVar("mc"), true), GetVariableAsString(list.GetVar("mc"), true));
}

TEST(VariableRecordTest, ReadingReplacesTheOldValue) {
    TVariable target("old", TString("released"), 0);
    TMemBuffer buffer = BufferOf(BufferForm(TVariable("n", 1.5, 0)));
    ASSERT_TRUE(target.ReadFromMemBuffer(buffer));
    EXPECT_EQ(target.type, vtDouble);
    EXPECT_EQ(target.value.d, 1.5);
}

TEST(VariableRecordTest, HugeCountsFailWithoutAllocating) {
    struct Case {
        const char* what;
        std::vector<uint8_t> tail;
    } cases[] = {
        {"1-D count 2^31-1", {0x02, 0xff, 0xff, 0xff, 0x7f}},
        {"1-D count 2^30 of strings", {0x06, 0, 0, 0, 0x40}},
        {"bad item type", {0x09, 1, 0, 0, 0, 1, 2, 3, 4}},
    };
    for (const Case& c : cases) {
        TMemBuffer buffer = BufferOf(Join({{0x07, 0, 0, 0, 0}, nameN, c.tail}));
        TVariable v;
        EXPECT_FALSE(v.ReadFromMemBuffer(buffer)) << c.what;
        EXPECT_EQ(v.type, vtUndefined) << c.what;
    }
    TMemBuffer grid = BufferOf(Join({{0x08, 0, 0, 0, 0}, nameN, {0x03, 0, 0, 1, 0, 0, 0, 1, 0}}));
    TVariable v;
    EXPECT_FALSE(v.ReadFromMemBuffer(grid));
    // Negative counts read as empty arrays.
    TMemBuffer negative = BufferOf(Join({{0x07, 0, 0, 0, 0}, nameN, {0x02, 0xfe, 0xff, 0xff, 0xff}}));
    ASSERT_TRUE(v.ReadFromMemBuffer(negative));
    EXPECT_EQ(v.value.a.count, 0);
}

TEST(VariableRecordTest, TruncatedAndMutatedRecordsFailCleanly) {
    TVariableList list;
    FillSamples(list);
    std::vector<std::vector<uint8_t>> records;
    for (int i = 0; i < list.GetCount(); ++i) records.push_back(BufferForm(*list[i]));

    for (const auto& record : records)
        for (size_t length = 0; length < record.size(); ++length) {
            TMemBuffer buffer;
            buffer.Add(record.data(), static_cast<int>(length));
            TVariable v("stale", TString("x"), 0);
            EXPECT_FALSE(v.ReadFromMemBuffer(buffer)) << length;
            EXPECT_EQ(v.type, vtUndefined);

            FILE* file = std::tmpfile();
            std::fwrite(record.data(), 1, length, file);
            std::rewind(file);
            EXPECT_FALSE(v.LoadFromStream(file)) << length;
            std::fclose(file);
        }

    std::mt19937 random(15);
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> record = records[random() % records.size()];
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int k = 0; k < flips; ++k) record[random() % record.size()] = static_cast<uint8_t>(random());
        TMemBuffer buffer = BufferOf(record);
        TVariable v;
        if (v.ReadFromMemBuffer(buffer)) {
            TVariable copy(v);  // whatever was read is a consistent value
            GetVariableAsString(&copy, true);
        }
    }
}

}  // namespace
