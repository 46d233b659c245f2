// TMemBitmap records: the FILE stream, binary standard stream and TMemBuffer
// forms, each written and read field by field, little-endian.
#include <algorithm>
#include <istream>
#include <ostream>
#include <vector>

#include "DibBlock.h"
#include "MemBitmap.h"
#include "MemBuffer.h"

using namespace dib_block;

namespace {

// Large payloads are read in pieces, so a damaged size never allocates much
// more than the input really holds.
constexpr size_t kReadPiece = 1 << 20;

// Where a record is read from; every read is exact or fails.
class RecordInput {
public:
    virtual ~RecordInput() = default;
    virtual bool Read(void* target, size_t count) = 0;

    bool ReadByte(uint8_t& value) { return Read(&value, 1); }
    bool ReadInt(int32_t& value) {
        uint8_t bytes[4];
        if (!Read(bytes, 4)) return false;
        value = int32_t(ReadU32(bytes));
        return true;
    }
    bool ReadBlock(int32_t count, std::vector<uint8_t>& bytes) {
        if (count < 0) return false;
        bytes.clear();
        for (size_t done = 0; done < size_t(count);) {
            const size_t piece = std::min(kReadPiece, size_t(count) - done);
            bytes.resize(done + piece);
            if (!Read(bytes.data() + done, piece)) return false;
            done += piece;
        }
        return true;
    }
};

class FileInput : public RecordInput {
public:
    explicit FileInput(FILE* file) : file_(file) {}
    bool Read(void* target, size_t count) override {
        return file_ != nullptr && std::fread(target, 1, count, file_) == count;
    }

private:
    FILE* file_;
};

class StreamInput : public RecordInput {
public:
    explicit StreamInput(std::istream& stream) : stream_(stream) {}
    bool Read(void* target, size_t count) override {
        stream_.read(static_cast<char*>(target), std::streamsize(count));
        return stream_.good() || (stream_.eof() && size_t(stream_.gcount()) == count);
    }

private:
    std::istream& stream_;
};

class BufferInput : public RecordInput {
public:
    explicit BufferInput(TMemBuffer& buffer) : buffer_(buffer) {}
    bool Read(void* target, size_t count) override {
        return count <= size_t(buffer_.GetRemaining()) && buffer_.Read(target, int(count));
    }

private:
    TMemBuffer& buffer_;
};

// Record bytes are gathered here, then written out in one piece.
class RecordOutput {
public:
    void Byte(uint8_t value) { bytes.push_back(value); }
    void Int(int32_t value) {
        uint8_t field[4];
        WriteU32(field, uint32_t(value));
        bytes.insert(bytes.end(), field, field + 4);
    }
    void Block(const uint8_t* data, size_t count) { bytes.insert(bytes.end(), data, data + count); }
    void Block(const std::vector<uint8_t>& data) { Block(data.data(), data.size()); }

    std::vector<uint8_t> bytes;
};

enum class RecordForm { Stream, MemBuffer };

bool WriteToFile(FILE* file, const RecordOutput& output) {
    return file != nullptr && std::fwrite(output.bytes.data(), 1, output.bytes.size(), file) == output.bytes.size();
}

bool WriteToStream(std::ostream& stream, const RecordOutput& output) {
    stream.write(reinterpret_cast<const char*>(output.bytes.data()), std::streamsize(output.bytes.size()));
    return stream.good();
}

void WriteToBuffer(TMemBuffer& buffer, const RecordOutput& output) {
    buffer.Add(output.bytes.data(), int(output.bytes.size()));
}

}  // namespace

// The record of a bitmap: the fixed fields, then the payload when Valid. A
// payload that cannot be made is written as an invalid record.
static void ComposeRecord(TMemBitmap& bitmap, RecordForm form, RecordOutput& output) {
    std::vector<uint8_t> payload;
    const bool jpeg = bitmap.IsJpeg != 0;
    const bool valid = bitmap.Valid && (jpeg ? bitmap.EncodeJpeg(payload) : bitmap.EncodeBmp(payload));
    output.Byte(bitmap.IsJpeg);
    output.Int(bitmap.JpegQuality);
    output.Byte(valid ? 1 : 0);
    if (form == RecordForm::Stream) output.Byte(bitmap.KeepDIB);
    if (!valid) return;
    if (jpeg) {
        output.Int(int32_t(payload.size()));
        output.Block(payload);
        return;
    }
    // payload is a BMP file: its header, then the DIB block.
    const int64_t blockSize = int64_t(payload.size()) - kFileHeaderSize;
    const int gap = int(int64_t(ReadU32(payload.data() + 10)) - kFileHeaderSize -
                        RowsOffset(HeaderBitCount(payload.data() + kFileHeaderSize), 0));
    if (form == RecordForm::MemBuffer) {
        output.Int(kFileHeaderSize);
        output.Block(payload.data(), kFileHeaderSize);
    }
    output.Int(int32_t(blockSize));
    output.Int(gap);
    output.Block(payload.data() + kFileHeaderSize, size_t(blockSize));
}

