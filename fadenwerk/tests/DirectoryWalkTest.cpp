// Tests of ProcessDir over a temporary tree with a symbolic link cycle.
#include <gtest/gtest.h>

#include <filesystem>

#include "DirectoryWalk.h"
#include "Paths.h"
#include "TemporaryFolder.h"

namespace {

using fadenwerk_tests::TemporaryFolder;
using Paths = std::vector<std::string>;

// top: f1.txt File2.TXT skip.log pack.zip a/ excluded/ z/; a: a1.txt link.txt
// (a link to ../f1.txt) b/; a/b: b1.txt loop (a link to ..) c/; a/b/c: c1.txt.
class DirectoryWalk : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* file : {"f1.txt", "File2.TXT", "skip.log", "pack.zip", "a/a1.txt", "a/b/b1.txt",
                                 "a/b/c/c1.txt", "excluded/e.txt", "z/z1.txt"})
            tree_.AddFile(file, "x");
        std::filesystem::create_directory_symlink("..", tree_ / "a/b/loop");
        std::filesystem::create_symlink("../f1.txt", tree_ / "a/link.txt");
        before_ = GetWorkingDirectory();
    }
    void TearDown() override { EXPECT_EQ(before_, GetWorkingDirectory()); }

    TProcessDirData Walk(int maxDepth) {
        TProcessDirData data;
        data.dir = tree_.Path();
        data.includes = {"*.txt"};
        data.maxDepth = maxDepth;
        return data;
    }

    TemporaryFolder tree_;
    std::string before_;
};

TEST_F(DirectoryWalk, DepthLimitsAndOrder) {
    TProcessDirData top = Walk(0);
    EXPECT_FALSE(ProcessDir(top));
    EXPECT_EQ(Paths({"f1.txt"}), top.files);
    EXPECT_EQ(Paths(), top.dirs);

    TProcessDirData one = Walk(1);
    ProcessDir(one);
    EXPECT_EQ(Paths({"a", "excluded", "z"}), one.dirs);
    EXPECT_EQ(Paths({"a/a1.txt", "a/link.txt", "excluded/e.txt", "f1.txt", "z/z1.txt"}), one.files);

    TProcessDirData all = Walk(-1);
    ProcessDir(all);
    EXPECT_EQ(Paths({"a", "a/b", "a/b/c", "excluded", "z"}), all.dirs);
    EXPECT_EQ(Paths({"a/a1.txt", "a/b/b1.txt", "a/b/c/c1.txt", "a/link.txt", "excluded/e.txt", "f1.txt",
                     "z/z1.txt"}),
              all.files);
}

TEST_F(DirectoryWalk, IncludesExcludesCaseAndZip) {
    Paths files;
    Paths dirs;
    ProcessDir(tree_.Path(), {"*.txt", "*.log"}, {"f*", "*1.txt"}, {"exc*", "b"}, files, dirs, -1, false, true);
    EXPECT_EQ(Paths({"a", "z"}), dirs);
    EXPECT_EQ(Paths({"a/link.txt", "pack.zip", "skip.log"}), files);

    ProcessDir(tree_.Path(), {"*.TXT"}, {}, {"*"}, files, dirs, -1, true, false);
    EXPECT_EQ(Paths({"File2.TXT", "f1.txt"}), files);
    ProcessDir(tree_.Path(), {"*.TXT"}, {}, {"*"}, files, dirs, -1, false, false);
    EXPECT_EQ(Paths({"File2.TXT"}), files);
    ProcessDir(tree_.Path(), {}, {}, {}, files, dirs, 0, false, false);
    EXPECT_EQ(Paths(), files);
}

TEST_F(DirectoryWalk, HooksSeeEveryStep) {
    Paths entered;
    Paths listed;
    Paths acceptedArguments;
    TProcessDirData data = Walk(-1);
    data.onDir = [&](const std::string& dir) { entered.push_back(dir); };
    data.onFile = [&](const std::string& path) { listed.push_back(path); };
    data.accept = [&](const std::string& name, const std::string& dir, int depth, const Paths& files) {
        acceptedArguments.push_back(name + "|" + dir + "|" + std::to_string(depth) + "|" +
                                    std::to_string(files.size()));
        EXPECT_TRUE(std::filesystem::exists(name)) << "the working directory is the file's";
        return name != "b1.txt";
    };
    ProcessDir(data);
    EXPECT_EQ(Paths({"", "a", "a/b", "a/b/c", "excluded", "z"}), entered);
    EXPECT_EQ(data.files, listed);
    EXPECT_EQ(Paths({"a/a1.txt", "a/b/c/c1.txt", "a/link.txt", "excluded/e.txt", "f1.txt", "z/z1.txt"}), listed);
    ASSERT_EQ(7u, acceptedArguments.size());
    EXPECT_EQ("b1.txt|a/b|2|1", acceptedArguments[1]);
}

TEST_F(DirectoryWalk, CancelInsideASubdirectoryStopsAtOnce) {
    bool inside = false;
    TProcessDirData data = Walk(-1);
    data.onDir = [&](const std::string& dir) { inside = inside || dir == "a/b"; };
    data.cancel = [&]() { return inside; };
    EXPECT_TRUE(ProcessDir(data));
    EXPECT_EQ(Paths({"a", "a/b"}), data.dirs);
    EXPECT_EQ(Paths({"a/a1.txt"}), data.files);
}

TEST_F(DirectoryWalk, MissingFolderAndOneIncludeForm) {
    Paths files = {"stale"};
    Paths dirs = {"stale"};
    EXPECT_FALSE(ProcessDir(tree_ / "missing", {"*"}, {}, {}, files, dirs, -1, false, false));
    EXPECT_TRUE(files.empty());
    EXPECT_TRUE(dirs.empty());
    EXPECT_FALSE(ProcessDir(tree_ / "a", "*1.txt", files, -1, false, false));
    EXPECT_EQ(Paths({"a1.txt", "b/b1.txt", "b/c/c1.txt"}), files);
    TTempDirChange change;
    ASSERT_TRUE(change.Init(tree_ / "z"));
    EXPECT_FALSE(ProcessDir("", "*", files, -1, false, false));
    EXPECT_EQ(Paths({"z1.txt"}), files);
}

}  // namespace
