// TVGTVisualizer: lays out a topic of VGT markup on a device context and
// paints it, in two streaming passes over the parsed text.
#pragma once

#include <string>
#include <vector>

#include "ImageLinks.h"
#include "MemBitmap.h"
#include "StringContainer.h"
#include "VGTImageBuffer.h"
#include "VGTParser.h"
#include "VGTRecords.h"
#include "ValueContainers.h"
#include "Win32.h"
#include "WordSizes.h"

// The measure pass (painting off) finds the topic's height and its widest
// line and collects what the topic declares: links (while collect-links is
// on), sub-panels, forms (while allow-forms is on), the background, coloured
// blocks and aligned stretches. The paint pass walks the same text again and
// draws on the device context, placing centred and right-aligned stretches by
// what the measure pass found. A parse error ends a pass where it stands.
//
// Every coordinate the layout keeps is held within +-kCoordinateLimit, so no
// tag can overflow the pixel arithmetic.
class TVGTVisualizer : public TVGTParser {
public:
    static constexpr int kCoordinateLimit = 100000000;
    // Sizes handed to the font layer stay within this many points.
    static constexpr int kFontSizeLimit = 1000;

    enum TAlignState { asNone = 0, asLeft = 1, asRight = 2, asCenter = 3 };
    enum TSectionKind { skRight = 2, skCenter = 3 };
    enum TBackgroundMode { bmColor, bmPicture };
    // Flags of IMAGE: under the text, text kept to its right, picture at the
    // right limit with the text kept to its left.
    enum TPictureFlag { pfBackground = 1, pfKeepLeft = 2, pfKeepRight = 4 };

    TVGTVisualizer();
    ~TVGTVisualizer() override;

    // Lays the source out from (left, top) to the right edge without drawing.
    // maxWidth comes in as the width to start from and receives the widest x
    // reached by an item that did not fit. When the parse succeeds a last line
    // break closes the last line; height = y - top either way. A source without
    // lines gives height 0 and max width 0. Returns the parse result.
    bool MeasureTopic(HDC dc, int left, int top, int right, int& height, int& maxWidth, bool clearPictureCache,
                      bool usePictureCache);
    // Draws the source: the background first when asked and the topic has
    // one, then the coloured blocks of the last measure pass, then the text.
    bool PaintTopic(HDC dc, int left, int top, int right, bool clearPictureCache, bool usePictureCache,
                    bool withBackground);
    bool HasBackground() const { return fBackgroundOn; }
    // Fills [left, right) x [top, bottom) with the topic's background, when it
    // has one: right = left + width, or the max width + 1 when width is -1;
    // bottom = top + height, or top + the measured height when height is -1.
    void FillTopicBackground(HDC dc, int left, int top, int width, int height);

    // Reads the topic source: here the file of that name, relative to the
    // current folder. A file that cannot be read shows the topic error, keeps
    // the source as it was and gives false.
    virtual bool LoadSource(const TString& name);
    virtual void AssignSource(const TStringContainer& lines);
    // A picture file (BMP, or JPEG by a .jpg or .jpeg name) relative to the
    // current folder; a picture that cannot be read leaves bitmap not valid.
    virtual void LoadImage(const TString& name, TMemBitmap& bitmap);
    // An image link file relative to the current folder; a file that cannot
    // be read leaves the areas read before the damage (none when it does not
    // open) and reports nothing.
    virtual void LoadImageLinks(const TString& name, TImageLinks& links);
    // Starts a pass (see the passes above for what each keeps).
    virtual void Reset(HDC dc, int left, int top, int right, bool clearPictureCache, bool usePictureCache);
    // Replaces the font by one made of the current size, weight, flags and
    // face; the DC takes it, the text colour in use and a transparent
    // background before the next word is measured or drawn.
    virtual void SelectFont();
    virtual COLORREF ParseColor(const TString& text);
    virtual int ParseLineStyle(const TString& text);
    // -size * LOGPIXELSY / 72 (the size kept within kFontSizeLimit).
    virtual int GetFontHeight();
    virtual int GetParagraphIndent();
    virtual int GetSpaceUnit();
    virtual int GetTabStep();
    virtual int GetLineSpace();
    // Where lines start and where they must end at the current pen position.
    virtual int GetLeftLimit();
    virtual int GetRightLimit();
    // Width of an ALIGN stretch: a value ending in '%' (clamped to 5..95) of
    // the width between the limits; anything else 80 % of it.
    virtual int GetAlignWidth(const TString& text);
    // "The %s topic can not be opened", the whole name, in a warning box.
    virtual void TopicError(const TString& name);
    // "The %s image links can not be opened", in a warning box.
    virtual void ImageLinksError(const TString& name);