static bool ReadJpegPayload(TMemBitmap& bitmap, RecordInput& input) {
    int32_t length = 0;
    std::vector<uint8_t> bytes;
    if (!input.ReadInt(length) || !input.ReadBlock(length, bytes)) return false;
    return bitmap.LoadJpegBytes(bytes.data(), bytes.size());
}

static bool ReadDibPayload(TMemBitmap& bitmap, RecordInput& input, RecordForm form) {
    if (form == RecordForm::MemBuffer) {
        int32_t headerSize = 0;
        uint8_t fileHeader[kFileHeaderSize];
        if (!input.ReadInt(headerSize) || headerSize != kFileHeaderSize || !input.Read(fileHeader, kFileHeaderSize))
            return false;
    }
    int32_t size = 0;
    int32_t gap = 0;
    std::vector<uint8_t> block;
    if (!input.ReadInt(size) || !input.ReadInt(gap) || !input.ReadBlock(size, block)) return false;
    if (size == 0) {
        // A bitmap without a DIB once wrote an empty block: no picture, but a sound record.
        bitmap.ClearPicture();
        return true;
    }
    return bitmap.InstallDIBBytes(block, gap);
}

static bool ReadRecord(TMemBitmap& bitmap, RecordInput& input, RecordForm form) {
    uint8_t isJpeg = 0;
    uint8_t valid = 0;
    uint8_t keepDIB = bitmap.KeepDIB;
    int32_t quality = 0;
    bool read = input.ReadByte(isJpeg) && input.ReadInt(quality) && input.ReadByte(valid) &&
                (form != RecordForm::Stream || input.ReadByte(keepDIB));
    if (read) {
        bitmap.IsJpeg = isJpeg;
        bitmap.JpegQuality = quality;
        bitmap.KeepDIB = keepDIB ? 1 : 0;
    }
    if (read && valid) {
        read = isJpeg ? ReadJpegPayload(bitmap, input) : ReadDibPayload(bitmap, input, form);
        if (read && bitmap.Valid) bitmap.FinishLoad();
        if (read) return true;
    }
    bitmap.ClearPicture();
    return read;
}

bool TMemBitmap::SaveToStream(FILE* file) {
    RecordOutput output;
    ComposeRecord(*this, RecordForm::Stream, output);
    return WriteToFile(file, output);
}

bool TMemBitmap::LoadFromStream(FILE* file) {
    FileInput input(file);
    return ReadRecord(*this, input, RecordForm::Stream);
}

bool TMemBitmap::WriteToStdStreamBin(std::ostream& stream) {
    RecordOutput output;
    ComposeRecord(*this, RecordForm::Stream, output);
    return WriteToStream(stream, output);
}

bool TMemBitmap::ReadFromStdStreamBin(std::istream& stream) {
    StreamInput input(stream);
    return ReadRecord(*this, input, RecordForm::Stream);
}

void TMemBitmap::WriteToMemBuffer(TMemBuffer& buffer) {
    RecordOutput output;
    ComposeRecord(*this, RecordForm::MemBuffer, output);
    WriteToBuffer(buffer, output);
}

bool TMemBitmap::ReadFromMemBuffer(TMemBuffer& buffer) {
    BufferInput input(buffer);
    return ReadRecord(*this, input, RecordForm::MemBuffer);
}

// ---- JPEG payloads alone: i32 n, then n bytes of a JPEG file ----

static bool ComposeJpegPayload(TMemBitmap& bitmap, RecordOutput& output) {
    std::vector<uint8_t> payload;
    if (!bitmap.EncodeJpeg(payload)) return false;
    output.Int(int32_t(payload.size()));
    output.Block(payload);
    return true;
}

static bool ReadJpegPayloadAlone(TMemBitmap& bitmap, RecordInput& input) {
    if (ReadJpegPayload(bitmap, input)) {
        bitmap.FinishLoad();
        return true;
    }
    bitmap.ClearPicture();
    return false;
}

bool TMemBitmap::SaveToJpegStream(FILE* file) {
    RecordOutput output;
    return ComposeJpegPayload(*this, output) && WriteToFile(file, output);
}

bool TMemBitmap::LoadFromJpegStream(FILE* file) {
    FileInput input(file);
    return ReadJpegPayloadAlone(*this, input);
}

bool TMemBitmap::SaveToJpegStream(std::ostream& stream) {
    RecordOutput output;
    return ComposeJpegPayload(*this, output) && WriteToStream(stream, output);
}

bool TMemBitmap::LoadFromJpegStream(std::istream& stream) {
    StreamInput input(stream);
    return ReadJpegPayloadAlone(*this, input);
}

void TMemBitmap::WriteToMemBufferAsJpeg(TMemBuffer& buffer) {
    RecordOutput output;
    if (ComposeJpegPayload(*this, output)) WriteToBuffer(buffer, output);
}

bool TMemBitmap::ReadFromMemBufferAsJpeg(TMemBuffer& buffer) {
    BufferInput input(buffer);
    return ReadJpegPayloadAlone(*this, input);
}
