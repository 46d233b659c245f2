// Global memory blocks: handles to heap blocks that keep their exact requested
// size, as the clipboard and device-independent bitmaps exchange them.
#pragma once

#include "Win32Types.h"

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_ZEROINIT 0x0040
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

// Allocates `bytes` bytes (0 is allowed and gives an empty block), zero-filled
// with GMEM_ZEROINIT. A fixed block's handle is the address of its bytes; a
// moveable block's handle must be locked to reach them. Null with
// ERROR_NOT_ENOUGH_MEMORY when memory runs out, ERROR_INVALID_PARAMETER for
// flags other than those above.
HGLOBAL GlobalAlloc(UINT flags, SIZE_T bytes);

// Address of the block's bytes; for a moveable block the lock count rises by
// one. Null with ERROR_INVALID_HANDLE for a handle that is not a live block.
LPVOID GlobalLock(HGLOBAL memory);

// Lowers a moveable block's lock count. Nonzero while the block stays locked;
// FALSE with ERROR_SUCCESS when it became unlocked, FALSE with ERROR_NOT_LOCKED
// when it was not locked (always for fixed blocks), FALSE with
// ERROR_INVALID_HANDLE for an unknown handle.
BOOL GlobalUnlock(HGLOBAL memory);

// The size the block was allocated (or reallocated) with, exactly; 0 with
// ERROR_INVALID_HANDLE for an unknown handle.
SIZE_T GlobalSize(HGLOBAL memory);

// Frees the block, locked or not. Null on success; the handle itself with
// ERROR_INVALID_HANDLE when it is not a live block (null is ignored: null).
HGLOBAL GlobalFree(HGLOBAL memory);

// Changes the block's size, keeping its contents; bytes added are zero with
// GMEM_ZEROINIT. An unlocked moveable block may move (its handle stays); a
// fixed or locked block moves only with GMEM_MOVEABLE in `flags`, and a fixed
// block that moves gets a new handle. Returns the (possibly new) handle, or null
// with the error set, the old block left intact.
HGLOBAL GlobalReAlloc(HGLOBAL memory, SIZE_T bytes, UINT flags);