    // Every word of text and every entity word.
    void ParseSymbol(const TString& word) override;
    // ParseSymbol's work on the word's characters; a pass of a visualizer of
    // exactly this class hands the words of the text over this way.
    void ParseSymbolText(const char* word, size_t length);
    bool Parse(TStringContainer& lines) override;

    // The topic source, one string per source line.
    TStringContainer& GetSource() { return fSource; }

    // Mode flags. Painting is set by the passes; the caller sets the others.
    bool GetPainting() const { return fPainting; }
    bool GetCollectLinks() const { return fCollectLinks; }
    void SetCollectLinks(bool collect) { fCollectLinks = collect; }
    bool GetAllowForms() const { return fAllowForms; }
    void SetAllowForms(bool allow) { fAllowForms = allow; }
    // Sizes of the last measure pass: its right edge and its height.
    int GetMeasuredWidth() const { return fMeasuredWidth; }
    int GetMeasuredHeight() const { return fMeasuredHeight; }
    int GetMaxWidth() const { return fMaxWidth; }

    // What the measure pass collected.
    TLinkContainer& GetLinks() { return fLinks; }
    TPanelInfos& GetPanels() { return fPanels; }
    TVGTFormInfos& GetForms() { return fForms; }
    TColorBlocks& GetColorBlocks() { return fColorBlocks; }
    TAlignedSections& GetAlignedSections() { return fSections; }
    TBackgroundMode GetBackgroundMode() const { return fBackgroundMode; }
    COLORREF GetBackgroundColor() const { return fBackgroundColor; }
    // The picture the background tiles: the visualizer's own, or a picture of
    // the cache (never one the cache has let go).
    TMemBitmap& GetBackgroundPicture() { return *fBackgroundPicture; }
    int GetTileWidth() const { return fTileWidth; }
    int GetTileHeight() const { return fTileHeight; }
    // The areas of the pictures placed by the last measure pass that
    // collected links, on the pictures where they landed.
    TImageLinks& GetImageLinks() { return fImageLinks; }
    TVGTImageBuffer& GetPictureCache() { return fPictureCache; }

    // The picture of that name: from the cache when it is in use (loaded into
    // a new entry the first time, which stays even when the load fails), else
    // loaded into fallback. Never null.
    TMemBitmap* FindImage(const TString& name, TMemBitmap& fallback);
    // Places a picture of width x height at the pen (see PlaceImage in the
    // source); a picture that is not valid lays out "<image:" name
    // " not found>" in bold instead and gives false. placed receives where the
    // picture's top-left corner landed.
    bool PlaceImage(TMemBitmap& bitmap, int width, int height, int flags, const TString& name, POINT& placed);
protected:
    // ---- tag handlers ----
    void DoParagraph() override;
    void DoNewLine() override;
    void DoTab() override;
    void DoSpace() override;
    void DoBackspace() override;
    void DoNoBreak(bool closing) override;
    void DoImage(const TString& parameter) override;
    void DoBold(bool closing) override;
    void DoUnderline(bool closing) override;
    void DoItalic(bool closing) override;
    void DoStrikeOut(bool closing) override;
    void DoFontSize(int size) override;
    void DoFontColor(const TString& parameter) override;
    void DoFontFace(const TString& parameter) override;
    void DoLineSpace(int pixels) override;
    void DoIndent(int units) override;
    void DoAddIndent(int units) override;
    void DoUnindent() override;
    void DoList(bool closing) override;
    void DoListItem() override;
    void DoSetCol(const TString& parameter) override;
    void DoStartCol() override;
    void DoColBreak() override;
    void DoEndCol() override;
    void DoColCaptions(const TString& parameter) override;
    void DoClearCols() override;
    void DoLink(const TString& parameter, bool closing) override;
    void DoLinkColor(const TString& parameter) override;
    void DoLineColor(const TString& parameter) override;
    void DoHLine(const TString& parameter) override;
    void DoFrame(const TString& parameter, bool closing) override;
    void DoForm(const TString& parameter) override;
    void DoAlign(const TString& parameter, bool closing) override;
    void DoBkColor(const TString& parameter) override;
    void DoBkImage(const TString& parameter) override;
    void DoCenter(bool closing) override;
    void DoRight(bool closing) override;
    void DoPaintBk(const TString& parameter, bool closing) override;
    void DoPanel(const TString& parameter) override;
    void DoLess() override;
    void DoGreater() override;
    void DoQM() override;
    void DoApostrophe() override;
    void DoOtherTag(int code, const TString& parameter, bool closing) override;

