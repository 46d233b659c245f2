// Pixel views over memory bitmaps (MB2ID) and bitmaps made from views.
#pragma once

#include "ImageData.h"
#include "MemBitmap.h"

// Locks the bitmap (the caller calls Unlock when done with the view, even for
// an empty one) and views the inclusive rectangle, cut to the picture. 8 bits
// give type 0, pixel step 1; 24 bits type 2, pixel step 3; the line step is
// -LineSize and data points at the rectangle's top-left pixel. Other depths, a
// bitmap without a DIB or a rectangle outside the picture give a view with
// null data and size 0 x 0. The view is good until the lock ends or the DIB
// is replaced (see TMemBitmap).
IMAGEDATA MB2ID(TMemBitmap& bitmap, RECT rect);
// The whole picture.
IMAGEDATA MB2ID(TMemBitmap& bitmap);

// Makes the bitmap a copy of the view: type 0 gives 8 bits with an all-black
// table, type 2 gives 24 bits. Other types, an empty view or a size the bitmap
// cannot hold leave no picture (Valid 0). A bitmap with KeepDIB 0 keeps only
// its device bitmap afterwards.
void InitBitmapFromID(TMemBitmap& bitmap, const IMAGEDATA& view);
void ID2MB(TMemBitmap& bitmap, const IMAGEDATA& view);
