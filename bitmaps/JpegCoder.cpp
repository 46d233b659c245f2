// JPEG coding on memory blocks: error exit by longjmp inside the library's C
// frames (never a C++ exception through them), a memory source that ends with
// a fake end-of-image marker, and a growing memory destination.
#include "JpegCoder.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include <jerror.h>
#include <jpeglib.h>

namespace {

constexpr size_t kMaximumOutputBytes = size_t(1) << 30;
constexpr size_t kMaximumPixelsPerByte = 4096;
constexpr size_t kPixelFloor = size_t(1) << 20;
constexpr int kMaximumJpegDimension = 65500;
constexpr size_t kFirstDestinationSize = 64 * 1024;
constexpr size_t kFileBufferSize = 64 * 1024;

// ---- Errors ----

struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void ExitByJump(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->jump, 1); }

// Warnings (corrupt data the library can step over) are not printed.
void IgnoreMessage(j_common_ptr, int) {}

jpeg_error_mgr* InstallErrorManager(ErrorManager& errors) {
    jpeg_std_error(&errors.base);
    errors.base.error_exit = ExitByJump;
    errors.base.emit_message = IgnoreMessage;
    return &errors.base;
}

// ---- Memory source ----

const JOCTET kFakeEndOfImage[2] = {0xFF, JPEG_EOI};

struct MemorySource {
    jpeg_source_mgr base;
    const JOCTET* data;
    size_t length;
    bool delivered;
};

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// Past the end of the data: an end-of-image marker, so that a truncated
// stream ends (with a warning when data came before).
void OfferEndOfImage(j_decompress_ptr info, jpeg_source_mgr& base, bool delivered) {
    if (delivered) WARNMS(info, JWRN_JPEG_EOF);
    base.next_input_byte = kFakeEndOfImage;
    base.bytes_in_buffer = sizeof(kFakeEndOfImage);
}

// The data once; after that the end-of-image marker, so that a truncated
// stream ends instead of reading the data again.
boolean FillInputBuffer(j_decompress_ptr info) {
    auto* source = reinterpret_cast<MemorySource*>(info->src);
    if (!source->delivered && source->length > 0) {
        source->base.next_input_byte = source->data;
        source->base.bytes_in_buffer = source->length;
    } else {
        OfferEndOfImage(info, source->base, source->delivered);
    }
    source->delivered = true;
    return TRUE;
}

void SkipInputData(j_decompress_ptr info, long count) {
    jpeg_source_mgr* source = info->src;
    if (count <= 0) return;
    const size_t skip = std::min(size_t(count), source->bytes_in_buffer);
    source->next_input_byte += skip;
    source->bytes_in_buffer -= skip;
}

// A source manager with nothing in its buffer, so that the first read fills it.
void PrepareSourceManager(jpeg_source_mgr& base, boolean (*fill)(j_decompress_ptr),
                          void (*skip)(j_decompress_ptr, long)) {
    base.init_source = InitSource;
    base.fill_input_buffer = fill;
    base.skip_input_data = skip;
    base.resync_to_restart = jpeg_resync_to_restart;
    base.term_source = TermSource;
    base.next_input_byte = nullptr;
    base.bytes_in_buffer = 0;
}

void AttachMemorySource(j_decompress_ptr info, MemorySource& source, const void* data, size_t length) {
    PrepareSourceManager(source.base, FillInputBuffer, SkipInputData);
    source.data = static_cast<const JOCTET*>(data);
    source.length = length;
    source.delivered = false;
    info->src = &source.base;
}

// ---- File source ----

// The file from its current position, read in pieces; at its end an
// end-of-image marker, as the memory source gives.
struct FileSource {
    jpeg_source_mgr base;
    FILE* file;
    JOCTET* buffer;
    size_t bufferSize;
    bool delivered;
};

boolean FillFromFile(j_decompress_ptr info) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    const size_t count = std::fread(source->buffer, 1, source->bufferSize, source->file);
    if (count > 0) {
        source->base.next_input_byte = source->buffer;
        source->base.bytes_in_buffer = count;
    } else {
        OfferEndOfImage(info, source->base, source->delivered);
    }
    source->delivered = true;
    return TRUE;
}

