// TVGTVisualizer: the two passes, the reset between them, fonts, limits,
// words, keeps, lines, the background and the topic source.
#include "VGTVisualizer.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <typeinfo>

#include "ContainerErrors.h"
#include "SolidPenBrush.h"
#include "SymbolScan.h"
#include "VGTParameters.h"

TVGTVisualizer::TVGTVisualizer() : fFaceName("Arial") { fLeftKeeps.Add(POINT{0, -1}); }

TVGTVisualizer::~TVGTVisualizer() = default;

// ---- passes ----

bool TVGTVisualizer::MeasureTopic(HDC dc, int left, int top, int right, int& height, int& maxWidth,
                                  bool clearPictureCache, bool usePictureCache) {
    fPainting = false;
    Reset(dc, left, top, right, clearPictureCache, usePictureCache);
    fMaxWidth = maxWidth;
    bool ok = true;
    if (fSource.GetCount() == 0) {
        fMaxWidth = 0;
    } else {
        ok = Parse(fSource);
        if (ok) DoNewLine();
    }
    height = Bounded(static_cast<long long>(fY) - fTop);
    maxWidth = fMaxWidth;
    fMeasuredWidth = fRight;
    fMeasuredHeight = height;
    ReleaseFont();
    return ok;
}

bool TVGTVisualizer::PaintTopic(HDC dc, int left, int top, int right, bool clearPictureCache, bool usePictureCache,
                                bool withBackground) {
    fPainting = true;
    Reset(dc, left, top, right, clearPictureCache, usePictureCache);
    if (withBackground) FillTopicBackground(dc, fX, fY, -1, -1);
    PaintColorBlocks();
    bool ok = Parse(fSource);
    ReleaseFont();
    return ok;
}

// The base parser's run; for a visualizer of exactly this class its
// character loop calls the operations directly instead of through the
// virtual table (a derived class may override them and takes that path).
bool TVGTVisualizer::Parse(TStringContainer& lines) { return ParseTaggedAs(*this, lines); }

void TVGTVisualizer::Reset(HDC dc, int left, int top, int right, bool clearPictureCache, bool usePictureCache) {
    fDC = dc;
    // What the DC holds is not known yet: the first font, colour and mode go to it.
    fFont = fDCFont = nullptr;
    fWordSizes.Clear();
    fSelectedTextColor = CLR_INVALID;
    fTransparentSet = false;
    fPixelsPerInch = GetDeviceCaps(dc, LOGPIXELSY);
    if (fPainting && GetClipBox(dc, &fClip) == ERROR) fClip = RECT{0, 0, 0, 0};
    fX = Bounded(left);
    fY = fTop = Bounded(top);
    fRight = Bounded(right);
    fNoBreak = false;
    // Stacks, columns and frames start empty in every pass, so that a topic
    // leaving one open cannot change the next pass.
    fLeftKeeps.Clear();
    fLeftKeeps.Add(POINT{fX, -1});
    fRightKeeps.Clear();
    fIndents.Clear();
    fListNumbers.Clear();
    fFrames.Clear();
    fColumns.Clear();
    fColumnCaptions.Clear();
    fColumnLineStyle = 0;
    fFontSize = 10;
    fLineHeight = 10;
    fLineSpace = 0;
    fWeight = FW_NORMAL;
    fItalic = fUnderline = fStrikeOut = false;
    fFaceName = "Arial";
    // A visualizer of exactly this class changes the face only here and in
    // DoFontFace, which let go of the face they knew; a derived one may
    // change it anywhere, and its face is looked at at every SelectFont.
    fRequestFace = -1;
    fFaceTracked = typeid(*this) == typeid(TVGTVisualizer);
    fLineColor = fTextColor = fNormalTextColor = 0;
    fLinkColor = 0xFF0000;
    SelectFont();
    fParagraphIndentUnits = fTabStepUnits = 8;
    fInColumns = false;
    fColumn = 0;
    fRowTop = fY;
    fLowestRowY = -1;
    fInLink = false;
    fCurrentLink = nullptr;
    if (!fPainting) {
        fLinks.Clear();
        fImageLinks.Clear();
        fForms.Clear();
    }
    fAlignState = asNone;
    fAlignLeft = fAlignRight = 0;
    fPanels.Clear();
    if (clearPictureCache) ClearPictureCache();
    fUsePictureCache = usePictureCache;
    fPaintBk = false;
    fLastWordInBlock = false;
    fInSection = false;
    if (fPainting) {
        fNextSection = 0;
        return;
    }
    fBackgroundOn = false;
    fBackgroundMode = bmColor;
    fBackgroundColor = 0xFFFFFF;
    fBackgroundPicture = &fOwnBackgroundPicture;
    fOwnBackgroundPicture.NewBitmap(1, 1, 24);
    fSections.Clear();
    fColorBlocks.Clear();
}