    // ---- layout steps shared by the handlers ----
    // A value brought within +-kCoordinateLimit.
    static int Bounded(long long value) {
        return static_cast<int>(value < -kCoordinateLimit ? -kCoordinateLimit
                                : value > kCoordinateLimit ? kCoordinateLimit
                                                           : value);
    }
    // Places a word at the pen, wrapping first when it does not fit; merges its
    // link area into the link's last one when afterWord is set.
    void PlaceWord(const char* word, int length, bool afterWord);
    // Places a word in bold, the weight restored afterwards.
    void PlaceBoldWord(const TString& word);
    // Adds an area to the current link, when links are collected.
    void AddLinkArea(const RECT& area, bool mergeWithLast);
    // Adds an area in the PAINTBK colour to the coloured blocks, merged into
    // the last block when colour, top and bottom agree and the word before
    // was painted too.
    void AddColorBlock(const RECT& area);
    // y moves down by the line spacing and the line's height (or the font size
    // on an empty line); the line height starts again from 0.
    void AdvanceLine();
    // Left keeps whose y-until lies above y (the base keep excepted), then
    // right keeps likewise, from the top of their stacks.
    void DropExpiredKeeps();
    // Pops the top left keep; the base keep stays.
    void PopLeftKeep();
    // The top indent when it counts toward the left limit: the top left keep
    // never expires and the pen is not in a column after the first; else 0.
    int IndentInUse() const;
    // A solid line in the line colour, when painting and it lies in the clip area.
    void DrawLine(int x1, int y1, int x2, int y2);
    // The column the pen is in: a column past the table counts as the last one.
    int CurrentColumn() const { return fColumn < 0 ? 0 : fColumn > fColumns.GetCount() ? fColumns.GetCount() : fColumn; }
    bool InLaterColumn() const { return fInColumns && CurrentColumn() > 0; }
    bool InLastColumn() const { return CurrentColumn() >= fColumns.GetCount(); }
    // Vertical separators of the borders before the current column, from the
    // row top to the lowest row y (painting, once that y is known).
    void DrawColumnSeparators();
    // Closes the innermost frame: its keeps go, the line breaks and its four
    // sides are drawn down to the new y. Nothing without an open frame.
    void CloseFrame();
    // Centred and right-aligned stretches (see DoCenter).
    void OpenSection(int kind);
    void CloseSection(int kind);
    void PaintColorBlocks();
    // Sets a font flag and selects the font anew, when it changes.
    void SetFontFlag(bool& flag, bool on);
    // Selects the system font back and deletes every font the pass made.
    void ReleaseFont();
    void DeletePassFonts();
    // Empties the picture cache; a background that tiled one of its pictures
    // keeps a copy of it in the visualizer's own picture.
    void ClearPictureCache();
    // The areas of an IMAGE's link file moved onto the picture placed at
    // (left, top) and added to the image link areas.
    void AddPictureLinks(const TString& fileName, POINT placed);
    // True when a word's box can show in the clip area of the paint pass:
    // a long topic is walked whole, but only what shows costs drawing. The
    // margin covers italic overhangs.
    bool MayShow(const RECT& area) const {
        const long long margin = static_cast<long long>(area.bottom) - area.top + 1;
        return area.bottom >= fClip.top && area.top < fClip.bottom && area.right + margin >= fClip.left &&
               area.left - margin < fClip.right;
    }

