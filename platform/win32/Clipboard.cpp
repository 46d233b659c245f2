// The clipboard's blocks, its open/close discipline and the desktop text exchange.
#include "Clipboard.h"

#include <map>
#include <mutex>
#include <thread>

#include "CodePage.h"
#include "GlobalMemory.h"
#include "LastError.h"

namespace win32 {
namespace {

struct ClipboardState {
    std::mutex mutex;
    std::map<UINT, HGLOBAL> blocks;
    bool open = false;
    std::thread::id openedBy;
    HWND openWindow = nullptr;
    HWND owner = nullptr;
    bool textChanged = false;        // CF_TEXT set or emptied while open
    std::string lastExchanged;       // the desktop text last written or read (UTF-8)
    DesktopClipboard* desktop = nullptr;
};

ClipboardState& TheClipboard() {
    static ClipboardState* state = new ClipboardState;  // outlives static destructors
    return *state;
}

bool OpenedByCaller(const ClipboardState& state) {
    return state.open && state.openedBy == std::this_thread::get_id();
}

void FreeAll(ClipboardState& state) {
    for (auto& entry : state.blocks) GlobalFree(entry.second);
    state.blocks.clear();
}

bool IsLiveBlock(HANDLE handle) {
    SetLastError(ERROR_SUCCESS);
    return GlobalSize(handle) != 0 || GetLastError() != ERROR_INVALID_HANDLE;
}

// The bytes of a CF_TEXT block up to its first zero.
std::string TextOfBlock(HGLOBAL block) {
    const SIZE_T size = GlobalSize(block);
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text;
    if (bytes != nullptr) {
        SIZE_T length = 0;
        while (length < size && bytes[length] != '\0') ++length;
        text.assign(bytes, length);
        GlobalUnlock(block);
    }
    return text;
}

HGLOBAL BlockOfText(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    if (block == nullptr) return nullptr;
    char* bytes = static_cast<char*>(GlobalLock(block));
    text.copy(bytes, text.size());
    GlobalUnlock(block);
    return block;
}

// The desktop uses LF line ends, the suite CR LF.
std::string DesktopFromSuite(const std::string& text) {
    std::string utf8 = CodePageToUtf8(text);
    std::string result;
    for (size_t i = 0; i < utf8.size(); ++i)
        if (!(utf8[i] == '\r' && i + 1 < utf8.size() && utf8[i + 1] == '\n')) result += utf8[i];
    return result;
}

std::string SuiteFromDesktop(const std::string& utf8) {
    std::string text;
    for (char c : Utf8ToCodePage(utf8)) {
        if (c == '\0') break;
        if (c == '\n' && (text.empty() || text.back() != '\r')) text += '\r';
        text += c;
    }
    return text;
}

// Text another program put on the desktop replaces what the process holds.
void TakeDesktopText(ClipboardState& state) {
    std::string utf8;
    if (state.desktop == nullptr || !state.desktop->ReadText(&utf8) || utf8.empty()) return;
    if (utf8 == state.lastExchanged) return;
    HGLOBAL block = BlockOfText(SuiteFromDesktop(utf8));
    if (block == nullptr) return;
    FreeAll(state);
    state.blocks[CF_TEXT] = block;
    state.owner = nullptr;
    state.lastExchanged = utf8;
}

void GiveTextToDesktop(ClipboardState& state) {
    if (state.desktop == nullptr) return;
    auto found = state.blocks.find(CF_TEXT);
    if (found == state.blocks.end()) return;
    state.lastExchanged = DesktopFromSuite(TextOfBlock(found->second));
    state.desktop->WriteText(state.lastExchanged);
}

// Answers a question about the blocks held, after taking in the desktop's text
// (only while the clipboard is closed: an open one is being read or written).
template <typename Query>
auto QueryBlocks(Query query) {
    ClipboardState& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.open) TakeDesktopText(state);
    return query(state.blocks);
}

BOOL NotOpen() {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
}

}  // namespace

void ConnectDesktopClipboard(DesktopClipboard* desktop) {
    ClipboardState& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    state.desktop = desktop;
    state.lastExchanged.clear();
}

void ResetClipboard() {
    ClipboardState& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    FreeAll(state);
    state.open = false;
    state.owner = nullptr;
    state.openWindow = nullptr;
    state.textChanged = false;
}

}  // namespace win32

using win32::TheClipboard;

BOOL OpenClipboard(HWND window) {
    auto& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (state.open && state.openedBy != std::this_thread::get_id()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (!state.open) state.textChanged = false;
    state.open = true;
    state.openedBy = std::this_thread::get_id();
    state.openWindow = window;
    return TRUE;
}

BOOL CloseClipboard() {
    auto& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!win32::OpenedByCaller(state)) return win32::NotOpen();
    if (state.textChanged) win32::GiveTextToDesktop(state);
    state.open = false;
    state.openWindow = nullptr;
    state.textChanged = false;
    return TRUE;
}

BOOL EmptyClipboard() {
    auto& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!win32::OpenedByCaller(state)) return win32::NotOpen();
    win32::FreeAll(state);
    state.owner = state.openWindow;
    state.textChanged = true;
    return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
    auto& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!win32::OpenedByCaller(state)) {
        win32::NotOpen();
        return nullptr;
    }
    if (format == 0 || data == nullptr || !win32::IsLiveBlock(data)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HGLOBAL& held = state.blocks[format];
    if (held != nullptr && held != data) GlobalFree(held);
    held = data;
    if (format == CF_TEXT) state.textChanged = true;
    return data;
}

HANDLE GetClipboardData(UINT format) {
    auto& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!win32::OpenedByCaller(state)) {
        win32::NotOpen();
        return nullptr;
    }
    if (!state.textChanged) win32::TakeDesktopText(state);
    auto found = state.blocks.find(format);
    if (found == state.blocks.end()) {
        SetLastError(ERROR_SUCCESS);
        return nullptr;
    }
    return found->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
    return win32::QueryBlocks([format](const std::map<UINT, HGLOBAL>& blocks) { return BOOL(blocks.count(format)); });
}

int CountClipboardFormats() {
    return win32::QueryBlocks([](const std::map<UINT, HGLOBAL>& blocks) { return int(blocks.size()); });
}

HWND GetClipboardOwner() {
    auto& state = TheClipboard();
    std::lock_guard<std::mutex> lock(state.mutex);
    return state.owner;
}