// ---- fonts ----

namespace {

// At most this many fonts of one pass are kept for reuse.
constexpr size_t kPassFontLimit = 32;

}  // namespace

void TVGTVisualizer::SelectFont() {
    const int height = GetFontHeight();
    int face = RequestFace();
    HFONT font = nullptr;
    for (const TPassFont& made : fPassFonts) {
        if (made.height == height && made.weight == fWeight && made.italic == fItalic &&
            made.underline == fUnderline && made.strikeOut == fStrikeOut && made.face == face) {
            font = made.font;
            break;
        }
    }
    if (font == nullptr) {
        font = CreateFontA(height, 0, 0, 0, fWeight, fItalic, fUnderline, fStrikeOut, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                           fFaceName.c_str());
        if (fPassFonts.size() >= kPassFontLimit) {
            // The fonts let go of must not be the DC's.
            SelectObject(fDC, font);
            fDCFont = font;
            DeletePassFonts();
            face = RequestFace();
        }
        fPassFonts.push_back(TPassFont{height, fWeight, fItalic, fUnderline, fStrikeOut, face, font});
    }
    fFont = font;
}

// Tags switch fonts and colours far more often than a pass measures a new
// word or draws one that shows, so the DC gets them only then.
void TVGTVisualizer::ApplyFont() {
    if (fFont != fDCFont) SelectObject(fDC, fFont);
    fDCFont = fFont;
}

void TVGTVisualizer::ApplyTextLook() {
    ApplyFont();
    if (fTextColor != fSelectedTextColor) SetTextColor(fDC, fTextColor);
    fSelectedTextColor = fTextColor;
    if (!fTransparentSet) SetBkMode(fDC, TRANSPARENT);
    fTransparentSet = true;
}

int TVGTVisualizer::RequestFace() {
    if (fRequestFace >= 0 && fFaceTracked) return fRequestFace;
    // A font request holds the face up to its first NUL, at most LF_FACESIZE - 1 characters.
    const char* face = fFaceName.c_str();
    const size_t length = strnlen(face, LF_FACESIZE - 1);
    fRequestFace = -1;
    for (size_t i = 0; i < fPassFaces.size() && fRequestFace < 0; ++i)
        if (fPassFaces[i].size() == length && std::memcmp(fPassFaces[i].data(), face, length) == 0)
            fRequestFace = static_cast<int>(i);
    if (fRequestFace < 0) {
        fPassFaces.emplace_back(face, length);
        fRequestFace = static_cast<int>(fPassFaces.size()) - 1;
    }
    return fRequestFace;
}

void TVGTVisualizer::DeletePassFonts() {
    for (const TPassFont& made : fPassFonts) DeleteObject(made.font);
    fPassFonts.clear();
    fPassFaces.clear();
    fRequestFace = -1;
    fWordSizes.Clear();
}

void TVGTVisualizer::ReleaseFont() {
    SelectObject(fDC, GetStockObject(SYSTEM_FONT));
    DeletePassFonts();
    fFont = fDCFont = nullptr;
    fSelectedTextColor = CLR_INVALID;
    fTransparentSet = false;
}

int TVGTVisualizer::GetFontHeight() {
    const int size = std::clamp(fFontSize, -kFontSizeLimit, kFontSizeLimit);
    // A topic asks for few sizes, many times: the last one is kept.
    if (size != fHeightOf.size || fPixelsPerInch != fHeightOf.pixelsPerInch)
        fHeightOf = TFontHeight{size, fPixelsPerInch, -MulDiv(size, fPixelsPerInch, 72)};
    return fHeightOf.height;
}

COLORREF TVGTVisualizer::ParseColor(const TString& text) { return ReadTagColor(text); }

int TVGTVisualizer::ParseLineStyle(const TString& text) { return ReadLineStyle(text); }

// ---- units and limits ----

int TVGTVisualizer::GetSpaceUnit() { return 3; }
int TVGTVisualizer::GetParagraphIndent() { return GetSpaceUnit() * fParagraphIndentUnits; }
int TVGTVisualizer::GetTabStep() { return GetSpaceUnit() * fTabStepUnits; }
int TVGTVisualizer::GetLineSpace() { return fLineSpace; }


