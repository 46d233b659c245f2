// Base of GDI objects (pens, brushes, fonts, bitmaps, regions) and the table
// that turns handles into live objects. Internal to the Win32 subset.
#pragma once

#include <atomic>
#include <string>

#include "Gdi.h"
#include "HandleTable.h"

enum class GdiKind { Pen = OBJ_PEN, Brush = OBJ_BRUSH, Font = OBJ_FONT, Bitmap = OBJ_BITMAP, Region = OBJ_REGION };

class GdiObject {
public:
    explicit GdiObject(GdiKind kind) : kind_(kind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    GdiKind Kind() const { return kind_; }
    // Size of the record GetObject copies, and the record itself (at most size bytes).
    virtual int RecordSize() const { return 0; }
    virtual void CopyRecord(void* buffer, int size) const {
        (void)buffer;
        (void)size;
    }
    // Contents for the call trace, e.g. "Pen(PS_SOLID, 1, 0x00000000)".
    virtual std::string Describe() const = 0;

    // The object's handle (null before it is registered).
    HGDIOBJ Handle() const { return handle_; }
    bool IsStock() const { return stockName_ != nullptr; }
    const char* StockName() const { return stockName_; }
    void MakeStock(const char* name) { stockName_ = name; }

    // The handle's own use (until DeleteObject) plus selections by DCs and
    // saved DC states; the object is freed when this drops to 0, so whichever
    // thread ends the last use frees it. Stock objects are never freed.
    std::atomic<int> useCount{0};

private:
    friend HGDIOBJ RegisterGdiObject(GdiObject* object);
    GdiKind kind_;
    const char* stockName_ = nullptr;
    HGDIOBJ handle_ = nullptr;
};

// Registers a new object and returns its handle. When no handle is left (a
// million live objects), a new object is deleted and null returned; a stock
// object is kept, with a null handle.
HGDIOBJ RegisterGdiObject(GdiObject* object);
// Selections look objects up on every change of pen, brush or font, so the
// table answers without a lock.
[[gnu::visibility("hidden")]] extern HandleTable<GdiObject> liveGdiObjects;
// The live object of a handle (null for unknown and deleted handles).
inline GdiObject* LookupGdiObject(HGDIOBJ handle) { return liveGdiObjects.Find(reinterpret_cast<uintptr_t>(handle)); }
template <class T>
T* LookupGdiObjectAs(HGDIOBJ handle, GdiKind kind) {
    GdiObject* object = LookupGdiObject(handle);
    return object != nullptr && object->Kind() == kind ? static_cast<T*>(object) : nullptr;
}
inline HGDIOBJ HandleOf(const GdiObject* object) { return object != nullptr ? object->Handle() : nullptr; }

// Selection bookkeeping: AcquireGdiObject on select/save, ReleaseGdiObject on
// deselect/restore-drop; releasing the last use (of a deleted object) frees it.
void AcquireGdiObject(GdiObject* object);
void ReleaseGdiObject(GdiObject* object);

// Stock object by index (null for an unknown index); created on first use.
GdiObject* StockGdiObject(int index);

// Text for the call trace.
std::string DescribeHandle(HGDIOBJ handle);
std::string DescribeColour(COLORREF colour);
