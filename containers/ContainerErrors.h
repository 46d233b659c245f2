// Exceptions of the Containers package: a bad index and a file that cannot be used.
#pragma once

#include <stdexcept>
#include <string>

// Thrown by typed element access (operator[], GetItem, GetString) for an index
// outside 0..count-1.
class TSDPPBadIndex : public std::out_of_range {
public:
    explicit TSDPPBadIndex(int index);
    int GetIndex() const { return fIndex; }

private:
    int fIndex;
};

// Thrown when a file cannot be opened, read or written, or holds damaged data.
class TSDPPFileException : public std::runtime_error {
public:
    TSDPPFileException(const std::string& fileName, const std::string& reason);
    const std::string& GetFileName() const { return fFileName; }

private:
    std::string fFileName;
};
