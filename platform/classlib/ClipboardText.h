// Text on the clipboard (CF_TEXT) for the class library's controls and the
// containers: put a text there, or read the text held.
#pragma once

#include <string>

#include "Win32.h"

// Replaces the clipboard's contents with text (a terminating NUL is added;
// text is cut at an embedded NUL). False when the clipboard cannot be opened
// or the memory cannot be had; the clipboard is then left as it was.
bool SetClipboardText(const std::string& text, HWND owner = nullptr);
// The clipboard's text up to its first NUL (and never past the block's end);
// empty when there is none or the clipboard cannot be opened.
std::string GetClipboardText(HWND owner = nullptr);
