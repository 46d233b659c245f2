// Tests of numbered temporary names and self-removing temporary files.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <thread>

#include "TempFileNames.h"

namespace {

unsigned long long NumberOf(const std::string& name, const std::string& prefix) {
    EXPECT_EQ(0u, name.rfind(prefix + "_TEMP_", 0)) << name;
    return std::stoull(name.substr(prefix.size() + 6));
}

TEST(TempFileNames, PrefixAndCounter) {
    GetTempFileNameInit("x");
    const unsigned long long first = NumberOf(GetTempFileNameA(), "x");
    EXPECT_EQ(first + 1, NumberOf(GetTempFileNameA(), "x"));
    const std::string longPrefix(300, 'p');
    GetTempFileNameInit(longPrefix);
    EXPECT_EQ(first + 2, NumberOf(GetTempFileNameA(), longPrefix));
    GetTempFileNameDone();
    GetTempFileNameInit("");
    EXPECT_EQ("_TEMP_" + std::to_string(first + 3), GetTempFileNameA());
}

TEST(TempFileNames, ThreadsNeverShareANumber) {
    GetTempFileNameInit("t");
    std::vector<std::vector<std::string>> names(8);
    std::vector<std::thread> threads;
    for (auto& list : names)
        threads.emplace_back([&list]() {
            for (int i = 0; i < 1000; ++i) list.push_back(GetTempFileNameA());
        });
    for (std::thread& thread : threads) thread.join();
    std::set<std::string> unique;
    for (const auto& list : names) unique.insert(list.begin(), list.end());
    EXPECT_EQ(8000u, unique.size());
}

TEST(TempFileNames, TempFileExistsWhileTheObjectLives) {
    std::string kept;
    {
        TTempFileName first;
        TTempFileName second;
        ASSERT_FALSE(first.GetName().empty());
        EXPECT_NE(first.GetName(), second.GetName());
        EXPECT_TRUE(std::filesystem::is_regular_file(first.GetName()));
        kept = first.GetName();
    }
    EXPECT_FALSE(std::filesystem::exists(kept));
}

}  // namespace
