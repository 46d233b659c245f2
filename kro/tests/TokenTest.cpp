// Tests of token payload records on their own: the stored layouts of every record type and damaged records.
#include <gtest/gtest.h>

#include <vector>

#include "ExpressionCompiler.h"
#include "Token.h"
#include "Variables.h"

namespace {

std::vector<unsigned char> Written(const TToken& token) {
    TMemBuffer buffer;
    token.WriteToMemBuffer(buffer);
    const unsigned char* data = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(data, data + buffer.GetSize());
}

TMemBuffer BufferOf(const std::vector<unsigned char>& bytes, size_t n) {
    TMemBuffer buffer;
    if (n > 0) buffer.Add(bytes.data(), static_cast<int>(n));
    return buffer;
}

// Reads the bytes back, writes them again, and checks every shorter prefix fails.
void ExpectRoundTrip(const TToken& token) {
    const std::vector<unsigned char> bytes = Written(token);
    TMemBuffer buffer = BufferOf(bytes, bytes.size());
    TToken read;
    ASSERT_TRUE(read.ReadFromMemBuffer(buffer)) << token.type;
    EXPECT_EQ(buffer.GetRemaining(), 0) << token.type;
    EXPECT_EQ(Written(read), bytes) << token.type;
    for (size_t n = 0; n < bytes.size(); ++n) {
        TMemBuffer shorter = BufferOf(bytes, n);
        TToken damaged;
        EXPECT_FALSE(damaged.ReadFromMemBuffer(shorter)) << token.type << " cut at " << n;
        EXPECT_EQ(damaged.record, nullptr);
    }
}

EXPRESSION Compiled(const char* text) { return CreateExpression(TString(text)); }

TEST(TokenLayouts, ArrayAndDrawingStatementsRoundTrip) {
    for (int type = ttDim; type <= ttArrayAssign; ++type) {
        TToken token(type);
        TStatementArgs* args = new TStatementArgs(type);
        token.record.reset(args);
        args->variables = {KRO_VARINFO{3, 1}, KRO_VARINFO{-2, 0}};
        args->expressions.Add(Compiled("1+2"));
        args->expressions.Add(Compiled("'text'"));
        args->flag = 1;
        ExpectRoundTrip(token);
    }
    for (int type = ttDrawFirst; type <= ttDrawLast; ++type) {
        TToken token(type);
        TStatementArgs* args = new TStatementArgs(type);
        token.record.reset(args);
        args->variables = {KRO_VARINFO{5, 1}};
        args->expressions.Add(Compiled("10"));
        ExpectRoundTrip(token);
    }
}

TEST(TokenLayouts, VarInfoIsEightBytes) {
    TToken token(ttArrayFilter);
    TStatementArgs* args = new TStatementArgs(ttArrayFilter);
    token.record.reset(args);
    args->variables = {KRO_VARINFO{0x01020304, 1}};
    EXPECT_EQ(Written(token), (std::vector<unsigned char>{19, 0, 0, 0, 4, 3, 2, 1, 1, 0, 0, 0}));
}

TEST(TokenLayouts, ResourcesRoundTrip) {
    TToken image(ttResource);
    RESOURCE_INFO* info = new RESOURCE_INFO;
    image.record.reset(info);
    info->kind = 0;
    info->format = 1;
    info->name = "logo";
    info->image = {0xFF, 0xD8, 0x00, 0x10};
    ExpectRoundTrip(image);

    TToken text(ttResource);
    RESOURCE_INFO* lines = new RESOURCE_INFO;
    text.record.reset(lines);
    lines->kind = 2;
    lines->name = "dialog";
    lines->lines.Add("KRO dialog");
    lines->lines.Add("line two");
    ExpectRoundTrip(text);
}

TEST(TokenLayouts, ControlRecordsRoundTrip) {
    TToken declaration(ttDeclaration);
    VARDEF* def = new VARDEF;
    declaration.record.reset(def);
    def->variableType = vtArray2;
    def->itemType = vtDouble;
    def->name = "grid";
    def->lines = Compiled("2");
    def->columns = Compiled("3");
    ExpectRoundTrip(declaration);

    TToken loop(ttWhile);
    WHILE_INFO* info = new WHILE_INFO;
    loop.record.reset(info);
    info->start = 0;
    info->end = 4;
    info->condition = Compiled("1");
    info->further.Add(Compiled("2"));
    ExpectRoundTrip(loop);

    TToken inlineValue(ttRepeat);
    inlineValue.value = 9;
    ExpectRoundTrip(inlineValue);
}

TEST(TokenLayouts, ImpossibleFieldsAreRefused) {
    const std::vector<std::vector<unsigned char>> cases = {
        {0, 0, 0, 0},                                      // type 0
        {2, 0, 0, 0, 9, 0, 0, 1, 0, 0, 0, 1, 'a'},         // variable type 9
        {2, 0, 0, 0, 7, 1, 0, 1, 0, 0, 0, 1, 'a', 0, 0, 0, 0},  // array of item type 1
        {2, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 1},              // empty name
        {180, 0, 0, 0, 3, 0, 0, 0},                        // resource kind 3
        {23, 0, 0, 0, 255, 255, 255, 127},                 // a_reverse count beyond the data
        {1, 0, 0, 0, 255, 255, 255, 255},                  // expression not compiled
    };
    for (const std::vector<unsigned char>& bytes : cases) {
        TMemBuffer buffer = BufferOf(bytes, bytes.size());
        TToken token;
        EXPECT_FALSE(token.ReadFromMemBuffer(buffer)) << int(bytes[0]);
    }
}

}  // namespace