// Past the end of the file it stays at the end, as the memory source does.
void SkipInFile(j_decompress_ptr info, long count) {
    auto* source = reinterpret_cast<FileSource*>(info->src);
    if (count <= 0) return;
    if (size_t(count) <= source->base.bytes_in_buffer) {
        source->base.next_input_byte += count;
        source->base.bytes_in_buffer -= size_t(count);
        return;
    }
    const long beyond = count - long(source->base.bytes_in_buffer);
    source->base.bytes_in_buffer = 0;
    std::fseek(source->file, beyond, SEEK_CUR);
}

void AttachFileSource(j_decompress_ptr info, FileSource& source, FILE* file, JOCTET* buffer, size_t bufferSize) {
    PrepareSourceManager(source.base, FillFromFile, SkipInFile);
    source.file = file;
    source.buffer = buffer;
    source.bufferSize = bufferSize;
    source.delivered = false;
    info->src = &source.base;
}

// ---- Memory destination ----

// Writes straight into a malloc block that doubles when full and is cut to the
// encoded size at the end.
struct MemoryDestination {
    jpeg_destination_mgr base;
    JOCTET* block;
    size_t capacity;
    size_t length;
};

void InitDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<MemoryDestination*>(info->dest);
    destination->block = static_cast<JOCTET*>(std::malloc(kFirstDestinationSize));
    if (destination->block == nullptr) ERREXIT1(info, JERR_OUT_OF_MEMORY, 10);
    destination->capacity = kFirstDestinationSize;
    destination->base.next_output_byte = destination->block;
    destination->base.free_in_buffer = destination->capacity;
}

boolean EmptyOutputBuffer(j_compress_ptr info) {
    auto* destination = reinterpret_cast<MemoryDestination*>(info->dest);
    const size_t used = destination->capacity;
    auto* grown = static_cast<JOCTET*>(std::realloc(destination->block, used * 2));
    if (grown == nullptr) ERREXIT1(info, JERR_OUT_OF_MEMORY, 11);
    destination->block = grown;
    destination->capacity = used * 2;
    destination->base.next_output_byte = grown + used;
    destination->base.free_in_buffer = used;
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    auto* destination = reinterpret_cast<MemoryDestination*>(info->dest);
    destination->length = destination->capacity - destination->base.free_in_buffer;
    auto* exact = static_cast<JOCTET*>(std::realloc(destination->block, std::max<size_t>(destination->length, 1)));
    if (exact != nullptr) destination->block = exact;
}

void AttachMemoryDestination(j_compress_ptr info, MemoryDestination& destination) {
    destination.base.init_destination = InitDestination;
    destination.base.empty_output_buffer = EmptyOutputBuffer;
    destination.base.term_destination = TermDestination;
    destination.block = nullptr;
    destination.capacity = 0;
    destination.length = 0;
    info->dest = &destination.base;
}

// ---- Decoding ----

// Everything a decode touches lives here, outside the frame that calls setjmp,
// so a jump back leaves nothing to destroy but what is listed.
struct DecodeJob {
    const void* data;
    FILE* file;  // read instead of data when set
    size_t length;
    bool headerOnly;
    IMAGEDATA header;
    TJpegRowTarget* target;
    bool begun;
    std::vector<JOCTET> fileBuffer;
};

bool PictureFits(size_t width, size_t height, size_t components, size_t length) {
    const size_t pixels = width * height;
    return pixels * components <= kMaximumOutputBytes &&
           (pixels <= kPixelFloor || pixels / kMaximumPixelsPerByte <= length);
}

void ReadRows(jpeg_decompress_struct& info, TJpegRowTarget& target) {
    JSAMPROW rows[16];
    while (info.output_scanline < info.output_height) {
        const JDIMENSION first = info.output_scanline;
        const JDIMENSION count = std::min<JDIMENSION>(16, info.output_height - first);
        for (JDIMENSION i = 0; i < count; ++i) rows[i] = target.Row(int(first + i));
        if (jpeg_read_scanlines(&info, rows, count) == 0) break;
    }
}

