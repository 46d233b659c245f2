// TMemBitmapItem: forwards each storage form to the bitmap it holds.
#include "MemBitmapContainer.h"

TMemBitmapItem::TMemBitmapItem(int width, int height, int bpp) { bitmap_.NewBitmap(width, height, bpp); }

TMemBitmapItem::TMemBitmapItem(TMemBitmap& source) { bitmap_ = source; }

TMemBitmapItem::~TMemBitmapItem() = default;

void TMemBitmapItem::SaveToStream(FILE* file) const { bitmap_.SaveToStream(file); }

bool TMemBitmapItem::LoadFromStream(FILE* file) { return bitmap_.LoadFromStream(file); }

void TMemBitmapItem::WriteToStdStream(std::ostream& stream) const { bitmap_.WriteToStdStreamBin(stream); }

bool TMemBitmapItem::ReadFromStdStream(std::istream& stream) { return bitmap_.ReadFromStdStreamBin(stream); }

bool TMemBitmapItem::WriteToStdStreamBin(std::ostream& stream) { return bitmap_.WriteToStdStreamBin(stream); }

bool TMemBitmapItem::ReadFromStdStreamBin(std::istream& stream) { return bitmap_.ReadFromStdStreamBin(stream); }

void TMemBitmapItem::WriteToMemBuffer(TMemBuffer& buffer) const { bitmap_.WriteToMemBuffer(buffer); }

bool TMemBitmapItem::ReadFromMemBuffer(TMemBuffer& buffer) { return bitmap_.ReadFromMemBuffer(buffer); }
