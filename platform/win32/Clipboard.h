// The clipboard: global memory blocks by format, held in the process; with a
// desktop (the SDL back end) CF_TEXT is also exchanged with the desktop as UTF-8.
#pragma once

#include <string>

#include "Win32Types.h"

#define CF_TEXT 1
#define CF_BITMAP 2
#define CF_DIB 8

#define ERROR_CLIPBOARD_NOT_OPEN 1418L

// Opens the clipboard for the calling thread (window may be null). FALSE with
// ERROR_ACCESS_DENIED while another thread has it open; opening it again on
// the same thread succeeds.
BOOL OpenClipboard(HWND window);
// FALSE with ERROR_CLIPBOARD_NOT_OPEN when the thread has not opened it.
BOOL CloseClipboard();
// Frees every block held. Needs the clipboard open (else FALSE, ERROR_CLIPBOARD_NOT_OPEN).
BOOL EmptyClipboard();
// The clipboard takes the block (GlobalAlloc) and frees the one it held for the
// format. Returns data; null with ERROR_CLIPBOARD_NOT_OPEN when not open, with
// ERROR_INVALID_PARAMETER for format 0, a null block (delayed rendering is not
// offered) or a handle that is not a live global block (the caller keeps it).
HANDLE SetClipboardData(UINT format, HANDLE data);
// The block held for the format, still owned by the clipboard; null when the
// clipboard is not open (ERROR_CLIPBOARD_NOT_OPEN) or holds no such format.
HANDLE GetClipboardData(UINT format);
// Whether a block of the format is held; needs no open clipboard.
BOOL IsClipboardFormatAvailable(UINT format);
int CountClipboardFormats();
// The window given to the OpenClipboard that last emptied it (null if none).
HWND GetClipboardOwner();

namespace win32 {

// The desktop's clipboard as a back end offers it (text only, UTF-8).
class DesktopClipboard {
public:
    virtual ~DesktopClipboard() = default;
    // False when the desktop holds no text.
    virtual bool ReadText(std::string* utf8) = 0;
    virtual void WriteText(const std::string& utf8) = 0;
};

// Connects the clipboard to the desktop (null disconnects). The caller keeps ownership.
void ConnectDesktopClipboard(DesktopClipboard* desktop);
// Frees every block and closes the clipboard (test reset and shutdown).
void ResetClipboard();

}  // namespace win32
