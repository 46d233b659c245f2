// Anonymous pipes as ring buffers in memory: the two ends are kernel objects
// that share one buffer. Being in memory, a pipe cannot raise a signal when
// its reader has gone, and small writes stay whole without any system call.
#include "Pipes.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "KernelObject.h"

namespace win32 {
namespace {

const DWORD defaultPipeSize = 64 * 1024;

class PipeBuffer {
public:
    explicit PipeBuffer(size_t capacity) : bytes_(capacity) {}

    // Copies up to `size` bytes once some are there; 0 when the pipe is empty
    // and has no writer left.
    size_t Read(char* target, size_t size) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return used_ > 0 || writers_ == 0; });
        const size_t count = std::min(size, used_);
        for (size_t copied = 0; copied < count;) {
            const size_t run = std::min(count - copied, bytes_.size() - start_);
            std::memcpy(target + copied, bytes_.data() + start_, run);
            start_ = (start_ + run) % bytes_.size();
            copied += run;
        }
        used_ -= count;
        if (count > 0) changed_.notify_all();
        return count;
    }

    // Copies all bytes, waiting for room; a write no longer than the atomic
    // size waits until it fits whole. Returns the bytes written, fewer when
    // the last reader went.
    size_t Write(const char* source, size_t size) {
        std::unique_lock<std::mutex> lock(mutex_);
        const size_t wholeAtOnce = size <= PIPE_ATOMIC_WRITE_SIZE ? size : 1;
        size_t written = 0;
        while (written < size) {
            changed_.wait(lock, [&] { return readers_ == 0 || bytes_.size() - used_ >= wholeAtOnce; });
            if (readers_ == 0) break;
            written += CopyInLocked(source + written, size - written);
            changed_.notify_all();
        }
        return written;
    }

    void AddEnd(bool writeEnd) {
        std::lock_guard<std::mutex> lock(mutex_);
        ++(writeEnd ? writers_ : readers_);
    }

    void CloseEnd(bool writeEnd) {
        std::lock_guard<std::mutex> lock(mutex_);
        --(writeEnd ? writers_ : readers_);
        changed_.notify_all();
    }

private:
    size_t CopyInLocked(const char* source, size_t size) {
        const size_t count = std::min(size, bytes_.size() - used_);
        size_t end = (start_ + used_) % bytes_.size();
        for (size_t copied = 0; copied < count;) {
            const size_t run = std::min(count - copied, bytes_.size() - end);
            std::memcpy(bytes_.data() + end, source + copied, run);
            end = (end + run) % bytes_.size();
            copied += run;
        }
        used_ += count;
        return count;
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<char> bytes_;
    size_t start_ = 0;
    size_t used_ = 0;
    int readers_ = 0;
    int writers_ = 0;
};

// One end of a pipe; the end closes when its object goes.
class PipeEnd : public KernelObject {
public:
    PipeEnd(std::shared_ptr<PipeBuffer> buffer, bool writeEnd) : buffer_(std::move(buffer)), writeEnd_(writeEnd) {
        buffer_->AddEnd(writeEnd_);
    }
    ~PipeEnd() override { buffer_->CloseEnd(writeEnd_); }

    bool IsWriteEnd() const { return writeEnd_; }
    PipeBuffer& Buffer() { return *buffer_; }

private:
    std::shared_ptr<PipeBuffer> buffer_;
    const bool writeEnd_;
};

// The pipe end for a read or write call, or null with the error set.
std::shared_ptr<PipeEnd> PipeEndFor(HANDLE handle, bool writing, const void* buffer, LPOVERLAPPED overlapped) {
    if (overlapped || !buffer) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::shared_ptr<PipeEnd> end = FindHandleOf<PipeEnd>(handle);
    if (end && end->IsWriteEnd() != writing) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    return end;
}

}  // namespace
}  // namespace win32

BOOL CreatePipe(LPHANDLE readPipe, LPHANDLE writePipe, LPSECURITY_ATTRIBUTES, DWORD size) {
    if (!readPipe || !writePipe) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    const DWORD capacity = size == 0 ? win32::defaultPipeSize : std::max<DWORD>(size, PIPE_ATOMIC_WRITE_SIZE);
    auto buffer = std::make_shared<win32::PipeBuffer>(capacity);
    *readPipe = win32::AddHandle(std::make_shared<win32::PipeEnd>(buffer, false));
    *writePipe = win32::AddHandle(std::make_shared<win32::PipeEnd>(buffer, true));
    return TRUE;
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD bytesToRead, LPDWORD bytesRead, LPOVERLAPPED overlapped) {
    if (bytesRead) *bytesRead = 0;
    std::shared_ptr<win32::PipeEnd> end = win32::PipeEndFor(file, false, buffer, overlapped);
    if (!end) return FALSE;
    if (bytesToRead == 0) return TRUE;
    const size_t count = end->Buffer().Read(static_cast<char*>(buffer), bytesToRead);
    if (bytesRead) *bytesRead = DWORD(count);
    if (count > 0) return TRUE;
    SetLastError(ERROR_BROKEN_PIPE);
    return FALSE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD bytesToWrite, LPDWORD bytesWritten, LPOVERLAPPED overlapped) {
    if (bytesWritten) *bytesWritten = 0;
    std::shared_ptr<win32::PipeEnd> end = win32::PipeEndFor(file, true, buffer, overlapped);
    if (!end) return FALSE;
    const size_t count = end->Buffer().Write(static_cast<const char*>(buffer), bytesToWrite);
    if (bytesWritten) *bytesWritten = DWORD(count);
    if (count == bytesToWrite) return TRUE;
    SetLastError(ERROR_NO_DATA);
    return FALSE;
}
