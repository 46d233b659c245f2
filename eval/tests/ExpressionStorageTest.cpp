// Tests of the stored form of compiled expressions: exact bytes, round trips in both media, and damaged input.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "EvaluateEngine.h"
#include "ExpressionCompiler.h"
#include "ExpressionStorage.h"

namespace {

class StorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        list.NewInt("a", false, 6);
        list.NewDouble("r", false, 2.5);
        list.NewString("txt", false, "some text");
        list.NewArray("v", vtInt, false);
        list.NewArray2("m", vtInt, false);
        list.NewPoint("p", false);
    }

    EXPRESSION Compile(const char* text) {
        EXPRESSION e = CreateExpression(list, text);
        EXPECT_GE(e.count, 1) << text;
        return e;
    }

    TString Result(EXPRESSION& e) { return FormatResult(EvaluateExpression(list, e, stack, false, nullptr), true); }

    TVariableList list;
    TEvalStack stack;
};

// Texts whose compiled forms cover every stored kind the compiler makes.
const char* const kTexts[] = {
    "1+2*3",
    "r*2.5-a/4",
    "r=a+1",
    "txt+'!'",
    "txt['e']='x'",
    "txt[w]='text'",
    "#'12'+2^a",
    "!a",
    "sin(r)+pow(r,2)",
    "v[1]+m[0,1]",
    "p.x+to_point(1,2).y",
    "to_complex(1,2).im",
    "strlen('abc')+1",
    "max(1,a,3)",
    "strformat('a{1}b{2}',1,2)",
    "[[1+a]]",
};

bool SameItems(const EXPRESSION& a, const EXPRESSION& b);

bool SameItem(const EXPRESSION_ITEM& a, const EXPRESSION_ITEM& b) {
    if (a.kind != b.kind || a.listCount != b.listCount) return false;
    if (a.listCount > 0 && std::memcmp(a.list, b.list, sizeof(int32_t) * static_cast<size_t>(a.listCount)) != 0)
        return false;
    if (a.kind == ekOwnedText) return a.value.text.text != b.value.text.text && *a.value.text.text == *b.value.text.text;
    if (a.kind == ekSubExpression)
        return a.value.expression != b.value.expression && SameItems(*a.value.expression, *b.value.expression);
    return std::memcmp(&a.value, &b.value, sizeof a.value) == 0;
}

bool SameItems(const EXPRESSION& a, const EXPRESSION& b) {
    if (a.count != b.count) return false;
    for (int i = 0; i < a.count; ++i)
        if (!SameItem(a.items[i], b.items[i])) return false;
    return true;
}

std::vector<unsigned char> BytesOf(const TMemBuffer& buffer) {
    const auto* bytes = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(bytes, bytes + buffer.GetSize());
}

std::vector<unsigned char> FileBytesOf(const EXPRESSION& e) {
    FILE* file = std::tmpfile();
    SaveExpression(file, e);
    std::vector<unsigned char> bytes(static_cast<size_t>(std::ftell(file)));
    std::rewind(file);
    EXPECT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    return bytes;
}

TMemBuffer BufferOf(const std::vector<unsigned char>& bytes) {
    TMemBuffer buffer;
    buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
    return buffer;
}

