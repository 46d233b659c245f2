// Tests of path pieces, the saved working directory and path creation.
#include <gtest/gtest.h>

#include <filesystem>

#include "Paths.h"
#include "TemporaryFolder.h"

namespace {

using fadenwerk_tests::TemporaryFolder;

TEST(Paths, Pieces) {
    struct Case {
        const char* path;
        const char* name;
        const char* extension;
        const char* nameWithExtension;
        const char* folder;
    };
    const Case cases[] = {
        {"c:\\x\\report.final.txt", "report.final", "txt", "report.final.txt", "c:\\x"},
        {"dir.old\\file", "file", "", "file", "dir.old"},
        {"dir.old/file", "file", "", "file", "dir.old"},
        {"file.txt", "file", "txt", "file.txt", ""},
        {"/a/b\\c.d", "c", "d", "c.d", "/a/b"},
        {"a/", "", "", "", "a"},
        {"a/.profile", "", "profile", ".profile", "a"},
        {"", "", "", "", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.name, GetFileName(c.path)) << c.path;
        EXPECT_EQ(c.extension, GetFileExt(c.path)) << c.path;
        EXPECT_EQ(c.nameWithExtension, GetFileNameExt(c.path)) << c.path;
        EXPECT_EQ(c.folder, GetFilePath(c.path)) << c.path;
    }
}

TEST(Paths, SeparatorsAndComparison) {
    EXPECT_STREQ("/", FileUtilsDirSeparator());
    std::string path = "a\\b/c\\";
    ToPlatformFileName(path);
    EXPECT_EQ("a/b/c/", path);
    EXPECT_TRUE(FileNamesEqual("a\\b/c", "a/b\\c"));
    EXPECT_FALSE(FileNamesEqual("a/B", "a/b"));
    EXPECT_FALSE(FileNamesEqual("a/b", "a/bc"));
    EXPECT_FALSE(FileNamesEqual("a/b", "a.b"));
}

TEST(Paths, TempDirChangeRestoresAnyLengthOfPath) {
    TemporaryFolder folder;
    std::string deep = folder.Path();
    while (deep.size() < 1500) deep += "/" + std::string(100, 'd');
    std::filesystem::create_directories(deep);
    deep = std::filesystem::canonical(deep).string();
    const std::string before = GetWorkingDirectory();
    {
        TTempDirChange outer;
        ASSERT_TRUE(outer.Init(deep));
        EXPECT_EQ(deep, GetWorkingDirectory());
        {
            TTempDirChange inner(1024);
            ASSERT_TRUE(inner.Init(".."));
            EXPECT_EQ(deep, inner.GetSavedDir());
        }
        EXPECT_EQ(deep, GetWorkingDirectory());
        TTempDirChange unchanged;
        EXPECT_TRUE(unchanged.Init("./"));
        EXPECT_TRUE(unchanged.Init(".\\"));
        EXPECT_EQ(deep, GetWorkingDirectory());
        EXPECT_FALSE(unchanged.Init(folder / "missing"));
    }
    EXPECT_EQ(before, GetWorkingDirectory());
}

TEST(Paths, CreatePathMakesEveryFolder) {
    TemporaryFolder folder;
    const std::string before = GetWorkingDirectory();
    EXPECT_TRUE(CreatePath("  " + folder.Path() + "/a\\b//c"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "a/b/c"));
    EXPECT_TRUE(CreatePath(folder / "a/b/c"));
    EXPECT_TRUE(CreateFilePath(folder / "x/y/file.txt"));
    EXPECT_TRUE(std::filesystem::is_directory(folder / "x/y"));
    EXPECT_FALSE(std::filesystem::exists(folder / "x/y/file.txt"));
    EXPECT_FALSE(CreatePath("   "));
    EXPECT_FALSE(CreatePath(""));
    folder.AddFile("plain", "x");
    EXPECT_FALSE(CreatePath(folder / "plain/sub"));
    EXPECT_EQ(before, GetWorkingDirectory());
}

TEST(Paths, OpenFileWithPathCreatesFoldersAndRejectsFolders) {
    TemporaryFolder folder;
    FILE* file = OpenFileWithPath(folder / "n/m/out.txt", "wb");
    ASSERT_NE(nullptr, file);
    std::fputs("hi", file);
    std::fclose(file);
    EXPECT_EQ(2u, std::filesystem::file_size(folder / "n/m/out.txt"));
    EXPECT_EQ(nullptr, OpenFileWithPath(folder / "n/m", "rb"));
    folder.AddFile("blocker", "");
    EXPECT_EQ(nullptr, OpenFileWithPath(folder / "blocker/out.txt", "wb"));
}

}  // namespace
