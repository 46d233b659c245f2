// Mouse cursor shapes: shared standard shapes and shapes from CURSOR resources.
#include "Cursor.h"

#include <deque>
#include <mutex>
#include <string>

#include "Module.h"

namespace win32 {
namespace {

struct CursorRecord {
    int standardId;
    HMODULE module;
    std::string key;
    const void* bytes;
    DWORD size;
};

std::mutex cursorMutex;
std::deque<CursorRecord>& Cursors() {
    static std::deque<CursorRecord> cursors;  // a deque keeps records in place
    return cursors;
}
HCURSOR currentCursor = nullptr;
int displayCount = 0;

// ORDER: none; the standard shapes LoadCursorA knows.
const int standardIds[] = {32512, 32513, 32514, 32515, 32516, 32642, 32643,
                           32644, 32645, 32646, 32648, 32649, 32650, 32651};

HCURSOR HandleOf(CursorRecord& record) { return reinterpret_cast<HCURSOR>(&record); }

CursorRecord* RecordOf(HCURSOR cursor) {
    for (CursorRecord& record : Cursors())
        if (HandleOf(record) == cursor) return &record;
    return nullptr;
}

std::string KeyOf(LPCSTR name) {
    if (IS_INTRESOURCE(name)) return "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name));
    std::string key(name);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return key;
}

HCURSOR Remember(const CursorRecord& wanted) {
    for (CursorRecord& record : Cursors())
        if (record.standardId == wanted.standardId && record.module == wanted.module && record.key == wanted.key)
            return HandleOf(record);
    Cursors().push_back(wanted);
    return HandleOf(Cursors().back());
}

}  // namespace

int StandardCursorId(HCURSOR cursor) {
    std::lock_guard<std::mutex> lock(cursorMutex);
    CursorRecord* record = RecordOf(cursor);
    return record ? record->standardId : 0;
}

const void* CursorResourceBytes(HCURSOR cursor, DWORD* size) {
    std::lock_guard<std::mutex> lock(cursorMutex);
    CursorRecord* record = RecordOf(cursor);
    if (size) *size = record ? record->size : 0;
    return record ? record->bytes : nullptr;
}

}  // namespace win32

using namespace win32;

HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
    if (name == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(cursorMutex);
    if (instance == nullptr && IS_INTRESOURCE(name)) {
        const int id = int(reinterpret_cast<ULONG_PTR>(name));
        for (int standard : standardIds)
            if (standard == id) return Remember(CursorRecord{id, nullptr, std::string(), nullptr, 0});
    }
    HRSRC resource = FindResourceA(instance, name, RT_GROUP_CURSOR);
    if (resource == nullptr) resource = FindResourceA(instance, name, RT_CURSOR);
    if (resource == nullptr) return nullptr;
    const void* bytes = LockResource(LoadResource(instance, resource));
    return Remember(CursorRecord{0, instance, KeyOf(name), bytes, SizeofResource(instance, resource)});
}

HCURSOR SetCursor(HCURSOR cursor) {
    HCURSOR previous = currentCursor;
    currentCursor = cursor;
    return previous;
}

HCURSOR GetCursor() { return currentCursor; }

int ShowCursor(BOOL show) { return show ? ++displayCount : --displayCount; }

BOOL DestroyCursor(HCURSOR) { return TRUE; }