TEST_F(StorageTest, NotCompiledIsFourBytesOfFF) {
    TMemBuffer buffer;
    WriteExpression(buffer, EXPRESSION());
    EXPECT_EQ(BytesOf(buffer), (std::vector<unsigned char>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPRESSION e;
    e.count = 7;  // overwritten, not freed
    EXPECT_TRUE(ReadExpression(e, buffer));
    EXPECT_EQ(e.count, -1);
    EXPECT_EQ(e.items, nullptr);
}

TEST_F(StorageTest, ItemImageHasItsFixedLayout) {
    EXPRESSION e = Compile("a+1.5");
    TMemBuffer buffer;
    WriteExpression(buffer, e);
    const std::vector<unsigned char> bytes = BytesOf(buffer);
    // count, then three items of 48 bytes and a zero list count each.
    ASSERT_EQ(bytes.size(), 4u + 3u * 52u);
    EXPECT_EQ(bytes[0], 3);
    const unsigned char* variable = &bytes[4];
    EXPECT_EQ(variable[0], ekVariable);
    EXPECT_EQ(variable[8], 5);  // relative reference: a is 5 below the last variable
    const unsigned char* real = &bytes[4 + 52];
    double value;
    std::memcpy(&value, real + 8, sizeof value);  // the test runs on a little-endian machine
    EXPECT_EQ(real[0], ekReal);
    EXPECT_EQ(value, 1.5);
    const unsigned char* plus = &bytes[4 + 104];
    EXPECT_EQ(plus[0], ekBinaryOperator);
    EXPECT_EQ(plus[8], 0);
    for (int k = 1; k < 8; ++k) EXPECT_EQ(plus[k], 0) << "padding " << k;
    FreeExpression(e);
}

TEST_F(StorageTest, EveryKindRoundTripsInBothMediaWithTheSameBytes) {
    for (const char* text : kTexts) {
        SCOPED_TRACE(text);
        EXPRESSION e = Compile(text);
        TMemBuffer buffer;
        WriteExpression(buffer, e);
        const std::vector<unsigned char> fileBytes = FileBytesOf(e);
        EXPECT_EQ(BytesOf(buffer), fileBytes);

        EXPRESSION fromBuffer = ReadExpression(buffer);
        EXPECT_EQ(buffer.GetRemaining(), 0);
        EXPECT_TRUE(SameItems(e, fromBuffer));

        FILE* file = std::tmpfile();
        std::fwrite(fileBytes.data(), 1, fileBytes.size(), file);
        std::rewind(file);
        EXPRESSION fromFile;
        EXPECT_TRUE(LoadExpression(fromFile, file));
        std::fclose(file);
        EXPECT_TRUE(SameItems(e, fromFile));

        const TString expected = Result(e);
        FreeExpression(e);  // the copies own their texts, nested expressions and lists
        EXPECT_EQ(Result(fromBuffer), expected);
        EXPECT_EQ(Result(fromFile), expected);
        FreeExpression(fromBuffer);
        FreeExpression(fromFile);
    }
}

TEST_F(StorageTest, ExpressionsFollowEachOtherInOneBuffer) {
    EXPRESSION first = Compile("txt+'?'");
    EXPRESSION second = Compile("a*7");
    TMemBuffer buffer;
    WriteExpression(buffer, first);
    WriteExpression(buffer, EXPRESSION());
    WriteExpression(buffer, second);
    EXPRESSION a = ReadExpression(buffer);
    EXPRESSION none = ReadExpression(buffer);
    EXPRESSION b = ReadExpression(buffer);
    EXPECT_TRUE(SameItems(first, a));
    EXPECT_EQ(none.count, -1);
    EXPECT_TRUE(SameItems(second, b));
    for (EXPRESSION* e : {&first, &second, &a, &b}) FreeExpression(*e);
}

// Hand-made streams that are whole but are no compiled expression.
TEST_F(StorageTest, UnsoundContentIsRefused) {
    auto image = [](uint8_t kind, int32_t index, int32_t second) {
        std::vector<unsigned char> item(52, 0);
        item[0] = kind;
        std::memcpy(&item[8], &index, 4);
        std::memcpy(&item[12], &second, 4);
        return item;
    };
    auto stream = [](int32_t count, std::initializer_list<std::vector<unsigned char>> items) {
        std::vector<unsigned char> bytes(4);
        std::memcpy(bytes.data(), &count, 4);
        for (const auto& item : items) bytes.insert(bytes.end(), item.begin(), item.end());
        return bytes;
    };
    const auto one = image(ekInteger, 1, 0);
    struct {
        const char* what;
        std::vector<unsigned char> bytes;
    } cases[] = {
        {"count below -1", stream(-2, {})},
        {"count beyond the data", stream(3, {one, one})},
        {"unknown kind", stream(1, {image(99, 0, 0)})},
        {"token kind", stream(1, {image(ekComma, 0, 0)})},
        {"stack-only kind", stream(1, {image(ekBufferedText, 0, 0)})},
        {"operator index", stream(3, {one, one, image(ekBinaryOperator, 37, 0)})},
        {"one-operand index as two-operand operator", stream(3, {one, one, image(ekBinaryOperator, 5, 0)})},
        {"simple function index", stream(2, {one, image(ekSimpleFunction, 31, 0)})},
        {"simple function commas", stream(2, {one, image(ekSimpleFunction, 0, 1)})},
        {"field number", stream(2, {one, image(ekFieldSelector, 4, 0)})},
        {"built-in index", stream(1, {image(ekBuiltinFunction, 1 << 20, 0)})},
        {"list function without arguments", stream(1, {image(ekListFunction, 0, 0)})},
        {"operator without operands", stream(2, {one, image(ekBinaryOperator, 0, 0)})},
        {"two values left", stream(2, {one, one})},
        {"absolute flag not a flag", stream(1, {[] {
             std::vector<unsigned char> v(52, 0);
             v[0] = ekVariable;
             v[12] = 7;
             return v;
         }()})},
        {"variable reference beyond every list", stream(1, {image(ekVariable, 1 << 29, 0)})},
        {"list counts differ", stream(1, {[] {
             std::vector<unsigned char> v(52, 0);
             v[0] = ekInteger;
             v[40] = 2;
             return v;
         }()})},
    };
    for (const auto& c : cases) {
        TMemBuffer buffer = BufferOf(c.bytes);
        EXPRESSION e;
        EXPECT_FALSE(ReadExpression(e, buffer)) << c.what;
        EXPECT_EQ(e.count, -1) << c.what;
        EXPECT_EQ(buffer.GetReadPosition(), 0) << c.what;
    }
}

TEST_F(StorageTest, NestingBeyondTheLimitIsRefused) {
    auto nestedStream = [](int depth) {
        std::vector<unsigned char> bytes;
        auto addInt = [&bytes](int32_t v) {
            for (int k = 0; k < 4; ++k) bytes.push_back(static_cast<unsigned char>(static_cast<uint32_t>(v) >> (8 * k)));
        };
        for (int level = 0; level < depth; ++level) {
            addInt(1);
            std::vector<unsigned char> item(48, 0);
            item[0] = ekSubExpression;
            bytes.insert(bytes.end(), item.begin(), item.end());
        }
        addInt(1);
        std::vector<unsigned char> item(48, 0);
        item[0] = ekInteger;
        bytes.insert(bytes.end(), item.begin(), item.end());
        for (int level = 0; level <= depth; ++level) addInt(0);
        return bytes;
    };
    TMemBuffer shallow = BufferOf(nestedStream(kMaxStoredNesting));
    EXPRESSION e = ReadExpression(shallow);
    EXPECT_EQ(e.count, 1);
    FreeExpression(e);
    TMemBuffer deep = BufferOf(nestedStream(kMaxStoredNesting + 1));
    EXPECT_EQ(ReadExpression(deep).count, -1);
}

// Every shorter stream fails; so does every file cut short.
TEST_F(StorageTest, TruncatedStreamsFail) {
    for (const char* text : {"strformat('a{1}b{2}',1,2)", "[[txt+'x']]", "sin(r)+pow(r,2)"}) {
        EXPRESSION e = Compile(text);
        TMemBuffer whole;
        WriteExpression(whole, e);
        const std::vector<unsigned char> bytes = BytesOf(whole);
        for (size_t n = 0; n < bytes.size(); ++n) {
            TMemBuffer cut;
            cut.Add(bytes.data(), static_cast<int>(n));
            EXPECT_EQ(ReadExpression(cut).count, -1) << text << " cut at " << n;
            FILE* file = std::tmpfile();
            if (n > 0) std::fwrite(bytes.data(), 1, n, file);
            std::rewind(file);
            EXPECT_EQ(LoadExpression(file).count, -1) << text << " cut at " << n;
            std::fclose(file);
        }
        FreeExpression(e);
    }
}

// Garbage and mutated streams: whatever reads back must evaluate without
// harm (the sanitizer build watches this loop).
TEST_F(StorageTest, GarbageAndMutationsNeverHarm) {
    std::mt19937 random(20261210);
    std::vector<std::vector<unsigned char>> seeds;
    for (const char* text : kTexts) {
        EXPRESSION e = Compile(text);
        TMemBuffer buffer;
        WriteExpression(buffer, e);
        seeds.push_back(BytesOf(buffer));
        FreeExpression(e);
    }
    int accepted = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<unsigned char> bytes;
        if (round % 4 == 0) {
            bytes.resize(random() % 300);
            for (unsigned char& b : bytes) b = static_cast<unsigned char>(random());
            if (bytes.size() >= 4 && round % 8 == 0) bytes[0] = static_cast<unsigned char>(random() % 4), bytes[1] = bytes[2] = bytes[3] = 0;
        } else {
            bytes = seeds[random() % seeds.size()];
            const int mutations = 1 + static_cast<int>(random() % 4);
            for (int k = 0; k < mutations; ++k) {
                const size_t at = random() % bytes.size();
                bytes[at] = round % 3 == 0 ? static_cast<unsigned char>(bytes[at] ^ (1u << (random() % 8)))
                                           : static_cast<unsigned char>(random());
            }
            if (round % 5 == 0) bytes.resize(random() % (bytes.size() + 1));
        }
        TMemBuffer buffer = BufferOf(bytes);
        EXPRESSION e = ReadExpression(buffer);
        if (e.count < 1) {
            FreeExpression(e);  // count 0 still owns its one-record array
            continue;
        }
        ++accepted;
        EvaluateExpression(list, e, stack, false, nullptr);
        EXPECT_EQ(stack.GetCount(), 0);
        EXPECT_EQ(stack.GetLentStringCount(), 0);
        FreeExpression(e);
    }
    EXPECT_GT(accepted, 0);  // some mutations keep a sound expression, so the evaluation path ran
}

}  // namespace
