// TContainerItem: default storage forms in FILE streams and files.
#include "ContainerItem.h"

#include <algorithm>
#include <cstdlib>
#include <istream>
#include <iterator>
#include <ostream>
#include <string>
#include <typeinfo>
#include <vector>

#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "String.h"

namespace {

const unsigned long kStreamChunk = 65536;

// Closes the file when the scope ends.
struct FileCloser {
    FILE* file;
    ~FileCloser() {
        if (file != nullptr) std::fclose(file);
    }
};

}  // namespace

bool ReadStreamBlock(FILE* file, unsigned long size, TMemBuffer& buffer) {
    if (file == nullptr) return false;
    std::vector<unsigned char> chunk(std::min(size, kStreamChunk));
    while (size > 0) {
        const size_t piece = std::min(size, kStreamChunk);
        const size_t got = std::fread(chunk.data(), 1, piece, file);
        buffer.Add(chunk.data(), static_cast<int>(got));
        if (got < piece) return false;
        size -= piece;
    }
    return true;
}

TContainerItem::~TContainerItem() = default;

void TContainerItem::Assign(const TContainerItem&) {}

bool TContainerItem::Assigned() const { return true; }

void TContainerItem::Init() {}

void TContainerItem::SaveToStream(FILE* file) const {
    TMemBuffer form;
    WriteToMemBuffer(form);
    TMemBuffer head;
    head.AddUInt32(static_cast<uint32_t>(form.GetSize()));
    std::fwrite(head.GetBlock(), 1, 4, file);
    if (form.GetSize() > 0) std::fwrite(form.GetBlock(), 1, static_cast<size_t>(form.GetSize()), file);
}

bool TContainerItem::LoadFromStream(FILE* file) {
    TMemBuffer head, form;
    uint32_t size = 0;
    if (!ReadStreamBlock(file, 4, head) || !head.ReadUInt32(size) || !ReadStreamBlock(file, size, form)) return false;
    return ReadFromMemBuffer(form) && form.GetRemaining() == 0;
}

void TContainerItem::WriteToStream(FILE* file) const { SaveToStream(file); }

bool TContainerItem::ReadFromStream(FILE* file) { return LoadFromStream(file); }

void TContainerItem::WriteToStdStream(std::ostream& stream) const {
    char* data = nullptr;
    size_t size = 0;
    FILE* file = open_memstream(&data, &size);
    if (file == nullptr) return;
    SaveToStream(file);
    std::fclose(file);
    stream.write(data, static_cast<std::streamsize>(size));
    std::free(data);
}

bool TContainerItem::ReadFromStdStream(std::istream& stream) {
    const std::streampos start = stream.tellg();
    const std::string rest((std::istreambuf_iterator<char>(stream)), std::istreambuf_iterator<char>());
    if (rest.empty()) return false;
    FILE* file = fmemopen(const_cast<char*>(rest.data()), rest.size(), "rb");
    if (file == nullptr) return false;
    const bool read = LoadFromStream(file);
    const long consumed = std::ftell(file);
    std::fclose(file);
    stream.clear();
    if (start != std::streampos(-1)) stream.seekg(start + std::streamoff(consumed));
    return read;
}

void TContainerItem::SaveToFile(const TString& fileName) const {
    FileCloser closer{std::fopen(fileName.c_str(), "wb")};
    if (closer.file == nullptr) throw TSDPPFileException(fileName.str(), "cannot be created");
    SaveToStream(closer.file);
    if (std::ferror(closer.file) || std::fclose(closer.file) != 0) {
        closer.file = nullptr;
        throw TSDPPFileException(fileName.str(), "cannot be written");
    }
    closer.file = nullptr;
}

void TContainerItem::LoadFromFile(const TString& fileName) {
    FileCloser closer{std::fopen(fileName.c_str(), "rb")};
    if (closer.file == nullptr) throw TSDPPFileException(fileName.str(), "cannot be opened");
    if (!LoadFromStream(closer.file)) throw TSDPPFileException(fileName.str(), "is damaged");
}

void TContainerItem::WriteToFile(const TString& fileName) const { SaveToFile(fileName); }

void TContainerItem::ReadFromFile(const TString& fileName) { LoadFromFile(fileName); }

void TContainerItem::WriteToMemBuffer(TMemBuffer&) const {}

bool TContainerItem::ReadFromMemBuffer(TMemBuffer&) { return true; }

bool TContainerItem::Compatible(const TContainerItem& source) const { return typeid(*this) == typeid(source); }
