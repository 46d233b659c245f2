// Tests of the program's saved form: round trips, both media, damaged input and globals.
#include "KroTestSupport.h"

#include <cstdio>
#include <cstring>

#include "CustomCommands.h"

namespace {

// Every statement kind this package compiles, in one text.
const char* const kRichScript =
    "const LIMIT = 3\n"
    "int count = 1, table[LIMIT] = {1, 2, 3}, grid[2,3], open[]\n"
    "point corner = {4, 5}\n"
    "string title = 'a b'\n"
    "func double half(double x, int &n, int list[])\n"
    "  return x / 2\n"
    "end\n"
    "if count > 0\n"
    "  count += 1\n"
    "else\n"
    "  count -= 1\n"
    "end\n"
    "while count < 10, count += 1\n"
    "  if count == 5\n"
    "    break\n"
    "  end\n"
    "end\n"
    "repeat\n"
    "  count -= 1\n"
    "until count < 0\n"
    "loop LIMIT\n"
    "  continue\n"
    "end\n"
    "for count = 0; count < 4; count += 1\n"
    "  block\n"
    "    int inner = count\n"
    "  end\n"
    "end\n"
    "switch count\n"
    "  case 1:\n"
    "    message 'one'\n"
    "  endcase\n"
    "  default:\n"
    "    message half(count, count, open)\n"
    "end\n";

std::vector<unsigned char> Bytes(const TMemBuffer& buffer) {
    const unsigned char* data = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(data, data + buffer.GetSize());
}

std::vector<unsigned char> Saved(const TProgram& program) {
    TMemBuffer buffer;
    program.WriteToMemBuffer(buffer);
    return Bytes(buffer);
}

bool LoadBytes(TProgram& program, const std::vector<unsigned char>& bytes) {
    TMemBuffer buffer;
    if (!bytes.empty()) buffer.Add(bytes.data(), static_cast<int>(bytes.size()));
    return program.ReadFromMemBuffer(buffer);
}

bool IsEmpty(const TProgram& program) {
    return program.tokens.GetCount() == 0 && program.functions.GetCount() == 0 && program.globals.GetCount() == 0 &&
           program.events.GetCount() == 0 && program.resourceTokens.GetCount() == 0;
}

class ProgramTest : public KroCompileTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(Compile(kRichScript)) << KRO_ErrorCode << " line " << KRO_ErrorLine;
    }
};

TEST_F(ProgramTest, SaveLoadSaveGivesIdenticalBytes) {
    const std::vector<unsigned char> first = Saved(program);
    TProgram loaded;
    ASSERT_TRUE(LoadBytes(loaded, first));
    EXPECT_EQ(loaded.tokens.GetCount(), program.tokens.GetCount());
    EXPECT_EQ(loaded.functions.GetCount(), 1);
    EXPECT_EQ(loaded.globals.GetCount(), program.globals.GetCount());
    EXPECT_EQ(loaded.variableBase, program.variableBase);
    EXPECT_EQ(Saved(loaded), first);
}

TEST_F(ProgramTest, FileFormHoldsTheSameBytes) {
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    std::fputs("prefix", file);
    program.SaveToStream(file);
    std::fputs("suffix", file);
    const long end = std::ftell(file);
    std::vector<unsigned char> bytes(static_cast<size_t>(end));
    std::rewind(file);
    ASSERT_EQ(std::fread(bytes.data(), 1, bytes.size(), file), bytes.size());
    const std::vector<unsigned char> memory = Saved(program);
    EXPECT_EQ(std::vector<unsigned char>(bytes.begin() + 6, bytes.end() - 6), memory);

    std::fseek(file, 6, SEEK_SET);
    TProgram loaded;
    ASSERT_TRUE(loaded.LoadFromStream(file));
    char after[7] = {};
    ASSERT_EQ(std::fread(after, 1, 6, file), 6u);
    EXPECT_STREQ(after, "suffix");
    EXPECT_EQ(Saved(loaded), memory);
    std::fclose(file);
}

TEST_F(ProgramTest, EveryTruncationFailsAndLeavesAnEmptyProgram) {
    const std::vector<unsigned char> bytes = Saved(program);
    for (size_t n = 0; n < bytes.size(); ++n) {
        ASSERT_TRUE(Compile("int stale\nif 1\nend"));
        ASSERT_FALSE(LoadBytes(program, std::vector<unsigned char>(bytes.begin(), bytes.begin() + n))) << n;
        ASSERT_TRUE(IsEmpty(program)) << n;
    }
}

TEST_F(ProgramTest, TruncatedFilesFail) {
    const std::vector<unsigned char> bytes = Saved(program);
    for (size_t n : {size_t(0), size_t(3), size_t(30), bytes.size() / 2, bytes.size() - 4, bytes.size() - 1}) {
        FILE* file = std::tmpfile();
        ASSERT_NE(file, nullptr);
        if (n > 0) std::fwrite(bytes.data(), 1, n, file);
        std::rewind(file);
        TProgram loaded;
        EXPECT_FALSE(loaded.LoadFromStream(file)) << n;
        EXPECT_TRUE(IsEmpty(loaded)) << n;
        std::fclose(file);
    }
}

TEST_F(ProgramTest, MutatedBytesNeverBreakTheReader) {
    const std::vector<unsigned char> bytes = Saved(program);
    for (size_t i = 0; i < bytes.size(); ++i) {
        for (unsigned char mask : {0x01, 0x80, 0xFF}) {
            std::vector<unsigned char> damaged = bytes;
            damaged[i] ^= mask;
            TProgram loaded;
            if (!LoadBytes(loaded, damaged)) {
                EXPECT_TRUE(IsEmpty(loaded)) << i;
            }
        }
    }
}

