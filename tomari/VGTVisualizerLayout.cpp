// TVGTVisualizer: the handlers of columns, lines, frames, alignment, coloured
// stretches, the background, sub-panels and forms.
#include <algorithm>

#include "VGTParameters.h"
#include "VGTVisualizer.h"

namespace {

bool KeyIs(const TVGTItem& item, const char* key) { return item.key == TString(key); }

}  // namespace

// ---- columns ----

// NUM appends an entry when it is not below the table's size. NUM with a valid
// POS sets the entry; NUM without one removes the table's last entry.
void TVGTVisualizer::DoSetCol(const TString& parameter) {
    const TVGTItems items(parameter);
    if (items.GetCount() < 2) return;
    COL_INFO entry{2 * GetSpaceUnit(), 0, 0};
    int number = -1;
    bool positioned = false;
    for (const TVGTItem& item : items) {
        if (KeyIs(item, "NUM")) {
            const int n = ReadTagNumber(item.value);
            if (n < 0) continue;
            if (n >= fColumns.GetCount()) fColumns.Add(COL_INFO{0, 0, 0});
            number = std::min(n, fColumns.GetCount() - 1);
        } else if (KeyIs(item, "POS")) {
            const TVGTSize size = ReadTagSize(item.value);
            if (!size.percent || size.value < 5 || size.value > 95) continue;
            const long long left = GetLeftLimit();
            entry.position = Bounded((GetRightLimit() - left) * size.value / 100 + left);
            positioned = true;
        } else if (KeyIs(item, "GAP")) {
            entry.gap = ReadTagNumber(item.value) * GetSpaceUnit();
        } else if (KeyIs(item, "LINE")) {
            entry.lineStyle = fColumnLineStyle = ParseLineStyle(item.value);
        } else if (KeyIs(item, "LINECOLOR")) {
            fLineColor = ParseColor(item.value);
        }
    }
    if (number < 0) return;
    if (positioned)
        fColumns[number] = entry;
    else if (fColumns.GetCount() > 0)
        fColumns.DeleteLast();
}

void TVGTVisualizer::DoColCaptions(const TString& parameter) {
    fColumnCaptions.Clear();
    parameter.GetTokens(',', fColumnCaptions);
}

void TVGTVisualizer::DoClearCols() {
    fColumnCaptions.Clear();
    fColumns.Clear();
}

// Captions (when there is one for every column) go on a line of their own,
// underlined across the layout; then the rows begin.
void TVGTVisualizer::DoStartCol() {
    if (fColumnCaptions.GetCount() > fColumns.GetCount()) {
        for (int i = 0; i <= fColumns.GetCount(); ++i) {
            fX = i == 0 ? GetLeftLimit()
                        : Bounded(static_cast<long long>(fColumns[i - 1].position) + fColumns[i - 1].gap);
            ParseSymbol(fColumnCaptions[i]);
        }
        DoNewLine();
        const int lineY = Bounded(static_cast<long long>(fY) + fLineSpace / 2);
        DrawLine(GetLeftLimit(), lineY, GetRightLimit(), lineY);
        fY = Bounded(static_cast<long long>(fY) + fLineSpace);
    }
    if (fColumns.GetCount() == 0) return;
    fInColumns = true;
    fColumn = 0;
    fRowTop = fY;
    fLowestRowY = -1;
}

// Outside columns COLBREAK and ENDCOL only break the line: the row they would
// return to belongs to a table that has ended.
void TVGTVisualizer::DoColBreak() {
    DoNewLine();
    if (!fInColumns) return;
    fLowestRowY = std::max(fLowestRowY, fY);
    if (!InLastColumn()) {
        fColumn = CurrentColumn() + 1;
        fX = GetLeftLimit();
        fY = fRowTop;
        return;
    }
    DrawColumnSeparators();
    fColumn = 0;
    fX = GetLeftLimit();
    fRowTop = fY = fLowestRowY;
}

void TVGTVisualizer::DoEndCol() {
    DoNewLine();
    if (!fInColumns) return;
    DrawColumnSeparators();
    fInColumns = false;
    fX = GetLeftLimit();
    if (fLowestRowY != -1) fY = fLowestRowY;
}

void TVGTVisualizer::DrawColumnSeparators() {
    if (fLowestRowY == -1) return;
    const int borders = std::min(CurrentColumn(), fColumns.GetCount());
    for (int i = 0; i < borders; ++i) DrawLine(fColumns[i].position, fRowTop, fColumns[i].position, fLowestRowY);
}

// ---- horizontal lines and frames ----

