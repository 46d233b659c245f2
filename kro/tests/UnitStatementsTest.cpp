// Tests of const and import, and of the line reading around them: comments, continuations, units and files.
#include "KroTestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "EvaluateEngine.h"

namespace {

class UnitStatementsTest : public KroCompileTest {
protected:
    void AddUnit(const char* name, const std::string& text) {
        TUnitSubsInfo* unit = units.NewItem();
        unit->name = name;
        unit->lines = Lines(text);
    }
    std::string Evaluated(int token) {
        EXPRVALUE value = EvaluateExpression(program.tokens[token]->expression, false, nullptr);
        return FormatResult(value, false).c_str();
    }
};

TEST_F(UnitStatementsTest, EmptyAndBlankTextsCompileToNothing) {
    EXPECT_TRUE(Compile(""));
    EXPECT_TRUE(Compile("  \n\t\n// only a comment"));
    EXPECT_EQ(program.tokens.GetCount(), 0);
}

TEST_F(UnitStatementsTest, CommentsAreCutOutsideQuotes) {
    ASSERT_TRUE(Compile("message 1+2 // three\nmessage 'a//b'\nconst Q=\"x//y\", R=1\nmessage R"));
    EXPECT_EQ(Evaluated(0), "3");
    EXPECT_EQ(Evaluated(1), "a//b");
}

TEST_F(UnitStatementsTest, ContinuationLinesJoin) {
    ASSERT_TRUE(Compile("message 1+\\\n2\nmessage 5"));
    EXPECT_EQ(program.tokens.GetCount(), 2);
    EXPECT_EQ(Evaluated(0), "3");
    EXPECT_FALSE(Compile("message 1+\\\n+"));
    EXPECT_EQ(KRO_ErrorLine, 2);
}

TEST_F(UnitStatementsTest, LastLineWithBackslashIsCompiledWithoutIt) {
    ASSERT_TRUE(Compile("message 1\nmessage 2 \\"));
    ASSERT_EQ(program.tokens.GetCount(), 2);
    EXPECT_EQ(Evaluated(1), "2");
    EXPECT_FALSE(Compile("message 1\nmessage + \\"));
    EXPECT_EQ(KRO_ErrorCode, 10);
}

TEST_F(UnitStatementsTest, ConstantsReplaceWholeWordsOutsideQuotes) {
    ASSERT_TRUE(Compile("const N = 2+3, S='N'\nint NN = 1\nmessage N*2\nmessage S\nmessage 'N'+S"));
    EXPECT_EQ(Evaluated(1), "10");
    EXPECT_EQ(Evaluated(2), "N");
    EXPECT_EQ(Evaluated(3), "NN");
    ASSERT_TRUE(Compile("const W = 'a b'\nmessage W"));
    EXPECT_EQ(Evaluated(0), "a b");
}

TEST_F(UnitStatementsTest, BadConstantsFail) {
    const struct {
        const char* text;
        int code;
    } cases[] = {{"const A", 37}, {"const =1", 38}, {"const A=", 38}, {"const A=1,B", 37}};
    for (const auto& c : cases) {
        EXPECT_FALSE(Compile(c.text)) << c.text;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.text;
    }
}

TEST_F(UnitStatementsTest, ImportReadsAUnitFromTheList) {
    AddUnit("lib", "int shared = 4\nfunc int twice(int n)\nreturn 2*n\nend");
    ASSERT_TRUE(Compile("import lib\nmessage twice(shared)"));
    EXPECT_EQ(Types(), (std::vector<int>{ttDeclaration, ttFunc, ttReturn, ttEnd, ttMessage}));
}

TEST_F(UnitStatementsTest, SeveralUnitsAreReadLastFirst) {
    AddUnit("a", "int fromA = fromB");
    AddUnit("b", "int fromB = 1");
    EXPECT_TRUE(Compile("import a, b"));
    EXPECT_FALSE(Compile("import b, a"));
    EXPECT_EQ(KRO_ErrorUnitName, TString("a"));
}

TEST_F(UnitStatementsTest, FailureInsideAUnitNamesTheUnitAndItsLine) {
    AddUnit("lib", "int a\n\nbogus+");
    EXPECT_FALSE(Compile("int x\nimport lib\nx=1"));
    EXPECT_EQ(KRO_ErrorCode, 10);
    EXPECT_EQ(KRO_ErrorLine, 3);
    EXPECT_EQ(KRO_ErrorUnitName, TString("lib"));
    EXPECT_FALSE(Compile("int x\nbogus+"));
    EXPECT_EQ(KRO_ErrorUnitName, TString("program"));
}

TEST_F(UnitStatementsTest, UnitLastLineContinuesIntoTheClosingEmptyLine) {
    AddUnit("lib", "message 7\\");
    ASSERT_TRUE(Compile("import lib\nmessage 8"));
    ASSERT_EQ(program.tokens.GetCount(), 2);
    EXPECT_EQ(Evaluated(0), "7");
}

TEST_F(UnitStatementsTest, ImportCyclesAndUnknownUnitsFail) {
    AddUnit("self", "import self");
    AddUnit("a", "import b");
    AddUnit("b", "import a");
    AddUnit("leaf", "int leafvar");
    AddUnit("twice", "import leaf");
    const struct {
        const char* text;
        int code;
    } cases[] = {{"import self", 30}, {"import a", 30}, {"import nosuchunit", 30}, {"import", 39}, {"import leaf,", 30}};
    for (const auto& c : cases) {
        EXPECT_FALSE(Compile(c.text)) << c.text;
        EXPECT_EQ(KRO_ErrorCode, c.code) << c.text;
    }
    // A unit imported twice in sequence is no cycle.
    EXPECT_TRUE(Compile("import leaf\nimport twice"));
}

TEST_F(UnitStatementsTest, UnitsComeFromResources) {
    EXPECT_FALSE(units.NewUnitFromResource("none", "NoSuchResource"));
    EXPECT_EQ(units.GetCount(), 0);
    ASSERT_TRUE(units.NewUnitFromResource("math", "MathUnit"));
    ASSERT_TRUE(Compile("import math\nmessage triple(unitvalue)"));
    EXPECT_EQ(program.functions.GetCount(), 1);
}

class UnitFileTest : public UnitStatementsTest {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/krounitsXXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
    }
    void TearDown() override {
        for (const std::string& file : files) std::remove(file.c_str());
        std::remove(folder.c_str());
    }
    void Write(const std::string& name, const std::string& text) {
        const std::string path = folder + "/" + name;
        FILE* file = std::fopen(path.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fwrite(text.data(), 1, text.size(), file);
        std::fclose(file);
        files.push_back(path);
    }
    std::string folder;
    std::vector<std::string> files;
};

TEST_F(UnitFileTest, ImportFindsFilesInTheDirectories) {
    Write("lib.txt", "int fromfile = 3");
    Write("Other.TXT", "int other = 4");
    Write("upper.txt", "int upper = 5");
    directories.Add(TString(folder));
    ASSERT_TRUE(Compile("import lib\nimport Other.TXT\nimport UPPER\nmessage fromfile+other+upper"));
    EXPECT_EQ(program.tokens.GetCount(), 4);
}

TEST_F(UnitFileTest, ImportTakesPathsWithEitherSeparator) {
    Write("bad.txt", "int a\nint b = \\\n+");
    std::string backslashed = folder;
    for (char& c : backslashed)
        if (c == '/') c = '\\';
    EXPECT_FALSE(Compile("import " + backslashed + "\\bad"));
    EXPECT_EQ(KRO_ErrorCode, 6);
    EXPECT_EQ(KRO_ErrorLine, 3);
    EXPECT_EQ(KRO_ErrorUnitName, TString(backslashed + "\\bad.txt"));
}

}  // namespace
