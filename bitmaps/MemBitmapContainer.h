// TMemBitmapItem: a container item holding one memory bitmap, stored in the
// bitmap's own record forms.
#pragma once

#include "ContainerItem.h"
#include "MemBitmap.h"

class TMemBitmapItem : public TContainerItem {
public:
    TMemBitmapItem() = default;
    // NewBitmap(width, height, bpp).
    TMemBitmapItem(int width, int height, int bpp);
    // A copy of source.
    explicit TMemBitmapItem(TMemBitmap& source);
    ~TMemBitmapItem() override;

    // The FILE record of TMemBitmap; false (no picture) on a damaged stream.
    void SaveToStream(FILE* file) const override;
    bool LoadFromStream(FILE* file) override;
    // Standard streams carry the binary record; the text forms do nothing.
    void WriteToStdStream(std::ostream& stream) const override;
    bool ReadFromStdStream(std::istream& stream) override;
    bool WriteToStdStreamBin(std::ostream& stream);
    bool ReadFromStdStreamBin(std::istream& stream);
    void WriteToStdStreamText(std::ostream&) {}
    void ReadFromStdStreamText(std::istream&) {}
    // The TMemBuffer record of TMemBitmap.
    void WriteToMemBuffer(TMemBuffer& buffer) const override;
    bool ReadFromMemBuffer(TMemBuffer& buffer) override;

    // Writing needs the bitmap's lock and DIB for a moment; the picture itself
    // does not change, so the const writers go through this.
    TMemBitmap& Bitmap() const { return bitmap_; }

private:
    mutable TMemBitmap bitmap_;
};
