// Tests of TStdOutBuffer's flushing, written to a temporary file.
#include <gtest/gtest.h>

#include <cstdio>

#include "StdOutBuffer.h"

namespace {

// What has reached the file so far.
std::string Written(FILE* file) {
    std::fflush(file);
    std::rewind(file);
    std::string text;
    for (int c = std::fgetc(file); c != EOF; c = std::fgetc(file)) text += static_cast<char>(c);
    std::fseek(file, 0, SEEK_END);
    return text;
}

TEST(StdOutBuffer, FlushesWhenOnePlaceIsLeft) {
    FILE* file = std::tmpfile();
    ASSERT_NE(nullptr, file);
    {
        TStdOutBuffer buffer(4);
        buffer.SetOutput(file);
        buffer.Add("abcdefg", false);
        EXPECT_EQ("abcdef", Written(file));
        EXPECT_EQ(1, buffer.GetPos());
        buffer.Write(42, true);
        buffer.Write(std::string("z"), false);
        EXPECT_EQ("abcdefg\n4", Written(file));
        EXPECT_EQ(2, buffer.GetPos());
        buffer.Flush();
        EXPECT_EQ("abcdefg\n42z", Written(file));
        EXPECT_EQ(0, buffer.GetPos());
        buffer.WriteLine(nullptr);
        buffer.Add("tail", false);
    }
    EXPECT_EQ("abcdefg\n42z\ntail", Written(file));
    std::fclose(file);
}

TEST(StdOutBuffer, TinyCapacitiesStillFlush) {
    for (int capacity : {-5, 0, 1, 2}) {
        FILE* file = std::tmpfile();
        ASSERT_NE(nullptr, file);
        TStdOutBuffer buffer(capacity);
        buffer.SetOutput(file);
        buffer.Add("xyz", true);
        EXPECT_EQ(0, buffer.GetPos());
        EXPECT_EQ("xyz\n", Written(file)) << capacity;
        buffer.Init(1);
        buffer.Write("q", false);
        EXPECT_EQ("xyz\nq", Written(file));
        buffer.SetOutput(nullptr);
        std::fclose(file);
    }
}

TEST(StdOutBuffer, DefaultCapacityHoldsText) {
    FILE* file = std::tmpfile();
    ASSERT_NE(nullptr, file);
    TStdOutBuffer buffer;
    buffer.SetOutput(file);
    buffer.Write(std::string(65534, 'a'), false);
    EXPECT_EQ(65534, buffer.GetPos());
    buffer.Add("b", false);
    EXPECT_EQ(0, buffer.GetPos());
    EXPECT_EQ(65535u, Written(file).size());
    buffer.SetOutput(nullptr);
    std::fclose(file);
}

}  // namespace
