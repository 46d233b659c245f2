// JPEG reading and writing between memory blocks, files and IMAGEDATA views,
// over the JPEG library's 6b interface with a memory source and destination.
#pragma once

#include <cstdio>
#include <exception>

#include "ImageData.h"

// Thrown by value when a file cannot be opened or created, and when the JPEG
// data is damaged, unsupported or declares a picture too large to hold.
class TJPEGFileException : public std::exception {
public:
    const char* what() const noexcept override { return "JPEG file cannot be read or written"; }
};

// Sets type (0 for one output component, 2 for three), width and height; data
// and steps are untouched. Throws TJPEGFileException for damaged data, a
// negative length or other component counts (out then unchanged).
void ReadJPEGHeader(const void* data, int length, IMAGEDATA& out);
void ReadJPEGHeader(const char* path, IMAGEDATA& out);

// Decodes into a new[] buffer the caller releases with delete[]: one component
// gives type 0, pixel step 1; three give type 2, pixel step 3, bytes B, G, R;
// rows top-down, unpadded. Data that ends early decodes as if it ended with an
// end-of-image marker (the missing rows come out gray). Throws
// TJPEGFileException for damaged or unsupported data (out unchanged, nothing
// leaked), for pictures over 2^30 output bytes and for files declaring more
// than 4096 pixels per byte of data (above a floor of 2^20 pixels), which no
// real encoder produces.
void ReadJPEG(const void* data, int length, IMAGEDATA& out);
void ReadJPEG(const char* path, IMAGEDATA& out);

// Where ReadJPEGRows puts a picture, so that it can go straight into its final
// memory. Begin learns the type (0 or 2) and size and returns false to refuse
// it; Row(y) gives the start of row y (0 = top) with room for a row of pixels
// laid out as ReadJPEG lays them; Abandon is called when decoding fails after
// Begin succeeded. None of them may throw.
class TJpegRowTarget {
public:
    virtual ~TJpegRowTarget() = default;
    virtual bool Begin(int type, int width, int height) noexcept = 0;
    virtual uint8_t* Row(int y) noexcept = 0;
    virtual void Abandon() noexcept = 0;
};
// Decodes into the target; fails as ReadJPEG does (and when Begin refuses).
void ReadJPEGRows(const void* data, int length, TJpegRowTarget& target);
// The same from an open file, from its position to its end, read in pieces;
// a read error counts as damaged data. The caller closes the file.
void ReadJPEGRows(FILE* file, TJpegRowTarget& target);

// Encodes types 0 (gray), 1 (5-6-5 words) and 2 (B, G, R) as a baseline JPEG
// at the quality (clamped to 1..100) into a malloc block of exactly the
// encoded size, which the caller frees. False, *block null and *length 0 for
// other views (null data, no pixels, a side over 65500) or when the library
// fails; nothing is leaked.
bool CreateJPEG(const IMAGEDATA& view, void** block, int* length, int quality);
// Encodes, then writes the file; throws TJPEGFileException when encoding fails
// or the file cannot be created or written.
void WriteJPEG(const IMAGEDATA& view, const char* path, int quality);
