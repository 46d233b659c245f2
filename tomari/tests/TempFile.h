// A file in the test's temporary folder holding given bytes, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "String.h"

class TempFile {
public:
    explicit TempFile(const std::string& content) {
        static int counter = 0;
        // ctest runs tests in parallel processes, each counting from 1: the
        // test's own name keeps their files apart.
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = ::testing::TempDir() + "tomari_" + (test ? std::string(test->test_suite_name()) + "." + test->name() : "test") +
                "_" + std::to_string(++counter) + ".txt";
        FILE* file = std::fopen(path_.c_str(), "wb");
        std::fwrite(content.data(), 1, content.size(), file);
        std::fclose(file);
    }
    ~TempFile() { std::remove(path_.c_str()); }
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;
    TString Path() const { return TString(path_); }

private:
    std::string path_;
};
