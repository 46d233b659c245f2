// The temporary tree that the file and folder tests work on.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "TemporaryFolder.h"

namespace kernel_tests {

// alpha.txt (5 bytes), sub/inner.txt, .hidden, readonly.txt, and links to
// alpha.txt, to sub and to nothing.
class FileTree : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(tree.Path().empty());
        tree.AddFile("alpha.txt", "hello");
        tree.AddFile(".hidden", "h");
        tree.AddFile("readonly.txt", "r");
        ASSERT_EQ(chmod((tree / "readonly.txt").c_str(), 0444), 0);
        ASSERT_TRUE(std::filesystem::create_directory(tree / "sub"));
        tree.AddFile("sub/inner.txt", "inner");
        std::filesystem::create_symlink("alpha.txt", tree / "link-to-alpha");
        std::filesystem::create_directory_symlink("sub", tree / "link-to-sub");
        std::filesystem::create_symlink("missing", tree / "dangling");
    }

    TemporaryFolder tree;
};

}  // namespace kernel_tests
