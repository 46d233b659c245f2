// TMemBitmap: a picture held as a packed DIB in global memory (the master copy
// for pixels, files and the clipboard) and as a device bitmap for painting.
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <iosfwd>
#include <vector>

#include "String.h"
#include "Win32.h"

class TMemBuffer;
class TJpegRowTarget;

// Pixel row r (0 = bottom) lies at 40 + PaletteSize() + Gap + r * LineSize
// bytes into the DIB; pixel (x, y) with y from the top lies in row
// Height - 1 - y. At 4 and 8 bits GetPixel/SetPixel carry colour-table
// indexes, otherwise COLORREF values (0x00BBGGRR).
//
// Device bitmap: while the bitmap keeps its DIB, the device bitmap is a copy
// made when the picture is first painted (or GetDDB asks for it) and dropped
// whenever the pixels may change: Refresh, SetPixel, palette changes, Lock
// and Unlock (a pixel view writes between them), and every replaced DIB. So
// loading touches the DIB alone, and what is painted is the DIB as it stands.
// Read the handle through GetDDB; the DDB field is null while no copy exists.
// A bitmap without a DIB (KeepDIB 0) holds its device bitmap for good.
//
// Locks: NewBitmap, successful loads and record reads, Rotate, ConvertTo24Bit,
// CopyFromDC, CopyFromClipboard and Assign(const TMemBitmap*) move outstanding
// locks to the new block (LockedBits follows); FreeHandlers and failed loads
// end them all.
//
// A pixel view taken with MB2ID addresses the locked DIB directly. Every call
// that replaces or frees the DIB leaves such a view dangling, whatever happens
// to the lock: take the view again afterwards. Debug builds report a
// replacement while a view's lock is outstanding through the stale-view handler.
class TMemBitmap {
public:
    // An empty bitmap: no handles, 0 x 0, BitCount 24, not Valid.
    TMemBitmap();
    // As above, then LoadFromFile(path, -1).
    explicit TMemBitmap(const TString& path);
    // NewBitmap(width, height, bpp) with the given KeepDIB.
    TMemBitmap(int width, int height, int bpp, bool keepDIB);
    TMemBitmap(const TMemBitmap& source);
    TMemBitmap& operator=(const TMemBitmap& source);
    virtual ~TMemBitmap();

    // ---- Picture and handles ----
    // A blank picture (all bytes zero, black table). With KeepDIB 1: bpp 4, 8 or
    // 24, a size of 1..65535 each way and at most 2^28 pixels (the largest a
    // device bitmap holds), else false and no picture. With
    // KeepDIB 0 a screen-compatible device bitmap only.
    bool NewBitmap(int width, int height, int bpp);
    HGLOBAL GetDIB() const { return DIB; }
    // The device bitmap, made from the DIB first when there is none yet; null
    // when not Valid or it cannot be made.
    HBITMAP GetDDB();
    // A 24-bit DIB read back from the device bitmap; nothing without one.
    void DIBCreate();
    // Rebuilds the device bitmap from the DIB now (Valid 0 when that fails).
    void DDBCreate();
    // With KeepDIB 1: drops the device bitmap, so that the next paint shows
    // the DIB as it is then.
    void Refresh();
    // Releases the DIB for good (making the device bitmap first): KeepDIB 0.
    void FreeDIB();
    // Releases DIB and device bitmap; Valid and PaintDC are not touched.
    void FreeHandlers();

    // ---- Locks ----
    // Locks the DIB (null without one); every Lock needs one Unlock. Lock
    // and a successful Unlock drop the device bitmap (see above).
    void* Lock();
    // False and nothing changed when not locked; else true while locks remain.
    bool Unlock();
    void TotalUnlock();
    int GetLockState() const { return LockCount; }
    // After the DIB was replaced: LockedBits covers the new block.
    void SetLockState();
    void AdjustLineSize();

    // ---- Palette ----
    int PaletteSize() const;
    // 0 unless 4 or 8 bits and i is inside the colour table the DIB holds
    // (a file's table may be shorter than 16 or 256 entries).
    int GetPaletteEntry(int i);
    // Same bounds; out of range does nothing. Both end with Refresh.
    void SetPaletteEntry(int i, RGBQUAD entry);
    void SetPaletteEntry(int i, int red, int green, int blue);
    // 16 or 256 entries in or out (only the entries the table holds are
    // written; missing ones read as 0). Nothing (false) without a table.
    void SetPalette(const RGBQUAD* entries);
    bool GetPalette(RGBQUAD* entries);
    // Gray ramp of 16 (steps of 17) or 256 entries; reserved bytes untouched.
    void CreateGrayPalette();
    // Copies this table into a target of the same bit count (4 or 8); the
    // target's device bitmap is not rebuilt.
    void CopyPalette(TMemBitmap& target);

    // ---- Pixels ----
    // Outside 0 <= x < Width, 0 <= y < Height: GetPixel 0, SetPixel nothing.
    // 16-bit pixels follow the header (5-5-5, or the bit-field masks).
    // SetPixel writes the DIB only (nothing without one): call Refresh.
    int GetPixel(int x, int y);
    void SetPixel(int x, int y, int value);

