// TPipe: anonymous pipe pairs shared by reference count, and their message helpers.
#include "Pipe.h"

#include <cstdint>
#include <cstring>
#include <vector>

TPipe::TPipe() {
    fUsable = CreatePipe(&fReadHandle, &fWriteHandle, nullptr, 0) != FALSE;
    if (!fUsable) fReadHandle = fWriteHandle = nullptr;
    fMutex = CreateMutexA(nullptr, FALSE, nullptr);
    fReferenceCount = new int(1);
}

TPipe::TPipe(const TPipe& other) { Share(other); }

TPipe& TPipe::operator=(const TPipe& other) {
    if (this == &other || fReferenceCount == other.fReferenceCount) return *this;
    Release();
    Share(other);
    return *this;
}

TPipe::~TPipe() { Release(); }

void TPipe::Share(const TPipe& other) {
    WaitForSingleObject(other.fMutex, INFINITE);
    ++*other.fReferenceCount;
    ReleaseMutex(other.fMutex);
    fReferenceCount = other.fReferenceCount;
    fReadHandle = other.fReadHandle;
    fWriteHandle = other.fWriteHandle;
    fMutex = other.fMutex;
    fUsable = other.fUsable;
}

void TPipe::Release() {
    if (fReferenceCount == nullptr) return;
    WaitForSingleObject(fMutex, INFINITE);
    const bool last = --*fReferenceCount == 0;
    ReleaseMutex(fMutex);
    if (last) {
        if (fUsable) {
            CloseHandle(fReadHandle);
            CloseHandle(fWriteHandle);
        }
        delete fReferenceCount;
        if (fMutex) CloseHandle(fMutex);
    }
    fReferenceCount = nullptr;
    fReadHandle = fWriteHandle = fMutex = nullptr;
    fUsable = false;
}

bool TPipe::Write(const void* data, int n) {
    if (!fUsable || n < 0 || (data == nullptr && n > 0)) return false;
    const char* bytes = static_cast<const char*>(data);
    int left = n;
    while (left > 0) {
        DWORD written = 0;
        // A failed write means the readers are gone or the handle is bad:
        // retrying would spin for ever, so give up.
        if (!WriteFile(fWriteHandle, bytes, DWORD(left), &written, nullptr)) return false;
        bytes += written;
        left -= int(written);
        if (written == 0) Sleep(0);
    }
    return true;
}

bool TPipe::Read(void* data, int n) {
    if (!fUsable || n < 0 || (data == nullptr && n > 0)) return false;
    char* bytes = static_cast<char*>(data);
    int left = n;
    while (left > 0) {
        DWORD read = 0;
        if (!ReadFile(fReadHandle, bytes, DWORD(left), &read, nullptr)) return false;
        bytes += read;
        left -= int(read);
    }
    return true;
}

bool TPipe::Write(const std::string& text) {
    const uint32_t length = uint32_t(text.size());
    std::vector<char> message(4 + text.size());
    for (int i = 0; i < 4; ++i) message[size_t(i)] = char((length >> (8 * i)) & 0xFF);
    if (!text.empty()) std::memcpy(message.data() + 4, text.data(), text.size());
    return Write(message.data(), int(message.size()));
}

bool TPipe::Read(std::string& text) {
    text.clear();
    unsigned char lengthBytes[4];
    if (!Read(lengthBytes, 4)) return false;
    const uint32_t length = uint32_t(lengthBytes[0]) | uint32_t(lengthBytes[1]) << 8 |
                            uint32_t(lengthBytes[2]) << 16 | uint32_t(lengthBytes[3]) << 24;
    if (length > 0x7FFFFFFFu) return false;
    // Grown piece by piece, so a damaged length cannot claim memory before
    // the bytes have arrived.
    std::string bytes;
    char piece[4096];
    for (uint32_t left = length; left > 0;) {
        const uint32_t size = left < sizeof piece ? left : uint32_t(sizeof piece);
        if (!Read(piece, int(size))) return false;
        bytes.append(piece, size);
        left -= size;
    }
    text.assign(bytes.c_str());
    return true;
}

bool TPipe::WriteBool(bool value) {
    const unsigned char byte = value ? 1 : 0;
    return Write(&byte, 1);
}

bool TPipe::ReadBool() {
    unsigned char byte = 0;
    return Read(&byte, 1) && byte != 0;
}
