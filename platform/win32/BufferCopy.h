// Copying a text into a caller's buffer by the rule the kernel calls share.
#pragma once

#include <cstring>
#include <string>

#include "Win32Types.h"

namespace win32 {

// With room for the text and its zero in `bufferLength` bytes, copies both and
// returns the text's length; otherwise leaves the buffer alone and returns the
// size needed, zero included.
inline DWORD CopyTextToBuffer(const std::string& text, DWORD bufferLength, LPSTR buffer) {
    if (!buffer || text.size() >= bufferLength) return DWORD(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return DWORD(text.size());
}

}  // namespace win32