// False when the library gave up or the picture is not one we hold.
bool RunDecode(DecodeJob& job) {
    jpeg_decompress_struct info;
    ErrorManager errors;
    MemorySource source;
    FileSource fileSource;
    info.err = InstallErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        if (job.begun) job.target->Abandon();
        job.begun = false;
        return false;
    }
    jpeg_create_decompress(&info);
    if (job.file != nullptr)
        AttachFileSource(&info, fileSource, job.file, job.fileBuffer.data(), job.fileBuffer.size());
    else
        AttachMemorySource(&info, source, job.data, job.length);
    jpeg_read_header(&info, TRUE);
    if (info.num_components == 3 || info.jpeg_color_space == JCS_YCbCr) info.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&info);
    const int components = info.out_color_components;
    if ((components != 1 && components != 3) ||
        !PictureFits(info.output_width, info.output_height, size_t(components), job.length)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    job.header.type = components == 1 ? idtGray8 : idtBgr24;
    job.header.width = int(info.output_width);
    job.header.height = int(info.output_height);
    if (job.headerOnly) {
        jpeg_destroy_decompress(&info);
        return true;
    }
    job.begun = job.target->Begin(job.header.type, job.header.width, job.header.height);
    if (!job.begun) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    ReadRows(info, *job.target);
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

DecodeJob StartJob(const void* data, int length, bool headerOnly, TJpegRowTarget* target) {
    if (data == nullptr || length < 0) throw TJPEGFileException();
    return DecodeJob{data, nullptr, size_t(length), headerOnly, IMAGEDATA(), target, false, {}};
}

// A job over the rest of an open file; files over 2 GB are refused, as a
// memory block of that size would be.
DecodeJob StartFileJob(FILE* file, bool headerOnly, TJpegRowTarget* target) {
    if (file == nullptr) throw TJPEGFileException();
    const long position = std::ftell(file);
    long end = -1;
    if (position >= 0 && std::fseek(file, 0, SEEK_END) == 0) end = std::ftell(file);
    if (end < position || end - position > 0x7FFFFFFF || std::fseek(file, position, SEEK_SET) != 0)
        throw TJPEGFileException();
    return DecodeJob{nullptr, file, size_t(end - position), headerOnly, IMAGEDATA(), target, false,
                     std::vector<JOCTET>(kFileBufferSize)};
}

// Opens a file for one of the path variants; closes it whatever happens.
class OpenedFile {
public:
    explicit OpenedFile(const char* path) : file_(path != nullptr ? std::fopen(path, "rb") : nullptr) {
        if (file_ == nullptr) throw TJPEGFileException();
    }
    ~OpenedFile() { std::fclose(file_); }
    OpenedFile(const OpenedFile&) = delete;
    OpenedFile& operator=(const OpenedFile&) = delete;
    FILE* Get() const { return file_; }

private:
    FILE* file_;
};

// Runs the job; a read error of the file counts as damaged data.
void Decode(DecodeJob& job) {
    if (!RunDecode(job) || (job.file != nullptr && std::ferror(job.file))) throw TJPEGFileException();
}

void ReadHeader(DecodeJob job, IMAGEDATA& out) {
    Decode(job);
    out.type = job.header.type;
    out.width = job.header.width;
    out.height = job.header.height;
}

// A new[] buffer of packed top-down rows, as ReadJPEG hands it out.
class BufferTarget : public TJpegRowTarget {
public:
    bool Begin(int type, int width, int height) noexcept override {
        view_ = MakeImageData(nullptr, type, width, height);
        view_.data = new (std::nothrow) uint8_t[size_t(view_.lineStep) * size_t(height)];
        return view_.data != nullptr;
    }
    uint8_t* Row(int y) noexcept override { return view_.data + size_t(y) * size_t(view_.lineStep); }
    void Abandon() noexcept override {
        delete[] view_.data;
        view_.data = nullptr;
    }
    const IMAGEDATA& View() const { return view_; }

private:
    IMAGEDATA view_;
};

// ---- Encoding ----

struct EncodeJob {
    IMAGEDATA view;
    int quality;
    JSAMPROW rowBuffer;
    MemoryDestination destination;
};

// One view row as the library takes it: gray as is, colour as R, G, B.
JSAMPROW PrepareRow(const EncodeJob& job, int y) {
    const IMAGEDATA& view = job.view;
    const uint8_t* pixel = ImagePixel(view, 0, y);
    JSAMPROW out = job.rowBuffer;
    for (int x = 0; x < view.width; ++x, pixel += view.pixelStep) {
        if (view.type == idtGray8) {
            out[x] = pixel[0];
        } else if (view.type == idtRgb565) {
            const unsigned word = pixel[0] | pixel[1] << 8;
            out[3 * x] = JSAMPLE((word >> 11) << 3);
            out[3 * x + 1] = JSAMPLE((word & 0x7E0) >> 3);
            out[3 * x + 2] = JSAMPLE(word << 3);
        } else {
            out[3 * x] = pixel[2];
            out[3 * x + 1] = pixel[1];
            out[3 * x + 2] = pixel[0];
        }
    }
    return out;
}

bool RunEncode(EncodeJob& job) {
    jpeg_compress_struct info;
    ErrorManager errors;
    info.err = InstallErrorManager(errors);
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(job.destination.block);
        job.destination.block = nullptr;
        return false;
    }
    jpeg_create_compress(&info);
    AttachMemoryDestination(&info, job.destination);
    const bool gray = job.view.type == idtGray8;
    info.image_width = JDIMENSION(job.view.width);
    info.image_height = JDIMENSION(job.view.height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(job.quality, 1, 100), TRUE);
    jpeg_start_compress(&info, TRUE);
    for (int y = 0; y < job.view.height; ++y) {
        JSAMPROW row = PrepareRow(job, y);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

bool EncodableView(const IMAGEDATA& view) {
    return ImageHasPixels(view) && view.type >= idtGray8 && view.type <= idtBgr24 &&
           view.width <= kMaximumJpegDimension && view.height <= kMaximumJpegDimension &&
           std::abs(view.pixelStep) >= ImagePixelSize(view.type);
}

}  // namespace

void ReadJPEGHeader(const void* data, int length, IMAGEDATA& out) {
    ReadHeader(StartJob(data, length, true, nullptr), out);
}

void ReadJPEGHeader(const char* path, IMAGEDATA& out) {
    OpenedFile file(path);
    ReadHeader(StartFileJob(file.Get(), true, nullptr), out);
}

void ReadJPEGRows(const void* data, int length, TJpegRowTarget& target) {
    DecodeJob job = StartJob(data, length, false, &target);
    Decode(job);
}

void ReadJPEGRows(FILE* file, TJpegRowTarget& target) {
    DecodeJob job = StartFileJob(file, false, &target);
    Decode(job);
}

void ReadJPEG(const void* data, int length, IMAGEDATA& out) {
    BufferTarget target;
    ReadJPEGRows(data, length, target);
    out = target.View();
}

void ReadJPEG(const char* path, IMAGEDATA& out) {
    OpenedFile file(path);
    BufferTarget target;
    ReadJPEGRows(file.Get(), target);
    out = target.View();
}

bool CreateJPEG(const IMAGEDATA& view, void** block, int* length, int quality) {
    if (block != nullptr) *block = nullptr;
    if (length != nullptr) *length = 0;
    if (block == nullptr || length == nullptr || !EncodableView(view)) return false;
    std::vector<JSAMPLE> row(size_t(view.width) * 3);
    EncodeJob job{view, quality, row.data(), MemoryDestination()};
    if (!RunEncode(job)) return false;
    if (job.destination.length > size_t(0x7FFFFFFF)) {
        std::free(job.destination.block);
        return false;
    }
    *block = job.destination.block;
    *length = int(job.destination.length);
    return true;
}

void WriteJPEG(const IMAGEDATA& view, const char* path, int quality) {
    void* block = nullptr;
    int length = 0;
    if (!CreateJPEG(view, &block, &length, quality)) throw TJPEGFileException();
    FILE* file = path != nullptr ? std::fopen(path, "wb") : nullptr;
    const bool written = file != nullptr && std::fwrite(block, 1, size_t(length), file) == size_t(length);
    const bool closed = file != nullptr && std::fclose(file) == 0;
    std::free(block);
    if (!written || !closed) throw TJPEGFileException();
}
