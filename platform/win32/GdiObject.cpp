// The handle table of GDI objects, stock objects, and the object calls that
// need no device context (GetStockObject, DeleteObject, GetObject, GetObjectType).
#include "GdiObject.h"

#include <cstdio>
#include <mutex>

#include "GdiBitmap.h"
#include "LogicalFont.h"
#include "PenAndBrush.h"

HandleTable<GdiObject> liveGdiObjects(0x60);

namespace {

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
    const HGDIOBJ handle = reinterpret_cast<HGDIOBJ>(liveGdiObjects.Add(object));
    object->handle_ = handle;
    if (handle != nullptr) {
        object->useCount = 1;  // the handle's own use, ended by DeleteObject
    } else if (!object->IsStock()) {
        delete object;
    }
    return handle;
}

void AcquireGdiObject(GdiObject* object) {
    if (object != nullptr) ++object->useCount;
}

void ReleaseGdiObject(GdiObject* object) {
    if (object == nullptr) return;
    if (--object->useCount == 0 && !object->IsStock()) delete object;
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
    if (!liveGdiObjects.Remove(reinterpret_cast<uintptr_t>(handle))) return FALSE;  // deleted meanwhile
    ReleaseGdiObject(object);  // freed now, or by the last DC that still holds it
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
