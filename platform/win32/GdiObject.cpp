// The handle table of GDI objects, stock objects, and the object calls that
// need no device context (GetStockObject, DeleteObject, GetObject, GetObjectType).
#include "GdiObject.h"

#include <cstdio>
#include <mutex>
#include <unordered_set>

#include "GdiBitmap.h"
#include "LogicalFont.h"
#include "PenAndBrush.h"

namespace {

std::mutex& TableMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unordered_set<GdiObject*>& LiveObjects() {
    static std::unordered_set<GdiObject*> objects;
    return objects;
}

// Stock objects by GetStockObject index; ORDER of the stock constants.
struct StockEntry {
    int index;
    const char* name;
    GdiObject* (*make)(int index);
};

GdiObject* MakeBrush(int index) { return MakeStockBrush(index); }
GdiObject* MakePen(int index) { return MakeStockPen(index); }
GdiObject* MakeFont(int index) { return MakeStockFont(index); }

const StockEntry kStockTable[] = {
    {WHITE_BRUSH, "WHITE_BRUSH", MakeBrush},
    {LTGRAY_BRUSH, "LTGRAY_BRUSH", MakeBrush},
    {GRAY_BRUSH, "GRAY_BRUSH", MakeBrush},
    {DKGRAY_BRUSH, "DKGRAY_BRUSH", MakeBrush},
    {BLACK_BRUSH, "BLACK_BRUSH", MakeBrush},
    {NULL_BRUSH, "NULL_BRUSH", MakeBrush},
    {WHITE_PEN, "WHITE_PEN", MakePen},
    {BLACK_PEN, "BLACK_PEN", MakePen},
    {NULL_PEN, "NULL_PEN", MakePen},
    {SYSTEM_FONT, "SYSTEM_FONT", MakeFont},
    {DEFAULT_GUI_FONT, "DEFAULT_GUI_FONT", MakeFont},
};

}  // namespace

HGDIOBJ RegisterGdiObject(GdiObject* object) {
    if (object == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(TableMutex());
    LiveObjects().insert(object);
    return object;
}

GdiObject* LookupGdiObject(HGDIOBJ handle) {
    if (handle == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(TableMutex());
    auto it = LiveObjects().find(static_cast<GdiObject*>(handle));
    return it == LiveObjects().end() ? nullptr : *it;
}

void AcquireGdiObject(GdiObject* object) {
    if (object != nullptr) ++object->useCount;
}

void ReleaseGdiObject(GdiObject* object) {
    if (object == nullptr) return;
    if (--object->useCount <= 0 && object->deletePending) delete object;
}

GdiObject* StockGdiObject(int index) {
    static GdiObject* objects[sizeof(kStockTable) / sizeof(kStockTable[0])] = {};
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    for (size_t i = 0; i < sizeof(kStockTable) / sizeof(kStockTable[0]); ++i) {
        if (kStockTable[i].index != index) continue;
        if (objects[i] == nullptr) {
            objects[i] = kStockTable[i].make(index);
            objects[i]->MakeStock(kStockTable[i].name);
            RegisterGdiObject(objects[i]);
        }
        return objects[i];
    }
    return nullptr;
}

HGDIOBJ GetStockObject(int index) { return HandleOf(StockGdiObject(index)); }

BOOL DeleteObject(HGDIOBJ handle) {
    GdiObject* object = LookupGdiObject(handle);
    if (object == nullptr) return FALSE;
    if (object->IsStock()) return TRUE;
    {
        std::lock_guard<std::mutex> lock(TableMutex());
        LiveObjects().erase(object);
    }
    if (object->useCount > 0) {
        object->deletePending = true;
    } else {
        delete object;
    }
    return TRUE;
}

int GetObjectA(HGDIOBJ handle, int size, LPVOID buffer) {
    GdiObject* object = LookupGdiObject(handle);
    if (object == nullptr) return 0;
    const int full = object->RecordSize();
    if (buffer == nullptr) return full;
    if (size <= 0 || full == 0) return 0;
    object->CopyRecord(buffer, size);
    return size < full ? size : full;
}

std::string DescribeColour(COLORREF colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

std::string DescribeHandle(HGDIOBJ handle) {
    if (handle == nullptr) return "NULL";
    GdiObject* object = LookupGdiObject(handle);
    if (object == nullptr) return "?";
    if (object->IsStock()) return object->StockName();
    return object->Describe();
}