    // ---- Painting (nothing unless Valid) ----
    void PaintToDC(HDC dc, int x, int y, DWORD rop);
    // Inclusive source rectangle.
    void PaintRectToDC(HDC dc, int x, int y, RECT source, DWORD rop);
    void StretchToDC(HDC dc, int x, int y, int width, int height, DWORD rop);
    void StretchRectToDC(HDC dc, RECT target, RECT source, DWORD rop);
    // Only while the class library's printer is printing.
    void StretchToPrinter(int x, int y, int width, int height, DWORD rop);
    void PaintToPrinter(int x, int y, DWORD rop);
    // Tiles the picture (stretched to width x height when stretch is set and the
    // size differs) inside the polygon, on a grid anchored at multiples of the
    // tile size. Nothing for fewer than one point or a tile of size 0 or less;
    // only tiles meeting the visible area are drawn.
    void FillPoly(HDC dc, POINT* points, int count, DWORD rop, bool stretch, int width, int height);
    // Opens a memory DC on the picture (NULL when one is open or there is no
    // device bitmap). Without keepContent the picture is cleared to black.
    HDC BeginPaint(bool keepContent, HDC reference);
    // Copies the drawing back into the DIB (KeepDIB 1) and closes the DC.
    void EndPaint();

    // ---- Copies and transforms ----
    // Deep copy: pixels, size, depth, palette, JPEG flags.
    void Assign(const TMemBitmap* source);
    // Takes a copy of the device bitmap's pixels (the handle stays the caller's).
    void Assign(HBITMAP bitmap);
    // Rotates about the centre; 0 degrees does nothing. Multiples of 90 degrees
    // are exact (w x h gives h x w, nothing lost). Uncovered pixels are white
    // (the whitest table entry at 4 and 8 bits). Needs a DIB.
    void Rotate(double degrees);
    // Scales to width x height while rotating; nothing for a target or picture
    // size below 1 or a result too large to hold.
    void Rotate(double degrees, int width, int height);
    // 4, 8 and 16 bits to 24; nothing at 24 bits or without a DIB.
    void ConvertTo24Bit();
    // New heap bitmap (caller deletes) of the sub-rectangle cut to the picture,
    // same depth and table; NULL when nothing is left after cutting, without a
    // DIB, or when memory runs out.
    TMemBitmap* GetImage(int x, int y, int width, int height);
    // Grabs a DC area (the screen for NULL) as 24 bits; unchanged on failure.
    void CopyFromDC(HDC dc, int x, int y, int width, int height);
    // CF_DIB exchange. CopyFromClipboard checks the block as a BMP load does and
    // returns false (picture unchanged) for anything it cannot hold.
    void CopyToClipboard();
    bool CopyFromClipboard();

    // ---- Files, memory and resources (MemBitmapFiles.cpp) ----
    // mode 1 or extension JPG/JPEG: JPEG; mode 2 or extension GIF: invalid;
    // otherwise BMP. Damaged, missing or unsupported files (BMP of 1 or 32 bits,
    // compressed, top-down) leave Valid 0; no exception leaves this call.
    void LoadFromFile(const TString& path, int mode = -1);
    // BMP, or JPEG when IsJpeg; false when not Valid or the file cannot be written.
    bool SaveToFile(const TString& path);
    // Throws TJPEGFileException when the file cannot be opened; damaged data
    // leaves Valid 0.
    void LoadFromJpeg(const TString& path);
    // Throws TJPEGFileException when the file cannot be created.
    void SaveToJpeg(const TString& path);
    void LoadFromGif(const TString& path);
    // Image file bytes: mode 1 JPEG, 2 GIF (invalid), anything else BMP.
    void LoadFromMemory(const void* data, int length, int mode);
    void LoadFromBMPMemory(const void* data, int length) { LoadFromMemory(data, length, 0); }
    void LoadFromJPEGMemory(const void* data, int length) { LoadFromMemory(data, length, 1); }
    // A BITMAP resource (device bitmap only), RCDATA holding a BMP file, RCDATA
    // holding a JPEG file. A null module searches the program, then the libraries.
    void LoadFromResource(const TString& name, HINSTANCE module);
    void LoadFromBMPResource(const TString& name, HINSTANCE module);
    void LoadFromJPEGResource(const TString& name, HINSTANCE module);
    // The picture as JPEG in a new "JTM" temp file; its path goes into name
    // (size bytes). False, no file, when the path does not fit or writing fails.
    bool SaveToTempJpegFile(char* name, int size);
    // Loads and deletes the file.
    void LoadFromTempJpegFile(const char* name);

