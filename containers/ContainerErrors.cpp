// Exceptions of the Containers package.
#include "ContainerErrors.h"

TSDPPBadIndex::TSDPPBadIndex(int index)
    : std::out_of_range("index " + std::to_string(index) + " is out of range"), fIndex(index) {}

TSDPPFileException::TSDPPFileException(const std::string& fileName, const std::string& reason)
    : std::runtime_error(fileName + ": " + reason), fFileName(fileName) {}
