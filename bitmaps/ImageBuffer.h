// TImageBuffer: a top-down pixel buffer without row padding that owns its
// memory, with a BMP file form and a TMemBuffer record.
#pragma once

#include <cstdint>

#include "ImageData.h"

class TMemBuffer;

class TImageBuffer {
public:
    // Formats 0, 1, 2 and 4 hold 1, 2, 3 and 4 bytes a pixel; other values 0.
    TImageBuffer() = default;
    TImageBuffer(const TImageBuffer& source);
    TImageBuffer(int width, int height, int format);
    // Empty, then Load(path).
    explicit TImageBuffer(const char* path);
    ~TImageBuffer();

    void ReleaseData();
    int GetPixelWidth() const;
    int GetLineSize() const { return Width * GetPixelWidth(); }
    int GetCapacity() const { return GetLineSize() * Height; }

    void Assign(const TImageBuffer& source);
    TImageBuffer& operator=(const TImageBuffer& source);
    // Copies a view of type 0 (format 0) or 2 (format 2); other types and views
    // without pixels leave the buffer empty (0 x 0).
    void Assign(const IMAGEDATA& view);
    // Nothing when the view's data is this buffer's own.
    TImageBuffer& operator=(const IMAGEDATA& view);

    // Keeps the overlapping top-left part; new pixels are zero. Negative sizes
    // count as 0. False (unchanged) when the buffer, or one row of it, would
    // pass 2^31 - 1 bytes.
    bool Resize(int width, int height);
    // A new pixel width discards the pixels (zeroed, same size), since they
    // cannot be read in the new format.
    void SetPixelFormat(int format);
    void Create(int width, int height, int format);

    // Format 0: type 0; 1: type 1 (5-6-5 words); 2: type 2; 4: type 4; line
    // step = line size. Null data when empty.
    IMAGEDATA GetImageData();
    // Start of row y; NULL unless 0 <= y < Height and the buffer has pixels.
    uint8_t* GetLine(int y);

    // BMP file: format 0 as 8 bits with a gray table, formats 1, 2 and 4 as 24
    // bits (1 decoded from 5-6-5, 4 without its fourth byte), rows padded to 4.
    // False for an empty buffer, an unknown format, or a file that cannot be
    // written.
    bool Save(const char* path) const;
    // 8-bit (indexes read as gray values) or 24-bit BI_RGB bottom-up BMP files.
    // False, buffer unchanged, for anything else, a damaged header or rows
    // outside the file. The flag is not used.
    bool Load(const char* path, bool flag = false);

    // i32 Width, i32 Height, i32 PixelFormat, then the capacity's bytes. The
    // reader checks the sizes against what remains; false leaves it empty.
    void WriteToMemBuffer(TMemBuffer& buffer) const;
    bool ReadFromMemBuffer(TMemBuffer& buffer);

    int Width = 0;
    int Height = 0;
    int PixelFormat = 0;
    uint8_t* Data = nullptr;
};