int TVGTVisualizer::IndentInUse() const {
    const bool applies = fIndents.GetCount() > 0 && fLeftKeeps.Last().y == -1 && !InLaterColumn();
    return applies ? fIndents.Last() : 0;
}

int TVGTVisualizer::GetLeftLimit() {
    if (InLaterColumn()) {
        const COL_INFO& border = fColumns[CurrentColumn() - 1];
        return Bounded(static_cast<long long>(border.position) + border.gap);
    }
    long long limit = static_cast<long long>(fLeftKeeps.Last().x) + IndentInUse();
    if (fAlignState == asRight || fAlignState == asCenter) limit += fAlignLeft;
    return Bounded(limit);
}

int TVGTVisualizer::GetRightLimit() {
    const int alignRight = fAlignState == asLeft || fAlignState == asCenter ? fAlignRight : 0;
    if (!fInColumns) {
        long long limit = static_cast<long long>(fRight) - alignRight;
        for (int i = 0; i < fRightKeeps.GetCount(); ++i) limit -= fRightKeeps[i].x;
        return Bounded(limit);
    }
    const int column = CurrentColumn();
    if (column >= fColumns.GetCount()) return Bounded(static_cast<long long>(fRight) - alignRight);
    const COL_INFO& border = fColumns[column];
    return Bounded(static_cast<long long>(border.position) - border.gap);
}

int TVGTVisualizer::GetAlignWidth(const TString& text) {
    const long long available = static_cast<long long>(GetRightLimit()) - GetLeftLimit();
    int percent = 80;
    if (text.EndsWith(TString("%"))) percent = std::clamp(ReadTagNumber(text), 5, 95);
    return Bounded(available * percent / 100);
}

// ---- words, lines and keeps ----

void TVGTVisualizer::ParseSymbol(const TString& word) { ParseSymbolText(word.c_str(), size_t(word.Length())); }

void TVGTVisualizer::ParseSymbolText(const char* word, size_t length) {
    // Read before the base resets it: link areas merge only word after word.
    const bool afterWord = GetCurrentTagId() == 0;
    TVGTParser::ParseSymbolText(word, length);
    PlaceWord(word, static_cast<int>(length), afterWord);
}

void TVGTVisualizer::PlaceWord(const char* word, int length, bool afterWord) {
    // Each word is measured once per font and pass: the font is the DC's and
    // nothing else of the DC that a measure depends on changes in a pass.
    SIZE size{0, 0};
    if (const SIZE* known = fWordSizes.Find(fFont, word, length)) {
        size = *known;
    } else {
        ApplyFont();
        if (GetTextExtentPoint32A(fDC, word, length, &size)) fWordSizes.Add(fFont, word, length, size);
    }
    if (static_cast<long long>(fX) + size.cx > GetRightLimit()) {
        if (!fNoBreak) {
            fY = Bounded(static_cast<long long>(fY) + fLineSpace + fLineHeight);
            fLineHeight = fFontSize;
            DropExpiredKeeps();
            fX = GetLeftLimit();
        }
        fMaxWidth = std::max(fMaxWidth, Bounded(static_cast<long long>(fX) + size.cx));
    }
    const RECT area{fX, fY, Bounded(static_cast<long long>(fX) + size.cx - 1),
                    Bounded(static_cast<long long>(fY) + size.cy - 1)};
    if (fPainting && MayShow(area)) {
        ApplyTextLook();
        TextOutA(fDC, fX, fY, word, length);
    }
    if (fInLink) AddLinkArea(area, afterWord);
    if (fPaintBk && !fPainting) AddColorBlock(area);
    fLastWordInBlock = fPaintBk;
    fX = Bounded(static_cast<long long>(fX) + GetSpaceUnit() + size.cx);
    fLineHeight = std::max(fLineHeight, static_cast<int>(size.cy));
}

void TVGTVisualizer::PlaceBoldWord(const TString& word) {
    const int weight = fWeight;
    fWeight = FW_BOLD;
    SelectFont();
    ParseSymbol(word);
    fWeight = weight;
    SelectFont();
}

void TVGTVisualizer::AddLinkArea(const RECT& area, bool mergeWithLast) {
    if (!fCollectLinks || fCurrentLink == nullptr) return;
    TRectContainer& areas = fCurrentLink->areas;
    if (mergeWithLast && areas.GetCount() > 0 && areas.Last().top == area.top && areas.Last().bottom == area.bottom) {
        areas.Last().right = area.right;
        return;
    }
    areas.Add(area);
}

