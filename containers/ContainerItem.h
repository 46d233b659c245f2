// TContainerItem: the base of items that containers hold, with its storage forms.
#pragma once

#include <cstdio>
#include <iosfwd>

class TContainerBase;
class TMemBuffer;
class TString;

class TContainerItem {
public:
    TContainerItem() = default;
    // A copy belongs to no container.
    TContainerItem(const TContainerItem&) : fOwner(nullptr) {}
    TContainerItem& operator=(const TContainerItem&) { return *this; }
    virtual ~TContainerItem();

    // The container that holds the item, or null.
    TContainerBase* GetOwner() const { return fOwner; }
    void SetOwner(TContainerBase* owner) { fOwner = owner; }

    // Copies the content of source; the base copies nothing.
    virtual void Assign(const TContainerItem& source);
    // True when the item holds content worth storing; the base says true.
    virtual bool Assigned() const;
    // Resets the item to its initial state; the base does nothing.
    virtual void Init();

    // FILE stream form. The base writes a u32 byte count and then the
    // memory-buffer form; classes with a self-delimiting form write that alone.
    // Load returns false on a short or damaged stream.
    virtual void SaveToStream(FILE* file) const;
    virtual bool LoadFromStream(FILE* file);
    virtual void WriteToStream(FILE* file) const;
    virtual bool ReadFromStream(FILE* file);

    // Standard streams carry the same bytes as the FILE stream form. Reading
    // leaves a seekable stream just past the item; from a stream that cannot
    // seek back, the bytes after the item are consumed too.
    virtual void WriteToStdStream(std::ostream& stream) const;
    virtual bool ReadFromStdStream(std::istream& stream);

    // Whole files in the stream form; both throw TSDPPFileException when the
    // file cannot be opened, or, for reading, when its content is damaged.
    virtual void SaveToFile(const TString& fileName) const;
    virtual void LoadFromFile(const TString& fileName);
    virtual void WriteToFile(const TString& fileName) const;
    virtual void ReadFromFile(const TString& fileName);

    // Memory-buffer form: the writer appends, the reader reads from the
    // buffer's read position and returns false on damaged or short data.
    // The base writes nothing and reads nothing.
    virtual void WriteToMemBuffer(TMemBuffer& buffer) const;
    virtual bool ReadFromMemBuffer(TMemBuffer& buffer);

    // True when source is of the same class, so Assign can copy it whole.
    virtual bool Compatible(const TContainerItem& source) const;

private:
    TContainerBase* fOwner = nullptr;
};

// Reads up to size bytes of a FILE stream into buffer (appending), in pieces,
// so that a damaged size never allocates more than the stream holds.
// False when the stream ends first.
bool ReadStreamBlock(FILE* file, unsigned long size, TMemBuffer& buffer);
