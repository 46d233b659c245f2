// Base of GDI objects (pens, brushes, fonts, bitmaps, regions) and the table
// that turns handles into live objects. Internal to the Win32 subset.
#pragma once

#include <atomic>
#include <string>

#include "Gdi.h"

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

    bool IsStock() const { return stockName_ != nullptr; }
    const char* StockName() const { return stockName_; }
    void MakeStock(const char* name) { stockName_ = name; }

    // Selections by DCs and saved DC states; a deleted object is freed when this
    // drops to 0. Atomic because DCs on different threads share stock objects.
    std::atomic<int> useCount{0};
    std::atomic<bool> deletePending{false};

private:
    GdiKind kind_;
    const char* stockName_ = nullptr;
};

// Registers a new object and returns its handle.
HGDIOBJ RegisterGdiObject(GdiObject* object);
// The live object of a handle (null for unknown, deleted or wrong-kind handles).
GdiObject* LookupGdiObject(HGDIOBJ handle);
template <class T>
T* LookupGdiObjectAs(HGDIOBJ handle, GdiKind kind) {
    GdiObject* object = LookupGdiObject(handle);
    return object != nullptr && object->Kind() == kind ? static_cast<T*>(object) : nullptr;
}
inline HGDIOBJ HandleOf(const GdiObject* object) { return const_cast<GdiObject*>(object); }

// Selection bookkeeping: AcquireGdiObject on select/save, ReleaseGdiObject on
// deselect/restore-drop; releasing the last use of a deleted object frees it.
void AcquireGdiObject(GdiObject* object);
void ReleaseGdiObject(GdiObject* object);

// Stock object by index (null for an unknown index); created on first use.
GdiObject* StockGdiObject(int index);

// Text for the call trace.
std::string DescribeHandle(HGDIOBJ handle);
std::string DescribeColour(COLORREF colour);
