// Packing of the task dispatcher's pipe messages. The messages never leave the
// process, so fields are packed in their order with native byte order and
// native 8-byte pointers; this is the one exchanged format that does not use
// the fixed 32-bit layouts.
#pragma once

#include <cstdint>
#include <cstring>

#include "Pipe.h"

// Request codes on the command channel; their values travel in messages.
enum TDispatcherRequest : uint8_t {
    drAddTask = 0,
    drFinished = 1,
    drStop = 2,
    drWaitForGroup = 3,
    drGetNextGroupID = 4,
    drAddSubTask = 5,
    drWaitForTask = 6,
};

// Codes on a worker channel.
enum TWorkerCode : int32_t {
    wcEnd = 1,
    wcRun = 2,
};

// Builds one message to be written with a single call.
class TMessageWriter {
public:
    template <typename T>
    TMessageWriter& Put(T value) {
        static_assert(sizeof(T) <= 8, "message fields are small");
        std::memcpy(fBytes + fSize, &value, sizeof(T));
        fSize += int(sizeof(T));
        return *this;
    }
    bool WriteTo(TPipe& pipe) const { return pipe.Write(fBytes, fSize); }
    int Size() const { return fSize; }

private:
    unsigned char fBytes[32];
    int fSize = 0;
};

// Reads the fields of one message, all arriving with one read.
class TMessageReader {
public:
    bool ReadFrom(TPipe& pipe, int size) {
        fSize = size;
        fOffset = 0;
        return size <= int(sizeof fBytes) && pipe.Read(fBytes, size);
    }
    template <typename T>
    T Get() {
        T value{};
        if (fOffset + int(sizeof(T)) <= fSize) std::memcpy(&value, fBytes + fOffset, sizeof(T));
        fOffset += int(sizeof(T));
        return value;
    }

private:
    unsigned char fBytes[32];
    int fSize = 0;
    int fOffset = 0;
};

// Message sizes, from the fields above.
constexpr int workerMessageSize = 4 + 8;         // int32 code, task
constexpr int synchronousReportSize = 4 + 8;     // int32 worker, task
constexpr int finishedRequestSize = 4 + 8;       // after the code: int32 worker, task
constexpr int addTaskRequestSize = 8 + 4 + 8;    // after the code: task, int32 mode, reply
constexpr int replyOnlyRequestSize = 8;          // after the code: reply
constexpr int waitForGroupRequestSize = 4 + 8;   // after the code: int32 group, reply
constexpr int addSubTaskRequestSize = 8 + 1 + 8; // after the code: record, deferred, reply
constexpr int waitForTaskRequestSize = 8 + 8;    // after the code: task, reply
static_assert(sizeof(void*) == 8, "the message layouts assume 8-byte pointers");