// GAP counts line spaces; SIZE shortens the line to that percentage, centred.
// STYLE is accepted; lines are drawn solid.
void TVGTVisualizer::DoHLine(const TString& parameter) {
    long long gap = fLineSpace;
    int size = 0;
    for (const TVGTItem& item : TVGTItems(parameter)) {
        if (KeyIs(item, "GAP")) gap = static_cast<long long>(ReadTagNumber(item.value)) * fLineSpace;
        if (KeyIs(item, "SIZE")) size = ReadTagNumber(item.value);
    }
    if (GetCurrentTagId() != vgtNewLine) DoNewLine();
    long long left = GetLeftLimit();
    long long right = GetRightLimit();
    if (size > 0) {
        const long long inset = (right - left) * (100 - size) / 100 / 2;
        left += inset;
        right -= inset;
    }
    const int lineY = Bounded(fY + gap / 2);
    DrawLine(Bounded(left), lineY, Bounded(right), lineY);
    fY = Bounded(fY + gap);
}

namespace {

// The frame's settings as its items give them.
struct TFrameRequest {
    FRAME_INFO frame{0, 0, 4, 4, 2, 0, 0};
    int percent = 80;
};

}  // namespace

void TVGTVisualizer::DoFrame(const TString& parameter, bool closing) {
    if (closing) {
        CloseFrame();
        return;
    }
    TFrameRequest request;
    FRAME_INFO& frame = request.frame;
    for (const TVGTItem& item : TVGTItems(parameter, true)) {
        const int number = ReadTagNumber(item.value);
        if (KeyIs(item, "HGAP")) frame.horizontalGap = number;
        if (KeyIs(item, "VGAP")) frame.verticalGap = number;
        if (KeyIs(item, "WIDTH") && number >= 20 && number <= 100) request.percent = number;
        if (KeyIs(item, "STYLE")) frame.lineStyle = ParseLineStyle(item.value);
        if (KeyIs(item, "ALIGN")) {
            if (item.value == TString("LEFT")) frame.alignment = 0;
            if (item.value == TString("RIGHT")) frame.alignment = 1;
            if (item.value == TString("CENTER")) frame.alignment = 2;
        }
    }
    const long long width = (static_cast<long long>(GetRightLimit()) - GetLeftLimit()) * request.percent / 100;
    if (fX + width > GetRightLimit()) DoNewLine();
    const long long start = fX;
    const long long room = GetRightLimit() - start - width;
    const long long offset = frame.alignment == 0 ? 0 : frame.alignment == 1 ? room : room / 2;
    const long long gap = static_cast<long long>(frame.horizontalGap) * GetSpaceUnit();
    frame.left = Bounded(start + offset);
    frame.top = fY;
    frame.right = Bounded(frame.left + width);
    fLeftKeeps.Add(POINT{Bounded(start + gap + offset), -1});
    fRightKeeps.Add(POINT{Bounded(GetRightLimit() + gap - start - width - offset), -1});
    fX = Bounded(start + gap + offset);
    fY = Bounded(fY + static_cast<long long>(frame.verticalGap) * fLineSpace);
    fFrames.Add(frame);
}

void TVGTVisualizer::CloseFrame() {
    if (fFrames.GetCount() == 0) return;
    PopLeftKeep();
    if (fRightKeeps.GetCount() > 0) fRightKeeps.DeleteLast();
    DoNewLine();
    const FRAME_INFO frame = fFrames.Last();
    fFrames.DeleteLast();
    fY = Bounded(fY + static_cast<long long>(frame.verticalGap) * fLineSpace);
    DrawLine(frame.left, frame.top, frame.right, frame.top);
    DrawLine(frame.right, frame.top, frame.right, fY);
    DrawLine(frame.right, fY, frame.left, fY);
    DrawLine(frame.left, fY, frame.left, frame.top);
}

// ---- alignment ----

// The stretch is WIDTH wide (80 % of the width between the limits by default)
// and stands left, right or centred in that width; a pen standing at the left
// limit moves with it.
void TVGTVisualizer::DoAlign(const TString& parameter, bool closing) {
    const bool atLeftLimit = fX == GetLeftLimit();
    if (closing) {
        fAlignState = asNone;
    } else {
        const long long available = static_cast<long long>(GetRightLimit()) - GetLeftLimit();
        long long width = available * 80 / 100;
        int state = asNone;
        for (const TVGTItem& item : TVGTItems(parameter)) {
            if (KeyIs(item, "WIDTH")) width = GetAlignWidth(item.value);
            if (KeyIs(item, "LEFT")) state = asLeft;
            if (KeyIs(item, "RIGHT")) state = asRight;
            if (KeyIs(item, "CENTER")) state = asCenter;
            if (KeyIs(item, "NONE")) state = asNone;
        }
        const int room = Bounded(available - width);
        fAlignLeft = state == asRight ? room : state == asCenter ? room / 2 : 0;
        fAlignRight = state == asLeft ? room : state == asCenter ? room / 2 : 0;
        fAlignState = state;
    }
    if (atLeftLimit) fX = GetLeftLimit();
}