    // ---- state ----
    TStringContainer fSource;
    HDC fDC = nullptr;
    // Pen position, the current line's height, extra spacing between lines,
    // the widest x of an item that did not fit, the right edge, no-wrap.
    int fX = 0;
    int fY = 0;
    int fTop = 0;
    int fLineHeight = 0;
    int fLineSpace = 0;
    int fMaxWidth = 0;
    int fRight = 0;
    bool fNoBreak = false;
    // Font and colours.
    int fFontSize = 10;
    int fWeight = FW_NORMAL;
    bool fItalic = false;
    bool fUnderline = false;
    bool fStrikeOut = false;
    TString fFaceName;
    HFONT fFont = nullptr;
    // The font the DC holds (null when not known); ApplyFont gives it fFont,
    // ApplyTextLook also the text colour and the transparent mode.
    HFONT fDCFont = nullptr;
    void ApplyFont();
    void ApplyTextLook();
    // The fonts a pass has made, reused while it runs (a topic switches
    // between few fonts many times), and what the DC was last given.
    struct TPassFont {
        // What the font was made of; the face is an index into fPassFaces.
        int height;
        int weight;
        bool italic;
        bool underline;
        bool strikeOut;
        int face;
        HFONT font;
    };
    std::vector<TPassFont> fPassFonts;
    // The faces of the pass's fonts as font requests hold them, the index of
    // the current face among them (-1 when not looked up since it changed),
    // and whether the face changes only where that index is let go of.
    std::vector<std::string> fPassFaces;
    int fRequestFace = -1;
    bool fFaceTracked = false;
    int RequestFace();
    // The words measured in the pass, while their fonts live.
    TWordSizes fWordSizes;
    // The font height last worked out, of that size and resolution.
    struct TFontHeight {
        int size;
        int pixelsPerInch;
        int height;
    };
    TFontHeight fHeightOf{0, 0, 0};
    COLORREF fSelectedTextColor = CLR_INVALID;
    bool fTransparentSet = false;
    int fPixelsPerInch = 96;
    RECT fClip{0, 0, 0, 0};
    COLORREF fTextColor = 0;
    COLORREF fNormalTextColor = 0;
    COLORREF fLinkColor = 0xFF0000;
    COLORREF fLineColor = 0;
    int fColumnLineStyle = 0;
    // Units: the paragraph indent and tab step count space units.
    int fParagraphIndentUnits = 8;
    int fTabStepUnits = 8;
    // Stacks: indents in pixels, one counter per open list, and the keeps as
    // points (x, y-until; -1 never expires). The left keeps always hold the
    // base point pushed by Reset.
    TIntContainer fIndents;
    TIntContainer fListNumbers;
    TPointContainer fLeftKeeps;
    TPointContainer fRightKeeps;
    // Columns.
    TColInfos fColumns;
    TStringContainer fColumnCaptions;
    bool fInColumns = false;
    int fColumn = 0;
    int fRowTop = 0;
    int fLowestRowY = -1;
    // Frames.
    TFrameInfos fFrames;
    // Alignment: the ALIGN state with its offsets, the stretches found by the
    // measure pass, the open one and the next one to paint.
    int fAlignState = asNone;
    int fAlignLeft = 0;
    int fAlignRight = 0;
    TAlignedSections fSections;
    ALIGNED_SECTION fOpenSection{0, 0, 0};
    bool fInSection = false;
    int fNextSection = 0;
    // Collected items.
    TLinkContainer fLinks;
    TPanelInfos fPanels;
    TVGTFormInfos fForms;
    TColorBlocks fColorBlocks;
    TLinkItem* fCurrentLink = nullptr;
    bool fInLink = false;
    bool fPaintBk = false;
    COLORREF fPaintBkColor = 0;
    bool fLastWordInBlock = false;
    // Background.
    bool fBackgroundOn = false;
    TBackgroundMode fBackgroundMode = bmColor;
    COLORREF fBackgroundColor = 0xFFFFFF;
    TMemBitmap fOwnBackgroundPicture;
    TMemBitmap* fBackgroundPicture = &fOwnBackgroundPicture;
    int fTileWidth = 0;
    int fTileHeight = 0;
    // Pictures and the areas of their link files.
    TVGTImageBuffer fPictureCache;
    bool fUsePictureCache = false;
    TImageLinks fImageLinks;
    // Mode flags and the sizes of the last measure pass.
    bool fPainting = false;
    bool fCollectLinks = false;
    bool fAllowForms = false;
    int fMeasuredWidth = 0;
    int fMeasuredHeight = 0;
};

// Its character operations are the tagged text parser's, and no handler
// changes the source, the tag table or the parser settings while a pass runs:
// a visualizer of exactly this class scans as the parsers' own do.
template <>
inline constexpr bool kScansAsThisPackage<TVGTVisualizer> = true;
