// Tests of the built-ins that ask the system: file sizes, commands, environment variables and the working directory.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "BuiltinTestSupport.h"

namespace {

using builtin_test::BuiltinTest;

class BuiltinSystemTest : public BuiltinTest {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() / ("eval-system-test-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string PathOf(const char* name) const { return (folder / name).string(); }

    std::filesystem::path folder;
};

TEST_F(BuiltinSystemTest, FileSizes) {
    const std::string small = PathOf("small");
    FILE* file = std::fopen(small.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("12345", file);
    std::fclose(file);
    EXPECT_EQ(Integer("get_file_size('" + small + "')"), 5);
    // A sparse file past 4 GB: the size needs more than 32 bits.
    const std::string large = PathOf("large");
    std::fclose(std::fopen(large.c_str(), "wb"));
    std::filesystem::resize_file(large, (std::uintmax_t{5} << 30) + 3);
    EXPECT_EQ(Integer("get_file_size('" + large + "')"), (int64_t{5} << 30) + 3);
    EXPECT_EQ(Integer("get_file_size('" + PathOf("missing") + "')"), -1);
    EXPECT_EQ(Integer("get_file_size('" + folder.string() + "')"), -1);
    EXPECT_EQ(Integer("get_file_size('')"), -1);
}

TEST_F(BuiltinSystemTest, CommandExitStatus) {
    EXPECT_EQ(Integer("system('exit 3')"), 3);
    EXPECT_EQ(Integer("system('true')"), 0);
    EXPECT_EQ(Integer("system('kill -9 $$')"), -1);  // ended by a signal
    const std::string marker = PathOf("marker");
    EXPECT_EQ(Integer("system('echo hi > " + marker + "')"), 0);
    EXPECT_TRUE(std::filesystem::exists(marker));
}

TEST_F(BuiltinSystemTest, EnvironmentAndWorkingDirectory) {
    ::setenv("EVAL_SYSTEM_TEST_NAME", "value 1", 1);
    ::unsetenv("EVAL_SYSTEM_TEST_UNSET");
    EXPECT_EQ(Text("getenv('EVAL_SYSTEM_TEST_NAME')"), "value 1");
    EXPECT_EQ(Text("getenv('EVAL_SYSTEM_TEST_UNSET')"), "");
    EXPECT_EQ(Text("getenv('')"), "");
    EXPECT_EQ(Text("getcwd()"), std::filesystem::current_path().string());
}

}  // namespace
