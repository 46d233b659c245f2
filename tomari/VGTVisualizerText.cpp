// TVGTVisualizer: the handlers of text, fonts, colours, indents, lists,
// links and entities.
#include <algorithm>

#include "VGTParameters.h"
#include "VGTVisualizer.h"

// ---- line breaks and spacing ----

void TVGTVisualizer::DoParagraph() {
    fX = Bounded(static_cast<long long>(GetLeftLimit()) + GetParagraphIndent());
    AdvanceLine();
}

// An open centred or right-aligned stretch ends with the line and opens again
// on the next, so that it is aligned line by line.
void TVGTVisualizer::DoNewLine() {
    const int sectionKind = fInSection ? fOpenSection.kind : 0;
    if (sectionKind != 0) CloseSection(sectionKind);
    AdvanceLine();
    DropExpiredKeeps();
    fX = GetLeftLimit();
    if (fInColumns) fLowestRowY = std::max(fLowestRowY, fY);
    if (sectionKind != 0) OpenSection(sectionKind);
}

void TVGTVisualizer::DoTab() { fX = Bounded(static_cast<long long>(fX) + GetTabStep()); }

void TVGTVisualizer::DoSpace() { fX = Bounded(static_cast<long long>(fX) + GetSpaceUnit()); }

void TVGTVisualizer::DoBackspace() { fX = std::max(fX - GetSpaceUnit(), GetLeftLimit()); }

void TVGTVisualizer::DoNoBreak(bool closing) { fNoBreak = !closing; }

void TVGTVisualizer::DoLineSpace(int pixels) { fLineSpace = pixels; }

// ---- fonts and colours ----

void TVGTVisualizer::DoBold(bool closing) {
    if (fWeight != (closing ? FW_BOLD : FW_NORMAL)) return;
    fWeight = closing ? FW_NORMAL : FW_BOLD;
    SelectFont();
}

void TVGTVisualizer::SetFontFlag(bool& flag, bool on) {
    if (flag == on) return;
    flag = on;
    SelectFont();
}

void TVGTVisualizer::DoUnderline(bool closing) { SetFontFlag(fUnderline, !closing); }
void TVGTVisualizer::DoItalic(bool closing) { SetFontFlag(fItalic, !closing); }
void TVGTVisualizer::DoStrikeOut(bool closing) { SetFontFlag(fStrikeOut, !closing); }

void TVGTVisualizer::DoFontSize(int size) {
    fFontSize = size;
    SelectFont();
}

void TVGTVisualizer::DoFontColor(const TString& parameter) {
    fNormalTextColor = fTextColor = ParseColor(parameter);
    SelectFont();
}

void TVGTVisualizer::DoFontFace(const TString& parameter) {
    fFaceName = parameter;
    fRequestFace = -1;
    SelectFont();
}

void TVGTVisualizer::DoLinkColor(const TString& parameter) { fLinkColor = ParseColor(parameter); }

void TVGTVisualizer::DoLineColor(const TString& parameter) { fLineColor = ParseColor(parameter); }

// ---- indents and lists ----

// INDENT=0 indents to the pen: the new indent is measured from where the left
// limit stands without the indent in use, so nested indents land at the pen too.
void TVGTVisualizer::DoIndent(int units) {
    if (units == 0) {
        const long long base = static_cast<long long>(GetLeftLimit()) - IndentInUse();
        fIndents.Add(Bounded(fX - base));
    } else if (units > 0) {
        fIndents.Add(units * GetSpaceUnit());
    } else if (units == -1) {
        if (fIndents.GetCount() > 0) fIndents.DeleteLast();
    } else {
        fIndents.Clear();
    }
    fX = GetLeftLimit();
}

void TVGTVisualizer::DoAddIndent(int units) {
    const long long top = fIndents.GetCount() > 0 ? fIndents.Last() : 0;
    const long long indent = top + static_cast<long long>(units) * GetSpaceUnit();
    if (indent >= 0) fIndents.Add(Bounded(indent));
    fX = GetLeftLimit();
}

void TVGTVisualizer::DoUnindent() {
    if (fIndents.GetCount() > 0) fIndents.DeleteLast();
    fX = GetLeftLimit();
}

void TVGTVisualizer::DoList(bool closing) {
    if (!closing) {
        fListNumbers.Add(0);
        fLeftKeeps.Add(POINT{Bounded(static_cast<long long>(GetLeftLimit()) + GetTabStep()), -1});
        return;
    }
    if (fListNumbers.GetCount() == 0) return;
    fListNumbers.DeleteLast();
    PopLeftKeep();
    DoNewLine();
}

// "1." "2." at the first level, "1.1" "1.2" in a list inside a list. Outside
// any list an item only breaks the line.
void TVGTVisualizer::DoListItem() {
    DoNewLine();
    if (fListNumbers.GetCount() == 0) return;
    ++fListNumbers.Last();
    TString number;
    for (int i = 0; i < fListNumbers.GetCount(); ++i) {
        if (i > 0) number += '.';
        number += TString(fListNumbers[i]);
    }
    if (fListNumbers.GetCount() == 1) number += '.';
    PlaceBoldWord(number);
}

// ---- links ----

// One item is the whole target; otherwise the first two items are read,
// TARGET giving the target panel and any other the target.
void TVGTVisualizer::DoLink(const TString& parameter, bool closing) {
    if (closing) {
        fInLink = false;
        fCurrentLink = nullptr;
        fTextColor = fNormalTextColor;
    } else {
        fInLink = true;
        if (!fPainting) {
            fCurrentLink = fLinks.NewItem();
            const TVGTItems items(parameter);
            if (items.GetCount() == 1) fCurrentLink->target = parameter;
            for (int i = 0; items.GetCount() > 1 && i < 2; ++i) {
                if (items[i].key == TString("TARGET"))
                    fCurrentLink->targetPanel = items[i].value;
                else
                    fCurrentLink->target = items[i].value;
            }
        }
        fTextColor = fLinkColor;
    }
    SelectFont();
}

// ---- entities and other tags ----

void TVGTVisualizer::DoLess() { ParseSymbol(TString("<")); }

void TVGTVisualizer::DoGreater() { ParseSymbol(TString(">")); }

// Closed up to the items on both sides.
void TVGTVisualizer::DoQM() {
    DoBackspace();
    ParseSymbol(TString("\""));
    DoBackspace();
}

void TVGTVisualizer::DoApostrophe() {
    DoBackspace();
    ParseSymbol(TString("'"));
    DoBackspace();
}

void TVGTVisualizer::DoOtherTag(int, const TString&, bool) {}

