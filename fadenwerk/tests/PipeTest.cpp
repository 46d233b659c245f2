// Tests of TPipe: shared copies, whole messages, strings and broken pipes.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "Pipe.h"

TEST(Pipe, CopiesShareOnePairThatClosesWithTheLastCopy) {
    HANDLE readHandle, writeHandle;
    {
        TPipe original;
        ASSERT_TRUE(original.IsUsable());
        readHandle = original.GetReadHandle();
        writeHandle = original.GetWriteHandle();
        {
            TPipe copy(original);
            TPipe assigned;
            assigned = copy;
            EXPECT_EQ(copy.GetReadHandle(), readHandle);
            EXPECT_EQ(assigned.GetWriteHandle(), writeHandle);
            ASSERT_TRUE(copy.WriteBool(true));
            EXPECT_TRUE(assigned.ReadBool());
        }
        // The copies are gone; the pair still works for the original.
        ASSERT_TRUE(original.WriteBool(false));
        ASSERT_TRUE(original.WriteBool(true));
        EXPECT_FALSE(original.ReadBool());
        EXPECT_TRUE(original.ReadBool());
    }
    EXPECT_FALSE(CloseHandle(readHandle));
    EXPECT_FALSE(CloseHandle(writeHandle));
}

TEST(Pipe, StringsTravelWithTheirLength) {
    const std::string cases[] = {"", "a", "line of text", std::string(10000, 'x')};
    TPipe pipe;
    for (const std::string& text : cases) {
        std::string back = "old";
        std::thread writer([&] { pipe.Write(text); });
        ASSERT_TRUE(pipe.Read(back));
        writer.join();
        EXPECT_EQ(back, text);
    }
    // The empty string is four zero bytes.
    pipe.Write(std::string());
    unsigned char raw[4] = {9, 9, 9, 9};
    ASSERT_TRUE(pipe.Read(raw, 4));
    EXPECT_EQ(raw[0] | raw[1] | raw[2] | raw[3], 0);
    // A zero byte ends the text, but the whole message is consumed.
    pipe.Write(std::string("ab\0cd", 5));
    pipe.WriteBool(true);
    std::string cut;
    ASSERT_TRUE(pipe.Read(cut));
    EXPECT_EQ(cut, "ab");
    EXPECT_TRUE(pipe.ReadBool());
}

TEST(Pipe, LengthIsLittleEndian) {
    TPipe pipe;
    pipe.Write(std::string(258, 'q'));
    unsigned char length[4];
    ASSERT_TRUE(pipe.Read(length, 4));
    EXPECT_EQ(length[0], 2);
    EXPECT_EQ(length[1], 1);
    std::vector<char> rest(258);
    ASSERT_TRUE(pipe.Read(rest.data(), 258));
}

TEST(Pipe, ReadsAndWritesLargerThanTheBufferMeetAcrossThreads) {
    TPipe pipe;
    std::vector<char> sent(300000), received(sent.size());
    for (size_t i = 0; i < sent.size(); ++i) sent[i] = char(i * 7);
    std::thread writer([&] { EXPECT_TRUE(pipe.Write(sent.data(), int(sent.size()))); });
    ASSERT_TRUE(pipe.Read(received.data(), int(received.size())));
    writer.join();
    EXPECT_EQ(sent, received);
}

TEST(Pipe, BrokenPipesAndBadArgumentsFailInsteadOfSpinning) {
    TPipe noReader;
    CloseHandle(noReader.GetReadHandle());
    EXPECT_FALSE(noReader.Write("abc", 3));
    EXPECT_FALSE(noReader.WriteBool(true));

    TPipe noWriter;
    noWriter.WriteBool(true);
    CloseHandle(noWriter.GetWriteHandle());
    EXPECT_TRUE(noWriter.ReadBool());  // what was written still arrives
    char byte;
    EXPECT_FALSE(noWriter.Read(&byte, 1));
    std::string text = "old";
    EXPECT_FALSE(noWriter.Read(text));
    EXPECT_EQ(text, "");

    TPipe pipe;
    EXPECT_FALSE(pipe.Write(nullptr, 4));
    EXPECT_FALSE(pipe.Write("x", -1));
    EXPECT_FALSE(pipe.Read(&byte, -1));
    EXPECT_TRUE(pipe.Write(nullptr, 0));
}
