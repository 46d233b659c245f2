// The handle table of windows and the registry of window classes.
#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <unordered_map>

#include "LastError.h"
#include "WindowObject.h"

namespace win32 {
namespace {

std::mutex& TableMutex() {
    static std::mutex mutex;
    return mutex;
}
std::unordered_map<uintptr_t, std::unique_ptr<Window>>& Table() {
    static std::unordered_map<uintptr_t, std::unique_ptr<Window>> table;
    return table;
}
// Handles are never reused, so a stale handle stays invalid.
uintptr_t nextHandle = 0x10000;

std::string LowerCase(const char* text) {
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return lower;
}
std::map<std::string, std::unique_ptr<WindowClass>>& Classes() {
    static std::map<std::string, std::unique_ptr<WindowClass>> classes;
    return classes;
}

}  // namespace

Window* FindWindowQuietly(HWND handle) {
    std::lock_guard<std::mutex> lock(TableMutex());
    auto found = Table().find(reinterpret_cast<uintptr_t>(handle));
    return found == Table().end() ? nullptr : found->second.get();
}

Window* FindWindowRecord(HWND handle) {
    Window* window = FindWindowQuietly(handle);
    if (window == nullptr) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return window;
}

bool WindowThreadOf(HWND handle, std::thread::id* thread) {
    std::lock_guard<std::mutex> lock(TableMutex());
    auto found = Table().find(reinterpret_cast<uintptr_t>(handle));
    if (found == Table().end()) return false;
    *thread = found->second->thread;
    return true;
}

bool WindowStillExists(HWND handle) { return FindWindowQuietly(handle) != nullptr; }

HWND RegisterWindowRecord(std::unique_ptr<Window> window) {
    std::lock_guard<std::mutex> lock(TableMutex());
    nextHandle += 4;
    HWND handle = reinterpret_cast<HWND>(nextHandle);
    window->handle = handle;
    Table()[nextHandle] = std::move(window);
    return handle;
}

void ForgetWindowRecord(Window* window) {
    std::unique_ptr<Window> doomed;
    {
        std::lock_guard<std::mutex> lock(TableMutex());
        auto found = Table().find(reinterpret_cast<uintptr_t>(window->handle));
        if (found == Table().end()) return;
        doomed = std::move(found->second);
        Table().erase(found);
    }
}

std::vector<Window*>& TopLevelList() {
    static std::vector<Window*> list;
    return list;
}

std::vector<Window*> TopLevelWindows() { return TopLevelList(); }

WindowClass* FindWindowClass(const char* name) {
    if (name == nullptr) return nullptr;
    RegisterBuiltInClasses();
    std::string key = IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<uintptr_t>(name)) : LowerCase(name);
    auto found = Classes().find(key);
    return found == Classes().end() ? nullptr : found->second.get();
}

ATOM RegisterClassRecord(const WNDCLASSEXA& record) {
    if (record.lpszClassName == nullptr || record.lpfnWndProc == nullptr || IS_INTRESOURCE(record.lpszClassName) ||
        record.cbWndExtra < 0 || record.cbClsExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::string key = LowerCase(record.lpszClassName);
    if (Classes().count(key) != 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto windowClass = std::make_unique<WindowClass>();
    windowClass->name = record.lpszClassName;
    windowClass->record = record;
    windowClass->record.lpszClassName = windowClass->name.c_str();
    windowClass->record.lpszMenuName = nullptr;
    Classes()[key] = std::move(windowClass);
    return ATOM(0xC000 + Classes().size());
}

bool UnregisterClassRecord(const char* name) {
    if (name == nullptr || IS_INTRESOURCE(name)) return false;
    auto found = Classes().find(LowerCase(name));
    if (found == Classes().end()) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return false;
    }
    if (found->second->windowCount > 0) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return false;
    }
    Classes().erase(found);
    return true;
}

}  // namespace win32

ATOM RegisterClassA(const WNDCLASSA* windowClass) {
    if (windowClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    win32::RegisterBuiltInClasses();
    WNDCLASSEXA record{};
    record.cbSize = sizeof(record);
    record.style = windowClass->style;
    record.lpfnWndProc = windowClass->lpfnWndProc;
    record.cbClsExtra = windowClass->cbClsExtra;
    record.cbWndExtra = windowClass->cbWndExtra;
    record.hInstance = windowClass->hInstance;
    record.hIcon = windowClass->hIcon;
    record.hCursor = windowClass->hCursor;
    record.hbrBackground = windowClass->hbrBackground;
    record.lpszClassName = windowClass->lpszClassName;
    return win32::RegisterClassRecord(record);
}

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (windowClass == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    win32::RegisterBuiltInClasses();
    return win32::RegisterClassRecord(*windowClass);
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) { return win32::UnregisterClassRecord(className); }

BOOL GetClassInfoA(HINSTANCE, LPCSTR className, LPWNDCLASSA windowClass) {
    win32::WindowClass* found = win32::FindWindowClass(className);
    if (found == nullptr || windowClass == nullptr) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    const WNDCLASSEXA& r = found->record;
    *windowClass = WNDCLASSA{r.style,   r.lpfnWndProc, r.cbClsExtra,      r.cbWndExtra,  r.hInstance,
                             r.hIcon,   r.hCursor,     r.hbrBackground,   nullptr,       r.lpszClassName};
    return TRUE;
}

int GetClassNameA(HWND window, LPSTR className, int size) {
    win32::Window* record = win32::FindWindowRecord(window);
    if (record == nullptr || className == nullptr || size < 1) return 0;
    const std::string& name = record->windowClass->name;
    const int count = std::min<int>(int(name.size()), size - 1);
    std::memcpy(className, name.data(), size_t(count));
    className[count] = 0;
    return count;
}
