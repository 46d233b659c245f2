// Tests of the file built-ins over the open-file table, through compiled calls on files in a temporary folder.
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "BuiltinTestSupport.h"
#include "OpenFiles.h"

namespace {

class BuiltinFilesTest : public builtin_test::BuiltinTest {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "evalfiles-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        list.NewString("name", false, Path("a.txt"));
        list.NewString("line", false, "");
    }
    void TearDown() override {
        {
            const auto hold = OpenFiles->Hold();
            OpenFiles->Clear();
        }
        std::filesystem::remove_all(folder);
    }
    std::string Path(const std::string& file) const { return folder + "/" + file; }
    void Write(const std::string& file, const std::string& bytes) const {
        std::ofstream(Path(file), std::ios::binary) << bytes;
    }
    std::string Contents(const std::string& file) const {
        std::ostringstream bytes;
        bytes << std::ifstream(Path(file), std::ios::binary).rdbuf();
        return bytes.str();
    }
    void SetName(const std::string& file) { *list.GetVar("name")->value.s = Path(file); }
    std::string Line() { return list.GetVar("line")->value.s->c_str(); }

    std::string folder;
};

TEST_F(BuiltinFilesTest, IdsAreTheSmallestFreeOnes) {
    EXPECT_EQ(Integer("OpenFile(name, 0, 0)"), 0);
    EXPECT_EQ(Integer("OpenFile(name, 0, 1)"), 1);
    EXPECT_EQ(Integer("CloseFile(0)"), 1);
    EXPECT_EQ(Integer("CloseFile(0)"), 0);
    EXPECT_EQ(Integer("OpenFile(name, 0, 2)"), 0);
    EXPECT_EQ(Integer("OpenFile(name, 0, 1)"), 2);
    EXPECT_EQ(OpenFiles->GetCount(), 3);
}

TEST_F(BuiltinFilesTest, AFailedOpenRegistersNothing) {
    SetName("missing.txt");
    // A missing file to read, an unknown kind or mode, a folder that does not exist.
    for (const char* text : {"OpenFile(name, 0, 1)", "OpenFile(name, 0, 2)", "OpenFile(name, 1, 0)",
                             "OpenFile(name, 0, 3)", "OpenFile(name, 0, -1)", "OpenFile(name + '/x', 0, 0)"})
        EXPECT_EQ(Integer(text), -1) << text;
    EXPECT_EQ(OpenFiles->GetCount(), 0);
    EXPECT_EQ(access(Path("missing.txt").c_str(), F_OK), -1);
}

TEST_F(BuiltinFilesTest, AnUnknownIdGivesZero) {
    ASSERT_NE(list.NewArray("lines", vtString, false), nullptr);
    for (const char* text : {"CloseFile(5)", "WriteString(5, 'x')", "WriteLine(-1, 'x')", "ReadLine(5, line)",
                             "ReadFile(5, lines)"})
        EXPECT_EQ(Integer(text), 0) << text;
}

TEST_F(BuiltinFilesTest, WriteLineEndsTheTextWithALineFeed) {
    ASSERT_EQ(Integer("OpenFile(name, 0, 0)"), 0);
    EXPECT_EQ(Integer("WriteString(0, 'one')"), 1);
    EXPECT_EQ(Integer("WriteLine(0, ', two')"), 1);
    EXPECT_EQ(Integer("WriteLine(0.9, 'three')"), 1);  // the id is truncated
    EXPECT_EQ(Integer("CloseFile(0)"), 1);
    EXPECT_EQ(Contents("a.txt"), "one, two\nthree\n");
}

TEST_F(BuiltinFilesTest, ReadLineStripsLineEndsAndReadsALastLineWithoutOne) {
    Write("a.txt", std::string("one\r\ntwo\n\nthr\0ee\r", 17));
    ASSERT_EQ(Integer("OpenFile(name, 0, 1)"), 0);
    const std::string expected[] = {"one", "two", "", std::string("thr\0ee", 6)};
    for (const std::string& line : expected) {
        EXPECT_EQ(Integer("ReadLine(0, line)"), 1);
        EXPECT_EQ(std::string(list.GetVar("line")->value.s->str()), line);
    }
    EXPECT_EQ(Integer("ReadLine(0, line)"), 0);
    EXPECT_EQ(list.GetVar("line")->value.s->str(), expected[3]);  // unchanged at the end
}

TEST_F(BuiltinFilesTest, ALongLineComesInPieces) {
    // A line end just after a full piece ends that line; a carriage return
    // inside a line stays.
    Write("a.txt", std::string(2000, 'x') + "\n" + std::string(1022, 'y') + "\r\n" + std::string(1023, 'z') + "\n" +
                       std::string(1023, 'w') + "\r\n" + std::string(1023, 'v') + "\rq\n" + std::string(1023, 'u') + "\r");
    ASSERT_EQ(Integer("OpenFile(name, 0, 1)"), 0);
    for (const std::string& piece : {std::string(1023, 'x'), std::string(977, 'x'), std::string(1022, 'y'),
                                     std::string(1023, 'z'), std::string(1023, 'w'), std::string(1023, 'v'),
                                     std::string("\rq"), std::string(1023, 'u')}) {
        EXPECT_EQ(Integer("ReadLine(0, line)"), 1);
        EXPECT_EQ(Line(), piece);
    }
    EXPECT_EQ(Integer("ReadLine(0, line)"), 0);
}

