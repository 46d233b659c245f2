// Variable records on FILE streams and in memory buffers: one writer, one reader.
//
// Record: type u8, info i32, name (TString record), then the value by type:
// int i64; double f64; point 2 x i64; complex 2 x f64; string TString record;
// 1-D array itemtype u8, count i32, items; 2-D array itemtype u8, lines i32,
// cols i32, items line by line. Array items: int as i32 (low 32 bits, read
// back sign-extended), double f64, point 2 x i64, complex 2 x f64, string a
// TString record. All little-endian.
#include <cstring>
#include <limits>

#include "Variables.h"

namespace {

// Where a record is read from: a memory buffer or a FILE stream.
class TRecordSource {
public:
    virtual ~TRecordSource() = default;
    virtual bool Read(void* target, int n) = 0;
    virtual bool ReadString(TString& text) = 0;
    // Bytes left to read; a very large number when the source cannot tell.
    virtual int64_t Remaining() const = 0;
};

class TBufferSource : public TRecordSource {
public:
    explicit TBufferSource(TMemBuffer& buffer) : fBuffer(buffer) {}
    bool Read(void* target, int n) override { return fBuffer.Read(target, n); }
    bool ReadString(TString& text) override { return text.ReadFromMemBuffer(fBuffer); }
    int64_t Remaining() const override { return fBuffer.GetRemaining(); }

private:
    TMemBuffer& fBuffer;
};

class TFileSource : public TRecordSource {
public:
    explicit TFileSource(FILE* file) : fFile(file) {
        const long start = std::ftell(file);
        if (start >= 0 && std::fseek(file, 0, SEEK_END) == 0) {
            const long end = std::ftell(file);
            if (end >= start) fEnd = end;
            std::fseek(file, start, SEEK_SET);
        }
    }
    bool Read(void* target, int n) override {
        return n >= 0 && std::fread(target, 1, static_cast<size_t>(n), fFile) == static_cast<size_t>(n);
    }
    bool ReadString(TString& text) override { return text.LoadFromStream(fFile); }
    int64_t Remaining() const override {
        if (fEnd < 0) return std::numeric_limits<int64_t>::max();
        const long now = std::ftell(fFile);
        return now < 0 ? 0 : fEnd - now;
    }

private:
    FILE* fFile;
    long fEnd = -1;
};

bool IsItemType(TVariableType itemtype) { return itemtype >= vtInt && itemtype <= vtString; }

// Fewest bytes one stored item takes (a string record is u32 length and a byte).
int64_t StoredItemBytes(TVariableType itemtype) {
    switch (itemtype) {
        case vtInt:
            return 4;
        case vtDouble:
            return 8;
        case vtString:
            return 5;
        default:
            return 16;
    }
}

bool ReadU8(TRecordSource& in, uint8_t& value) { return in.Read(&value, 1); }

bool ReadI32(TRecordSource& in, int32_t& value) {
    unsigned char b[4];
    if (!in.Read(b, 4)) return false;
    value = static_cast<int32_t>(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
    return true;
}

bool ReadI64(TRecordSource& in, int64_t& value) {
    unsigned char b[8];
    if (!in.Read(b, 8)) return false;
    uint64_t bits = 0;
    for (int k = 7; k >= 0; --k) bits = bits << 8 | b[k];
    value = static_cast<int64_t>(bits);
    return true;
}

bool ReadF64(TRecordSource& in, double& value) {
    int64_t bits = 0;
    if (!ReadI64(in, bits)) return false;
    std::memcpy(&value, &bits, sizeof value);
    return true;
}

bool ReadItem(TRecordSource& in, void* item, TVariableType itemtype) {
    switch (itemtype) {
        case vtInt: {
            int32_t low = 0;
            if (!ReadI32(in, low)) return false;
            *static_cast<int64_t*>(item) = low;  // sign-extended
            return true;
        }
        case vtDouble:
            return ReadF64(in, *static_cast<double*>(item));
        case vtPoint:
            return ReadI64(in, static_cast<VPOINT*>(item)->x) && ReadI64(in, static_cast<VPOINT*>(item)->y);
        case vtComplex:
            return ReadF64(in, static_cast<VCOMPLEX*>(item)->re) && ReadF64(in, static_cast<VCOMPLEX*>(item)->im);
        case vtString:
            return in.ReadString(*static_cast<TString*>(item));
        default:
            return false;
    }
}

void WriteItem(TMemBuffer& out, const void* item, TVariableType itemtype) {
    switch (itemtype) {
        case vtInt:
            out.AddInt(static_cast<int32_t>(*static_cast<const int64_t*>(item)));
            break;
        case vtDouble:
            out.AddDouble(*static_cast<const double*>(item));
            break;
        case vtPoint:
            out.AddInt64(static_cast<const VPOINT*>(item)->x);
            out.AddInt64(static_cast<const VPOINT*>(item)->y);
            break;
        case vtComplex:
            out.AddDouble(static_cast<const VCOMPLEX*>(item)->re);
            out.AddDouble(static_cast<const VCOMPLEX*>(item)->im);
            break;
        case vtString:
            static_cast<const TString*>(item)->WriteToMemBuffer(out);
            break;
        default:
            break;
    }
}

// Scalars keep all their bytes (an int is 8 bytes here, unlike an int array item).
void WriteScalar(TMemBuffer& out, const TVariable& v) {
    if (v.type == vtInt)
        out.AddInt64(v.value.i);
    else
        WriteItem(out, &v.value, v.type);
}

bool ReadScalar(TRecordSource& in, TVariable& v, TVariableType type) {
    v.type = type;
    if (type == vtInt) return ReadI64(in, v.value.i);
    return ReadItem(in, &v.value, type);
}

void WriteRecord(const TVariable& v, TMemBuffer& out) {
    out.AddByte(v.type);
    out.AddInt(v.info);
    v.name.WriteToMemBuffer(out);
    switch (v.type) {
        case vtInt:
        case vtDouble:
        case vtPoint:
        case vtComplex:
            WriteScalar(out, v);
            break;
        case vtString:
            (v.value.s != nullptr ? *v.value.s : TString()).WriteToMemBuffer(out);
            break;
        case vtArray:
            out.AddByte(v.value.a.itemtype);
            out.AddInt(v.value.a.count);
            for (int i = 0; i < v.value.a.count; ++i) WriteItem(out, v.GetItem(i), v.value.a.itemtype);
            break;
        case vtArray2:
            out.AddByte(v.value.a2.itemtype);
            out.AddInt(v.value.a2.lines);
            out.AddInt(v.value.a2.cols);
            for (int i = 0; i < v.value.a2.lines; ++i)
                for (int j = 0; j < v.value.a2.cols; ++j) WriteItem(out, v.GetItem(i, j), v.value.a2.itemtype);
            break;
        default:
            break;
    }
}

// Reads the item type and the sizes of an array and checks them against
// what remains; false for a damaged header.
bool ReadArrayHeader(TRecordSource& in, TVariableType& itemtype, int32_t& lines, int32_t* cols) {
    if (!ReadU8(in, itemtype) || !ReadI32(in, lines)) return false;
    if (cols != nullptr && !ReadI32(in, *cols)) return false;
    if (lines < 0) lines = 0;
    int64_t cells = lines;
    if (cols != nullptr) {
        if (*cols < 0) *cols = 0;
        cells *= *cols;
    }
    if (!IsItemType(itemtype)) return false;
    return cells <= kMaxArrayItems && cells * StoredItemBytes(itemtype) <= in.Remaining();
}

bool ReadArray(TRecordSource& in, TVariable& v) {
    TVariableType itemtype = 0;
    int32_t count = 0;
    if (!ReadArrayHeader(in, itemtype, count, nullptr)) return false;
    v.value.a = TVariableList::CreateArray(itemtype, count);
    v.type = vtArray;
    if (v.value.a.items == nullptr) return false;
    for (int i = 0; i < count; ++i)
        if (!ReadItem(in, v.GetItem(i), itemtype)) return false;
    return true;
}

bool ReadArray2(TRecordSource& in, TVariable& v) {
    TVariableType itemtype = 0;
    int32_t lines = 0, cols = 0;
    if (!ReadArrayHeader(in, itemtype, lines, &cols)) return false;
    v.type = vtArray2;
    if (!TVariableList::CreateStoredArray2(itemtype, lines, cols, v.value.a2)) return false;
    for (int i = 0; i < v.value.a2.lines; ++i)
        for (int j = 0; j < v.value.a2.cols; ++j)
            if (!ReadItem(in, v.GetItem(i, j), itemtype)) return false;
    return true;
}

bool ReadValue(TRecordSource& in, TVariable& v, TVariableType type) {
    switch (type) {
        case vtInt:
        case vtDouble:
        case vtPoint:
        case vtComplex:
            return ReadScalar(in, v, type);
        case vtString:
            v.value.s = new TString;
            v.type = vtString;
            return in.ReadString(*v.value.s);
        case vtArray:
            return ReadArray(in, v);
        case vtArray2:
            return ReadArray2(in, v);
        default:
            v.type = type;
            return true;
    }
}

bool ReadRecord(TRecordSource& in, TVariable& v) {
    v.FreeValue();
    uint8_t type = 0;
    int32_t info = 0;
    const bool ok = ReadU8(in, type) && ReadI32(in, info) && in.ReadString(v.name) && ReadValue(in, v, type);
    v.info = info;
    if (!ok) v.FreeValue();
    return ok;
}

}  // namespace

void TVariable::WriteToMemBuffer(TMemBuffer& buffer) const { WriteRecord(*this, buffer); }

void TVariable::SaveToStream(FILE* file) const {
    TMemBuffer record;
    WriteRecord(*this, record);
    if (record.GetSize() > 0) std::fwrite(record.GetBlock(), 1, static_cast<size_t>(record.GetSize()), file);
}

bool TVariable::ReadFromMemBuffer(TMemBuffer& buffer) {
    TBufferSource in(buffer);
    return ReadRecord(in, *this);
}

bool TVariable::LoadFromStream(FILE* file) {
    if (file == nullptr) return false;
    TFileSource in(file);
    return ReadRecord(in, *this);
}

void WriteArrayItemToMemBuffer(const void* item, TVariableType itemtype, TMemBuffer& buffer) {
    WriteItem(buffer, item, itemtype);
}

bool ReadArrayItemFromMemBuffer(void* item, TVariableType itemtype, TMemBuffer& buffer) {
    TBufferSource in(buffer);
    return ReadItem(in, item, itemtype);
}

void SaveArrayItem(const void* item, TVariableType itemtype, FILE* file) {
    TMemBuffer bytes;
    WriteItem(bytes, item, itemtype);
    if (bytes.GetSize() > 0) std::fwrite(bytes.GetBlock(), 1, static_cast<size_t>(bytes.GetSize()), file);
}

bool LoadArrayItem(void* item, TVariableType itemtype, FILE* file) {
    if (file == nullptr) return false;
    TFileSource in(file);
    return ReadItem(in, item, itemtype);
}
