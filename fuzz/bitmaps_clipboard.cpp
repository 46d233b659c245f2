// Fuzz target: a CF_DIB block on the clipboard, taken by the memory bitmap.
#include <cstdint>
#include <cstring>

#include "Clipboard.h"
#include "FuzzSupport.h"
#include "GlobalMemory.h"
#include "MemBitmap.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
    if (block == nullptr) return 0;
    if (size > 0) std::memcpy(GlobalLock(block), data, size);
    GlobalUnlock(block);
    if (!OpenClipboard(nullptr)) {
        GlobalFree(block);
        return 0;
    }
    EmptyClipboard();
    SetClipboardData(CF_DIB, block);
    CloseClipboard();
    TMemBitmap bitmap;
    const bool taken = bitmap.CopyFromClipboard();
    fuzz::Require(!taken || bitmap.Valid, "a block the bitmap takes gives a picture");
    return 0;
}