TEST_F(BuiltinFilesTest, ReadAndWriteOnOneStream) {
    Write("a.txt", "first\nsecond\n");
    ASSERT_EQ(Integer("OpenFile(name, 0, 2)"), 0);
    EXPECT_EQ(Integer("ReadLine(0, line)"), 1);
    EXPECT_EQ(Integer("WriteLine(0, 'SECOND')"), 1);
    EXPECT_EQ(Integer("ReadLine(0, line)"), 0);
    EXPECT_EQ(Integer("CloseFile(0)"), 1);
    EXPECT_EQ(Contents("a.txt"), "first\nSECOND\n");
}

TEST_F(BuiltinFilesTest, AStringTargetMustBeAStringVariable) {
    ASSERT_NE(list.NewArray("lines", vtString, false), nullptr);
    ASSERT_NE(list.ResizeArray("lines", 1), nullptr);
    for (const char* text : {"ReadLine(0, 'x')", "ReadLine(0, lines[0])", "ReadLine(0, line + 'x')"}) {
        EvaluateErrorCode = 0;
        EXPECT_EQ(Run(text).kind, ekNone) << text;
        EXPECT_EQ(EvaluateErrorCode, eeMissingVariable) << text;
    }
}

TEST_F(BuiltinFilesTest, ReadFileResizesTheArrayToTheLines) {
    Write("a.txt", "1\r\n2\n3\n4\n5");
    ASSERT_NE(list.NewArray("lines", vtString, false), nullptr);
    ASSERT_NE(list.ResizeArray("lines", 2), nullptr);
    ASSERT_EQ(Integer("OpenFile(name, 0, 1)"), 0);
    EXPECT_EQ(Integer("ReadFile(0, lines)"), 1);
    const TVariable* lines = list.GetVar("lines");
    ASSERT_EQ(lines->value.a.count, 5);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(std::string(static_cast<const TString*>(lines->GetItem(i))->c_str()), std::to_string(i + 1));
}

TEST_F(BuiltinFilesTest, ReadFileSeesWhatTheStreamWrote) {
    ASSERT_NE(list.NewArray("lines", vtString, false), nullptr);
    ASSERT_NE(list.ResizeArray("lines", 4), nullptr);
    ASSERT_EQ(Integer("OpenFile(name, 0, 0)"), 0);
    EXPECT_EQ(Integer("WriteLine(0, 'kept')"), 1);
    EXPECT_EQ(Integer("ReadFile(0, lines)"), 1);
    const TVariable* lines = list.GetVar("lines");
    ASSERT_EQ(lines->value.a.count, 1);
    EXPECT_STREQ(static_cast<const TString*>(lines->GetItem(0))->c_str(), "kept");
    // A file removed under its entry can no longer be read: the array stays.
    ASSERT_EQ(std::remove(Path("a.txt").c_str()), 0);
    EXPECT_EQ(Integer("ReadFile(0, lines)"), 0);
    EXPECT_EQ(list.GetVar("lines")->value.a.count, 1);
}

// Each thread opens, writes and closes its own file again and again; the
// table stays whole and ends empty.
TEST_F(BuiltinFilesTest, ThreadsShareTheTable) {
    std::vector<std::thread> threads;
    std::vector<int> failures(4, 0);
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([this, t, &failures] {
            TVariableList vars;
            TEvalStack evalStack;
            vars.NewString("name", false, Path("t" + std::to_string(t)));
            int64_t* id = vars.NewInt("id", false, 0);
            EXPRESSION open = CreateExpression(vars, "OpenFile(name, 0, 0)");
            EXPRESSION writeAndClose = CreateExpression(vars, "WriteLine(id, name) + CloseFile(id)");
            for (int k = 0; k < 50; ++k) {
                *id = EvaluateExpression(vars, open, evalStack, false, nullptr).value.integer;
                const EXPRVALUE v = EvaluateExpression(vars, writeAndClose, evalStack, false, nullptr);
                if (*id < 0 || v.kind != ekInteger || v.value.integer != 2) ++failures[static_cast<size_t>(t)];
            }
            FreeExpression(open);
            FreeExpression(writeAndClose);
        });
    }
    for (std::thread& thread : threads) thread.join();
    EXPECT_EQ(failures, std::vector<int>(4, 0));
    EXPECT_EQ(OpenFiles->GetCount(), 0);
    EXPECT_EQ(Contents("t3"), Path("t3") + "\n");
}

}  // namespace
