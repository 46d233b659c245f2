// TVGTVisualizer: pictures (the cache, IMAGE and BKIMAGE, placing a picture
// in the layout), the areas of their link files, and loading both from files.
#include <algorithm>

#include "ContainerErrors.h"
#include "JpegCoder.h"
#include "VGTParameters.h"
#include "VGTVisualizer.h"

namespace {

// ORDER: none; the keys of IMAGE that are flags, whatever their value.
const struct {
    const char* key;
    int flag;
} kPictureFlags[] = {
    {"BACKGROUND", TVGTVisualizer::pfBackground},
    {"KEEPLEFT", TVGTVisualizer::pfKeepLeft},
    {"KEEPRIGHT", TVGTVisualizer::pfKeepRight},
};

// The first item of a parameter, whole.
TString FirstItem(const TString& parameter) {
    const int comma = parameter.Pos(',');
    return comma < 0 ? parameter : parameter.Left(comma);
}

}  // namespace

// ---- the picture cache ----

TMemBitmap* TVGTVisualizer::FindImage(const TString& name, TMemBitmap& fallback) {
    if (!fUsePictureCache) {
        LoadImage(name, fallback);
        return &fallback;
    }
    if (TVGTImageBufferItem* cached = fPictureCache.Find(name)) return &cached->picture;
    TVGTImageBufferItem* item = fPictureCache.NewItem();
    item->name = name;
    LoadImage(name, item->picture);
    return &item->picture;
}

void TVGTVisualizer::ClearPictureCache() {
    if (fBackgroundPicture != &fOwnBackgroundPicture) {
        fOwnBackgroundPicture.Assign(fBackgroundPicture);
        fBackgroundPicture = &fOwnBackgroundPicture;
    }
    fPictureCache.Clear();
}

// ---- IMAGE and BKIMAGE ----

// The first item names the picture; WIDTH and HEIGHT stretch it (a size left
// out, or negative, is the picture's own); LINKS names its link file, read
// only while a measure pass collects links.
void TVGTVisualizer::DoImage(const TString& parameter) {
    const TString name = FirstItem(parameter);
    const TVGTItems items(parameter);
    int width = -1, height = -1, flags = 0;
    TString linkFile;
    for (int i = 1; i < items.GetCount(); ++i) {
        const TVGTItem& item = items[i];
        if (item.key == TString("WIDTH")) width = ReadTagNumber(item.value);
        if (item.key == TString("HEIGHT")) height = ReadTagNumber(item.value);
        if (item.key == TString("LINKS")) linkFile = TString(item.value).Trim();
        for (const auto& row : kPictureFlags)
            if (item.key == TString(row.key)) flags |= row.flag;
    }
    TMemBitmap loaded;
    TMemBitmap* picture = FindImage(name, loaded);
    if (width < 0) width = picture->Width;
    if (height < 0) height = picture->Height;
    POINT placed{0, 0};
    const bool shown = PlaceImage(*picture, width, height, flags, name, placed);
    if (shown && !linkFile.IsEmpty() && fCollectLinks && !fPainting) AddPictureLinks(linkFile, placed);
}

void TVGTVisualizer::AddPictureLinks(const TString& fileName, POINT placed) {
    TImageLinks links;
    LoadImageLinks(fileName, links);
    for (int i = 0; i < links.GetCount(); ++i) {
        if (links.GetItem(i) == nullptr) continue;
        links[i].MoveBy(placed.x, placed.y);
        links[i].RebuildRegion();
    }
    fImageLinks.TakeAll(links);
}

// WIDTH and HEIGHT give the tile size (a size left out, or not positive, is
// the picture's own); any other item names the picture. Only a picture that
// loads switches the background on.
void TVGTVisualizer::DoBkImage(const TString& parameter) {
    if (fPainting) return;
    int tileWidth = 0, tileHeight = 0;
    TString name;
    for (const TVGTItem& item : TVGTItems(parameter)) {
        if (item.key == TString("WIDTH"))
            tileWidth = ReadTagNumber(item.value);
        else if (item.key == TString("HEIGHT"))
            tileHeight = ReadTagNumber(item.value);
        else
            name = item.value;
    }
    TMemBitmap* picture = FindImage(name, fOwnBackgroundPicture);
    if (!picture->Valid) return;
    fBackgroundPicture = picture;
    fBackgroundOn = true;
    fBackgroundMode = bmPicture;
    fTileWidth = tileWidth > 0 ? tileWidth : picture->Width;
    fTileHeight = tileHeight > 0 ? tileHeight : picture->Height;
}

// ---- placing a picture ----

// A picture that does not fit wraps like a word, unless the pen stands at
// the left limit or no-wrap is on; the max width grows to where it would
// have ended. KEEPRIGHT puts it at the right limit and narrows the lines
// beside it; KEEPLEFT starts the lines beside it right of it; BACKGROUND
// leaves pen and line height alone. Inside a link it adds its rectangle.
bool TVGTVisualizer::PlaceImage(TMemBitmap& bitmap, int width, int height, int flags, const TString& name,
                                POINT& placed) {
    if (!bitmap.Valid) {
        PlaceBoldWord(TString("<image:") + name + TString(" not found>"));
        return false;
    }
    const int end = Bounded(static_cast<long long>(fX) + width);
    if (end > GetRightLimit()) {
        if (!fNoBreak && fX != GetLeftLimit()) {
            fX = GetLeftLimit();
            if (fLineHeight != 0) fY = Bounded(static_cast<long long>(fY) + fLineSpace + fLineHeight);
            fLineHeight = height;
        }
        fMaxWidth = std::max(fMaxWidth, end);
    }
    const int unit = GetSpaceUnit();
    int pictureX = fX;
    if (flags & pfKeepRight) {
        pictureX = Bounded(static_cast<long long>(GetRightLimit()) - width);
        fRightKeeps.Add(POINT{Bounded(static_cast<long long>(width) + unit), Bounded(static_cast<long long>(fY) + height)});
    }
    const RECT area{pictureX, fY, Bounded(static_cast<long long>(pictureX) + width - 1),
                    Bounded(static_cast<long long>(fY) + height - 1)};
    if (fPainting && MayShow(area)) bitmap.StretchToDC(fDC, pictureX, fY, width, height, SRCCOPY);
    if (fInLink) AddLinkArea(area, false);
    if (!(flags & pfBackground)) {
        if (!(flags & pfKeepRight)) fX = Bounded(static_cast<long long>(fX) + width + unit);
        if (!(flags & (pfKeepLeft | pfKeepRight))) fLineHeight = std::max(fLineHeight, height);
    }
    if (flags & pfKeepLeft) fLeftKeeps.Add(POINT{fX, Bounded(static_cast<long long>(fY) + height - 1)});
    placed = POINT{pictureX, fY};
    return true;
}

// ---- loading from files ----

// The bitmap reports a file it cannot open by an exception on some paths;
// the picture then stays not valid.
void TVGTVisualizer::LoadImage(const TString& name, TMemBitmap& bitmap) {
    try {
        bitmap.LoadFromFile(name, -1);
    } catch (const TJPEGFileException&) {
        bitmap.Valid = 0;
    }
}

void TVGTVisualizer::LoadImageLinks(const TString& name, TImageLinks& links) {
    try {
        links.ReadFromFile(name);
    } catch (const TSDPPFileException&) {
    }
}