    // ---- Records (MemBitmapRecords.cpp) ----
    // FILE record: u8 IsJpeg, i32 JpegQuality, u8 Valid, u8 KeepDIB, then when
    // Valid: i32 n and a JPEG file, or i32 s, i32 Gap and the DIB block. A
    // bitmap without a DIB writes a 24-bit one made for the call. Readers check
    // every size against what the input holds and return false (no picture)
    // on damaged input; a record whose Valid byte is 0 reads as true.
    bool SaveToStream(FILE* file);
    bool LoadFromStream(FILE* file);
    bool SaveToJpegStream(FILE* file);
    bool LoadFromJpegStream(FILE* file);
    // The same record through binary standard streams.
    bool WriteToStdStreamBin(std::ostream& stream);
    bool ReadFromStdStreamBin(std::istream& stream);
    bool SaveToJpegStream(std::ostream& stream);
    bool LoadFromJpegStream(std::istream& stream);
    // TMemBuffer record: u8 IsJpeg, i32 JpegQuality, u8 Valid, then i32 n and a
    // JPEG file, or i32 14, the BMP file header, i32 s, i32 Gap, the block. An
    // invalid bitmap writes 6 bytes. The reader keeps this bitmap's KeepDIB.
    void WriteToMemBuffer(TMemBuffer& buffer);
    bool ReadFromMemBuffer(TMemBuffer& buffer);
    void WriteToMemBufferAsJpeg(TMemBuffer& buffer);
    bool ReadFromMemBufferAsJpeg(TMemBuffer& buffer);

    // Debug builds call this when the DIB is replaced while a lock taken by
    // MB2ID is outstanding; the default prints a message and aborts. Returns
    // the handler it replaces; null restores the default.
    typedef void (*StaleViewHandler)(const TMemBitmap& bitmap);
    static StaleViewHandler SetStaleViewHandler(StaleViewHandler handler);
    // MB2ID counts its locks here (debug check only).
    void NoteViewLock() { ++ViewLockCount; }

    // Fields in the design's order; callers read them directly.
    HBITMAP DDB = nullptr;
    HGLOBAL DIB = nullptr;
    HDC PaintDC = nullptr;
    int LockCount = 0;
    uint8_t* LockedBits = nullptr;
    int LineSize = 0;
    int Width = 0;
    int Height = 0;
    int BitCount = 24;
    uint8_t IsJpeg = 0;
    int JpegQuality = 64;
    uint8_t Valid = 0;
    uint8_t KeepDIB = 1;
    int Gap = 0;

    // ---- Internal: used by the units of this class ----
    // The DIB's bytes while it is locked (LockedBits) or locked for the call.
    class PixelAccess;
    // Replaces the DIB by block (already filled), with the given picture facts,
    // drops the device bitmap and keeps outstanding locks on the new block.
    // Valid 0 when the picture is too large ever to be painted.
    void InstallDIB(HGLOBAL block, int width, int height, int bitCount, int gap);
    // Checks a DIB block (header normalised here, in place) and installs it;
    // false, and the block freed, when it is damaged.
    bool InstallDIBBlock(HGLOBAL block, int gap);
    // Loads a checked DIB held in bytes.
    bool InstallDIBBytes(std::vector<uint8_t>& bytes, int gap);
    // Installs a BMP file held in memory; false (no picture) when damaged.
    bool LoadBmpBytes(const uint8_t* data, size_t length);
    // Decodes JPEG bytes into the picture; false (no picture) when damaged.
    bool LoadJpegBytes(const uint8_t* data, size_t length);
    // The picture as a JPEG file in memory; false when there is none.
    bool EncodeJpeg(std::vector<uint8_t>& bytes);
    // The picture as a BMP file in memory (a DIB made for the call when needed).
    bool EncodeBmp(std::vector<uint8_t>& bytes);
    // Hands the 14-byte BMP file header and the DIB block to `write` (a DIB
    // made for the call when needed); false when not Valid or `write` fails.
    typedef std::function<bool(const uint8_t* header, const uint8_t* block, size_t size)> BmpWriter;
    bool WriteBmp(const BmpWriter& write);
    // FreeHandlers and Valid 0: what every failed load leaves.
    void ClearPicture();
    // After a load: line size, release of the DIB when KeepDIB is 0, locks.
    void FinishLoad();
    // Row r (0 = bottom) of a locked block.
    uint8_t* RowAt(uint8_t* bits, int row) const;

private:
    void ReportStaleView() const;
    // Unlocks and frees the DIB (outstanding lock counts stay).
    void ReleaseDIB();
    // The pixels may change: the device bitmap copy of a kept DIB goes
    // (never while a paint DC holds it).
    void DropDeviceCopy();
    // A BMP file read straight into a new DIB block; false (no picture) when
    // damaged. FinishBmpLoad ends a BMP load that did or did not install.
    bool LoadBmpFile(FILE* file);
    bool FinishBmpLoad(bool installed);
    // Decodes through `decode` into a new DIB; false (no picture) when damaged.
    bool LoadJpegRows(const std::function<void(TJpegRowTarget&)>& decode);
    // Decodes a JPEG file; false, nothing changed, when it cannot be opened
    // or is too large to hold.
    bool LoadJpegFile(const char* path);
    // An RCDATA resource's bytes through one of the byte loaders.
    void LoadResourceBytes(const TString& name, HINSTANCE module, bool (TMemBitmap::*load)(const uint8_t*, size_t));
    void CopyDeviceBitmap(HBITMAP source, int width, int height);

    int ViewLockCount = 0;
};