// The measure pass records where each stretch's text begins and ends; the
// paint pass starts each one where that width stands centred or at the right.
void TVGTVisualizer::DoCenter(bool closing) {
    if (closing)
        CloseSection(skCenter);
    else
        OpenSection(skCenter);
}

void TVGTVisualizer::DoRight(bool closing) {
    if (closing)
        CloseSection(skRight);
    else
        OpenSection(skRight);
}

void TVGTVisualizer::OpenSection(int kind) {
    if (fInSection) return;
    fInSection = true;
    fOpenSection = ALIGNED_SECTION{kind, fX, fX};
    if (!fPainting || fNextSection >= fSections.GetCount()) return;
    const ALIGNED_SECTION& found = fSections[fNextSection];
    const long long width = static_cast<long long>(found.end) - found.start;
    const long long left = GetLeftLimit();
    const long long right = GetRightLimit();
    fX = Bounded(kind == skCenter ? left + ((right - left) - width) / 2 : right - width);
}

void TVGTVisualizer::CloseSection(int kind) {
    if (!fInSection || fOpenSection.kind != kind) return;
    fInSection = false;
    if (fPainting) {
        ++fNextSection;
        return;
    }
    fOpenSection.end = fX;
    fSections.Add(fOpenSection);
}

// ---- colours, background, sub-panels and forms ----

void TVGTVisualizer::DoPaintBk(const TString& parameter, bool closing) {
    fPaintBk = !closing;
    if (!closing) fPaintBkColor = ParseColor(parameter);
}

void TVGTVisualizer::DoBkColor(const TString& parameter) {
    if (fPainting) return;
    fBackgroundOn = true;
    fBackgroundMode = bmColor;
    fBackgroundColor = ParseColor(parameter);
}

namespace {

// The sizes of PANEL and FORM by key. ORDER: none.
const struct {
    const char* key;
    PANEL_POS TPanelInfo::*size;
} kPanelSizes[] = {
    {"LEFT", &TPanelInfo::left}, {"TOP", &TPanelInfo::top}, {"WIDTH", &TPanelInfo::width},
    {"HEIGHT", &TPanelInfo::height},
};

const struct {
    const char* key;
    int TVGTFormInfo::*value;
} kFormSizes[] = {
    {"LEFT", &TVGTFormInfo::left}, {"TOP", &TVGTFormInfo::top}, {"WIDTH", &TVGTFormInfo::width},
    {"HEIGHT", &TVGTFormInfo::height},
};

}  // namespace

// A size ending in '%' is a percentage, any other pixels (negative: the
// whole less that many). Sizes left out are 0 pixels from the left and top
// and 100 % wide and high.
void TVGTVisualizer::DoPanel(const TString& parameter) {
    TPanelInfo* panel = fPanels.NewItem();
    for (const TVGTItem& item : TVGTItems(parameter, true)) {
        for (const auto& size : kPanelSizes) {
            if (!KeyIs(item, size.key)) continue;
            const TVGTSize read = ReadTagSize(item.value);
            panel->*size.size = PANEL_POS{static_cast<BYTE>(read.percent ? 0 : 1), read.value};
        }
        if (KeyIs(item, "NAME")) panel->name = item.value;
        if (KeyIs(item, "SOURCE")) panel->source = item.value;
    }
}

// Named "FORM_" and its number, captioned with that name, at (10, 10) and
// 150 x 200 unless the items say otherwise.
void TVGTVisualizer::DoForm(const TString& parameter) {
    if (!fAllowForms) return;
    TVGTFormInfo* form = fForms.NewItem();
    form->name = TString("FORM_") + TString(fForms.GetCount());
    form->caption = form->name;
    for (const TVGTItem& item : TVGTItems(parameter, true)) {
        for (const auto& size : kFormSizes)
            if (KeyIs(item, size.key)) form->*size.value = ReadTagNumber(item.value);
        if (KeyIs(item, "NAME")) form->name = item.value;
        if (KeyIs(item, "CAPTION")) form->caption = item.value;
    }
}