// Blocks are collected by the measure pass alone, which the paint pass then
// paints. A block grows only over words that follow each other painted, so an
// unpainted word between two stretches of one colour keeps its own background.
void TVGTVisualizer::AddColorBlock(const RECT& area) {
    if (fLastWordInBlock && fColorBlocks.GetCount() > 0) {
        TColorBlock& last = fColorBlocks.Last();
        if (last.color == fPaintBkColor && last.top == area.top && last.bottom == area.bottom) {
            last.right = area.right;
            return;
        }
    }
    TColorBlock* block = fColorBlocks.NewItem();
    block->color = fPaintBkColor;
    block->left = area.left;
    block->top = area.top;
    block->right = area.right;
    block->bottom = area.bottom;
}

void TVGTVisualizer::AdvanceLine() {
    fY = Bounded(static_cast<long long>(fY) + fLineSpace + (fLineHeight != 0 ? fLineHeight : fFontSize));
    fLineHeight = 0;
}

void TVGTVisualizer::DropExpiredKeeps() {
    while (fLeftKeeps.GetCount() > 1 && fLeftKeeps.Last().y != -1 && fLeftKeeps.Last().y < fY)
        fLeftKeeps.DeleteLast();
    while (fRightKeeps.GetCount() > 0 && fRightKeeps.Last().y != -1 && fRightKeeps.Last().y < fY)
        fRightKeeps.DeleteLast();
}

void TVGTVisualizer::PopLeftKeep() {
    if (fLeftKeeps.GetCount() > 1) fLeftKeeps.DeleteLast();
}

void TVGTVisualizer::DrawLine(int x1, int y1, int x2, int y2) {
    if (!fPainting) return;
    // A long topic is walked whole; lines that cannot show cost no pen.
    const RECT box{std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2)};
    if (box.bottom < fClip.top || box.top >= fClip.bottom || box.right < fClip.left || box.left >= fClip.right) return;
    TSolidPenBrush pen(fDC, fLineColor, false);
    MoveToEx(fDC, x1, y1, nullptr);
    LineTo(fDC, x2, y2);
}

// ---- background and blocks ----

void TVGTVisualizer::FillTopicBackground(HDC dc, int left, int top, int width, int height) {
    if (!fBackgroundOn) return;
    const int right = width == -1 ? Bounded(static_cast<long long>(fMaxWidth) + 1)
                                  : Bounded(static_cast<long long>(left) + width);
    const int bottom = Bounded(static_cast<long long>(top) + (height == -1 ? fMeasuredHeight : height));
    if (fBackgroundMode == bmPicture) {
        POINT corners[4] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
        fBackgroundPicture->FillPoly(dc, corners, 4, SRCCOPY, true, fTileWidth, fTileHeight);
        return;
    }
    TSolidPenBrush colour(dc, fBackgroundColor, true);
    Rectangle(dc, left, top, right, bottom);
}

void TVGTVisualizer::PaintColorBlocks() {
    for (int i = 0; i < fColorBlocks.GetCount(); ++i) {
        const TColorBlock& block = fColorBlocks[i];
        TSolidPenBrush colour(fDC, block.color, true);
        Rectangle(fDC, block.left, block.top, Bounded(static_cast<long long>(block.right) + 1),
                  Bounded(static_cast<long long>(block.bottom) + 1));
    }
}

// ---- source, pictures and errors ----

bool TVGTVisualizer::LoadSource(const TString& name) {
    TStringContainer lines;
    try {
        lines.ReadFromFile(name);
    } catch (const TSDPPFileException&) {
        TopicError(name);
        return false;
    }
    fSource.Swap(lines);
    return true;
}

void TVGTVisualizer::AssignSource(const TStringContainer& lines) { fSource = lines; }

void TVGTVisualizer::TopicError(const TString& name) {
    const std::string text = "The " + name.str() + " topic can not be opened";
    MessageBoxA(nullptr, text.c_str(), "Select link or topic", MB_OK | MB_ICONWARNING);
}

void TVGTVisualizer::ImageLinksError(const TString& name) {
    const std::string text = "The " + name.str() + " image links can not be opened";
    MessageBoxA(nullptr, text.c_str(), "Load image links", MB_OK | MB_ICONWARNING);
}