TEST_F(ProgramTest, JumpsOutsideTheProgramAreRefused) {
    TProgram broken;
    ASSERT_TRUE(CompileInto(broken, "if 1\nend"));
    broken.tokens[0]->Record<COND_INFO>()->end = 7;
    EXPECT_FALSE(LoadBytes(program, Saved(broken)));
    EXPECT_TRUE(IsEmpty(program));

    ASSERT_TRUE(CompileInto(broken, "repeat\nuntil 1"));
    broken.tokens[0]->value = 0;
    EXPECT_FALSE(LoadBytes(program, Saved(broken)));

    ASSERT_TRUE(CompileInto(broken, "func int f()\nend"));
    broken.functions[0]->entry = 1;
    EXPECT_FALSE(LoadBytes(program, Saved(broken)));
}

TEST(ProgramRecords, DefaultLabelIsOneByteThenItsBranch) {
    TSwitchInfo info;
    TCaseInfo* label = new TCaseInfo;
    label->label.count = 0;
    label->branch = 0x01020304;
    info.Add(label);
    TMemBuffer buffer;
    info.Write(buffer);
    const std::vector<unsigned char> bytes = Bytes(buffer);
    // After the container header (24 bytes) and the item marks (2 bytes).
    const std::vector<unsigned char> item(bytes.begin() + 26, bytes.begin() + 31);
    EXPECT_EQ(item, (std::vector<unsigned char>{1, 4, 3, 2, 1}));
}

TEST(ProgramRecords, UnsizedArrayStillWritesASizeExpression) {
    VARDEF def;
    def.variableType = vtArray;
    def.itemType = vtInt;
    def.name = "a";
    def.size.count = 0;
    TMemBuffer buffer;
    def.Write(buffer);
    // type, item type, flag, the name (u32 1, byte 1, 'a'), then count 0.
    EXPECT_EQ(Bytes(buffer), (std::vector<unsigned char>{7, 2, 0, 1, 0, 0, 0, 1, 'a', 0, 0, 0, 0}));
}

TEST(ProgramGlobals, CreateOnceAndFreeOnlyAfterCreate) {
    TProgram program;
    program.globals += TGlobalVar("gi", vtInt, 0);
    program.globals += TGlobalVar("ga", vtArray, vtString);
    const int before = Variables.GetCount();
    program.FreeGlobals();
    program.CreateGlobals();
    program.CreateGlobals();
    ASSERT_EQ(Variables.GetCount(), before + 2);
    EXPECT_EQ(Variables[before + 1]->type, vtArray);
    EXPECT_TRUE(Variables[before + 1]->absolute);
    program.variables.NewVar("kept", vtInt, true);
    program.FreeGlobals();
    EXPECT_EQ(Variables.GetCount(), before);
    EXPECT_EQ(program.variables.GetCount(), 1);
    program.FreeGlobals();
    EXPECT_EQ(Variables.GetCount(), before);
}

// A host command "beep" whose payload is the text of its line.
struct TBeepPayload {
    TString text;
};

TToken* CompileBeep(int code, TString rest) {
    if (rest.Length() == 0) return nullptr;
    TToken* token = new TToken(code);
    token->custom = new TBeepPayload{rest};
    return token;
}

int beepFrees = 0;

void HandleBeep(int, int operation, TToken* token, void*) {
    TBeepPayload* payload = static_cast<TBeepPayload*>(token->custom);
    switch (operation) {
        case ccFree:
            delete payload;
            ++beepFrees;
            break;
        case ccWriteBuffer: payload->text.WriteToMemBuffer(*token->buffer); break;
        case ccReadBuffer: {
            TBeepPayload* read = new TBeepPayload;
            token->custom = read;
            if (!read->text.ReadFromMemBuffer(*token->buffer)) token->ioFailed = true;
            break;
        }
        default: break;
    }
}

class CustomCommandTest : public KroCompileTest {
protected:
    void SetUp() override { CustomCommands().NewCommand(500, "beep", CompileBeep, HandleBeep); }
    void TearDown() override { CustomCommands().DeleteLast(true); }
};

TEST_F(CustomCommandTest, CompilesSavesAndLoadsThroughItsCallback) {
    ASSERT_TRUE(Compile("int a\nbeep 1, 'x y'\nmessage a"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, 500, ttMessage}));
    EXPECT_EQ(static_cast<TBeepPayload*>(program.tokens[1]->custom)->text, TString("1,'x y'"));
    const std::vector<unsigned char> bytes = Saved(program);
    TProgram loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    EXPECT_EQ(static_cast<TBeepPayload*>(loaded.tokens[1]->custom)->text, TString("1,'x y'"));
    EXPECT_EQ(Saved(loaded), bytes);
    for (size_t n = 0; n < bytes.size(); ++n)
        EXPECT_FALSE(LoadBytes(loaded, std::vector<unsigned char>(bytes.begin(), bytes.begin() + n))) << n;
    beepFrees = 0;
    program.Clear();
    EXPECT_EQ(beepFrees, 1);
}

TEST_F(CustomCommandTest, NullTokenFailsWithoutCode) {
    EXPECT_FALSE(Compile("beep"));
    EXPECT_EQ(KRO_ErrorCode, 0);
    EXPECT_EQ(KRO_ErrorLine, 1);
}

TEST_F(CustomCommandTest, UnregisteredTypeLoadsWithoutPayload) {
    ASSERT_TRUE(Compile("message 1"));
    program.tokens.AddToken(777);
    const std::vector<unsigned char> bytes = Saved(program);
    TProgram loaded;
    ASSERT_TRUE(LoadBytes(loaded, bytes));
    EXPECT_EQ(loaded.tokens[1]->type, 777);
    EXPECT_EQ(loaded.tokens[1]->custom, nullptr);
}

}  // namespace
