// TPipe: an anonymous pipe pair shared by reference count among its copies;
// the only means by which the package's threads talk to each other.
#pragma once

#include <string>

#include "Win32.h"

class TPipe {
public:
    // Creates the pipe (default buffer, not inherited) and its count of 1. When
    // the pipe cannot be made the object is unusable: reads and writes move nothing.
    TPipe();
    // The copy shares the other's pipe pair; the pair closes with its last copy.
    TPipe(const TPipe& other);
    // Gives up the previous share as the destructor does, then shares the other's.
    TPipe& operator=(const TPipe& other);
    ~TPipe();

    bool IsUsable() const { return fUsable; }

    // Writes all n bytes as one write, so that messages of several writers are
    // never interleaved. Retries only a write that was cut short without an
    // error; false when the pipe is unusable, n is negative, data is null with
    // n above 0, or every reader has gone (a broken pipe).
    bool Write(const void* data, int n);
    // Reads exactly n bytes, blocking while the pipe is empty. False, with
    // what has arrived left in data, when the pipe is unusable, n is negative
    // or every writer has gone before n bytes came.
    bool Read(void* data, int n);

    // One write: int32 length (little-endian), then the characters, no terminator.
    bool Write(const std::string& text);
    // Reads a string written by Write(string): the text up to its first zero
    // byte. False, with the string empty, on a negative length or a broken pipe.
    bool Read(std::string& text);

    // One byte: 1 or 0.
    bool WriteBool(bool value);
    // Reads one byte; false for 0 and when nothing can be read.
    bool ReadBool();

    // The two ends, for callers that wait on them or close one end on purpose.
    HANDLE GetReadHandle() const { return fReadHandle; }
    HANDLE GetWriteHandle() const { return fWriteHandle; }

private:
    void Share(const TPipe& other);
    void Release();

    int* fReferenceCount = nullptr;
    HANDLE fReadHandle = nullptr;
    HANDLE fWriteHandle = nullptr;
    HANDLE fMutex = nullptr;
    bool fUsable = false;
};
