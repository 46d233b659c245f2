// Text on the clipboard through global memory blocks.
#include "ClipboardText.h"

#include <cstring>

bool SetClipboardText(const std::string& text, HWND owner) {
    std::size_t length = std::strlen(text.c_str());
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, length + 1);
    if (!block) return false;
    auto* bytes = static_cast<char*>(GlobalLock(block));
    if (!bytes) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, text.c_str(), length + 1);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    bool stored = SetClipboardData(CF_TEXT, block) != nullptr;
    if (!stored) GlobalFree(block);
    CloseClipboard();
    return stored;
}

std::string GetClipboardText(HWND owner) {
    if (!OpenClipboard(owner)) return {};
    std::string text;
    HANDLE block = GetClipboardData(CF_TEXT);
    if (block) {
        const auto* bytes = static_cast<const char*>(GlobalLock(block));
        if (bytes) {
            SIZE_T size = GlobalSize(block);
            const void* end = std::memchr(bytes, 0, size);
            text.assign(bytes, end ? static_cast<const char*>(end) - bytes : size);
            GlobalUnlock(block);
        }
    }
    CloseClipboard();
    return text;
}
