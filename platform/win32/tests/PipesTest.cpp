// Anonymous pipes between threads: messages, whole small writes, and broken
// pipes reported as errors.
#include "Pipes.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "LastError.h"
#include "Synchronization.h"

namespace {

struct Pipe {
    Pipe(DWORD size = 0) { created = CreatePipe(&readEnd, &writeEnd, nullptr, size); }
    ~Pipe() {
        if (readEnd) CloseHandle(readEnd);
        if (writeEnd) CloseHandle(writeEnd);
    }
    void CloseRead() {
        CloseHandle(readEnd);
        readEnd = nullptr;
    }
    void CloseWrite() {
        CloseHandle(writeEnd);
        writeEnd = nullptr;
    }
    BOOL created = FALSE;
    HANDLE readEnd = nullptr;
    HANDLE writeEnd = nullptr;
};

// Reads exactly `size` bytes; false when the pipe breaks first.
bool ReadExactly(HANDLE readEnd, void* target, DWORD size) {
    for (DWORD done = 0; done < size;) {
        DWORD count = 0;
        if (!ReadFile(readEnd, static_cast<char*>(target) + done, size - done, &count, nullptr)) return false;
        done += count;
    }
    return true;
}

bool WriteMessage(HANDLE writeEnd, const std::string& text) {
    const std::string message = std::to_string(text.size()) + ":" + text;
    DWORD written = 0;
    return WriteFile(writeEnd, message.data(), DWORD(message.size()), &written, nullptr) &&
           written == message.size();
}

bool ReadMessage(HANDLE readEnd, std::string& text) {
    std::string length;
    for (char c = 0; ReadExactly(readEnd, &c, 1);) {
        if (c == ':') {
            text.assign(std::stoul(length), '\0');
            return ReadExactly(readEnd, &text[0], DWORD(text.size()));
        }
        length += c;
    }
    return false;
}

TEST(Pipes, MessagesTravelBetweenThreads) {
    Pipe pipe(4096);  // small, so that the writer has to wait for the reader
    ASSERT_TRUE(pipe.created);
    const int count = 300;
    std::thread writer([&] {
        for (int i = 0; i < count; ++i) ASSERT_TRUE(WriteMessage(pipe.writeEnd, std::string(i * 37, char('a' + i % 26))));
        pipe.CloseWrite();
    });
    for (int i = 0; i < count; ++i) {
        std::string text;
        ASSERT_TRUE(ReadMessage(pipe.readEnd, text)) << i;
        EXPECT_EQ(text, std::string(i * 37, char('a' + i % 26)));
    }
    writer.join();
    char byte;
    DWORD read = 99;
    EXPECT_FALSE(ReadFile(pipe.readEnd, &byte, 1, &read, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BROKEN_PIPE));
    EXPECT_EQ(read, 0u);
}

TEST(Pipes, WritesUpTo4096BytesAreNeverInterleaved) {
    for (DWORD size : {DWORD(0), DWORD(PIPE_ATOMIC_WRITE_SIZE)}) {
        Pipe pipe(size);
        const int writers = 4, messages = 100;
        std::vector<std::thread> threads;
        for (int w = 0; w < writers; ++w) {
            threads.emplace_back([&, w] {
                const std::vector<char> message(PIPE_ATOMIC_WRITE_SIZE, char('A' + w));
                for (int i = 0; i < messages; ++i)
                    WriteFile(pipe.writeEnd, message.data(), DWORD(message.size()), nullptr, nullptr);
            });
        }
        std::vector<int> received(writers, 0);
        std::vector<char> message(PIPE_ATOMIC_WRITE_SIZE);
        for (int i = 0; i < writers * messages; ++i) {
            ASSERT_TRUE(ReadExactly(pipe.readEnd, message.data(), DWORD(message.size())));
            const int writer = message[0] - 'A';
            ASSERT_TRUE(writer >= 0 && writer < writers);
            EXPECT_EQ(std::string(message.begin(), message.end()), std::string(message.size(), message[0]));
            ++received[writer];
        }
        for (std::thread& thread : threads) thread.join();
        EXPECT_EQ(received, std::vector<int>(writers, messages));
    }
}

TEST(Pipes, ReadsTakeWhatIsThereAndDrainAfterTheWriterCloses) {
    Pipe pipe;
    DWORD count = 0;
    ASSERT_TRUE(WriteFile(pipe.writeEnd, "0123456789", 10, &count, nullptr));
    EXPECT_EQ(count, 10u);
    pipe.CloseWrite();
    char buffer[100];
    EXPECT_TRUE(ReadFile(pipe.readEnd, buffer, 4, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "0123");
    EXPECT_TRUE(ReadFile(pipe.readEnd, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(std::string(buffer, count), "456789");
    EXPECT_FALSE(ReadFile(pipe.readEnd, buffer, sizeof buffer, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_BROKEN_PIPE));
}

TEST(Pipes, WritingToABrokenPipeIsAnErrorNotASignal) {
    Pipe pipe;
    pipe.CloseRead();
    DWORD written = 99;
    EXPECT_FALSE(WriteFile(pipe.writeEnd, "x", 1, &written, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NO_DATA));
    EXPECT_EQ(written, 0u);
}

TEST(Pipes, AWriterWaitingOnAFullPipeFailsWhenTheReaderCloses) {
    Pipe pipe(4096);
    const std::vector<char> data(10000, 'z');
    DWORD written = 0;
    BOOL result = TRUE;
    DWORD error = 0;
    std::thread writer([&] {
        result = WriteFile(pipe.writeEnd, data.data(), DWORD(data.size()), &written, nullptr);
        error = GetLastError();
    });
    char first[100];
    ASSERT_TRUE(ReadExactly(pipe.readEnd, first, sizeof first));
    pipe.CloseRead();
    writer.join();
    EXPECT_FALSE(result);
    EXPECT_EQ(error, DWORD(ERROR_NO_DATA));
    EXPECT_GE(written, DWORD(sizeof first));
    EXPECT_LT(written, DWORD(data.size()));
}

TEST(Pipes, WrongEndsAndHandlesAreRefused) {
    Pipe pipe;
    char byte = 0;
    DWORD count = 0;
    EXPECT_FALSE(ReadFile(pipe.writeEnd, &byte, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(WriteFile(pipe.readEnd, &byte, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(ReadFile(pipe.readEnd, &byte, 1, &count, reinterpret_cast<LPOVERLAPPED>(&byte)));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));

    HANDLE event = CreateEventA(nullptr, TRUE, TRUE, nullptr);
    EXPECT_FALSE(WriteFile(event, &byte, 1, &count, nullptr));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    CloseHandle(event);
    EXPECT_FALSE(CreatePipe(nullptr, nullptr, nullptr, 0));
}

}  // namespace
