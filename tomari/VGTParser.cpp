// TVGTParser: the VGT tag table and the dispatch of tags to their handlers.
#include "VGTParser.h"

#include <array>

#include "VGTParameters.h"

namespace {

// What a tag accepts as its parameter.
enum TParameterRule {
    prNone,                 // a parameter is an error (101)
    prRequired,             // an empty parameter is an error (102)
    prOptional,             // both are accepted
    prRequiredWhenOpening,  // LINK: required when opening, anything when closing
    prAny,                  // RETURN: anything, and nothing is read
};

}  // namespace

struct TVGTParser::TTagRow {
    int code;
    const char* name;
    const char* alias;  // null when the tag has none
    TParameterRule rule;
    void (*call)(TVGTParser& parser, const TString& parameter, bool closing);
};

// The VGT tags. ORDER: the names enter the tag table in this order, each name
// before its alias, and the first entry of a name wins the lookup.
const TVGTParser::TTagRow* TVGTParser::Rows(int& count) {
    using P = TVGTParser;
    using T = const TString&;
    static const TTagRow rows[] = {
        {vgtParagraph, "PARAGRAPH", "P", prNone, [](P& p, T, bool) { p.DoParagraph(); }},
        {vgtNewLine, "NEWLINE", "NL", prNone, [](P& p, T, bool) { p.DoNewLine(); }},
        {vgtTab, "TAB", nullptr, prNone, [](P& p, T, bool) { p.DoTab(); }},
        {vgtSpace, "SPACE", "SP", prNone, [](P& p, T, bool) { p.DoSpace(); }},
        {vgtBackspace, "BACKSPACE", "BS", prNone, [](P& p, T, bool) { p.DoBackspace(); }},
        {vgtReturn, "RETURN", "RT", prAny, [](P& p, T v, bool c) { p.DoOtherTag(vgtReturn, v, c); }},
        {vgtNoBreak, "NOBREAK", nullptr, prNone, [](P& p, T, bool c) { p.DoNoBreak(c); }},
        {vgtImage, "IMAGE", nullptr, prRequired, [](P& p, T v, bool) { p.DoImage(v); }},
        {vgtBold, "B", "BOLD", prNone, [](P& p, T, bool c) { p.DoBold(c); }},
        {vgtUnderline, "U", "UNDERLINE", prNone, [](P& p, T, bool c) { p.DoUnderline(c); }},
        {vgtItalic, "I", "ITALIC", prNone, [](P& p, T, bool c) { p.DoItalic(c); }},
        {vgtStrikeOut, "S", "STRIKEOUT", prNone, [](P& p, T, bool c) { p.DoStrikeOut(c); }},
        {vgtFontSize, "FS", "FONTSIZE", prRequired, [](P& p, T v, bool) { p.DoFontSize(ReadTagNumber(v)); }},
        {vgtFontColor, "FC", "FONTCOLOR", prRequired, [](P& p, T v, bool) { p.DoFontColor(v); }},
        {vgtFontFace, "FF", "FONTFACE", prRequired, [](P& p, T v, bool) { p.DoFontFace(v); }},
        {vgtLineSpace, "LINESPACE", "LS", prRequired, [](P& p, T v, bool) { p.DoLineSpace(ReadTagNumber(v)); }},
        {vgtIndent, "INDENT", nullptr, prRequired, [](P& p, T v, bool) { p.DoIndent(ReadTagNumber(v)); }},
        {vgtAddIndent, "ADD_INDENT", nullptr, prRequired, [](P& p, T v, bool) { p.DoAddIndent(ReadTagNumber(v)); }},
        {vgtUnindent, "UNINDENT", nullptr, prNone, [](P& p, T, bool) { p.DoUnindent(); }},
        {vgtList, "LIST", nullptr, prNone, [](P& p, T, bool c) { p.DoList(c); }},
        {vgtListItem, "LI", "LISTITEM", prNone, [](P& p, T, bool) { p.DoListItem(); }},
        {vgtSetCol, "SETCOL", nullptr, prRequired, [](P& p, T v, bool) { p.DoSetCol(v); }},
        {vgtStartCol, "STARTCOL", nullptr, prNone, [](P& p, T, bool) { p.DoStartCol(); }},
        {vgtColBreak, "COLBREAK", nullptr, prNone, [](P& p, T, bool) { p.DoColBreak(); }},
        {vgtEndCol, "ENDCOL", nullptr, prNone, [](P& p, T, bool) { p.DoEndCol(); }},
        {vgtColCaptions, "COLCAPTIONS", nullptr, prOptional,
         [](P& p, T v, bool c) { p.DoColCaptions(c ? TString() : v); }},
        {vgtClearCols, "CLEARCOLS", nullptr, prNone, [](P& p, T, bool) { p.DoClearCols(); }},
        {vgtLink, "LINK", nullptr, prRequiredWhenOpening, [](P& p, T v, bool c) { p.DoLink(v, c); }},
        {vgtLinkColor, "LINKCOLOR", nullptr, prRequired, [](P& p, T v, bool) { p.DoLinkColor(v); }},
        {vgtLineColor, "LINECOLOR", nullptr, prRequired, [](P& p, T v, bool) { p.DoLineColor(v); }},
        {vgtHLine, "HLINE", nullptr, prOptional, [](P& p, T v, bool) { p.DoHLine(v); }},
        {vgtFrame, "FRAME", nullptr, prOptional, [](P& p, T v, bool c) { p.DoFrame(v, c); }},
        {vgtForm, "FORM", nullptr, prOptional, [](P& p, T v, bool) { p.DoForm(v); }},
        {vgtAlign, "ALIGN", nullptr, prOptional, [](P& p, T v, bool c) { p.DoAlign(v, c); }},
        {vgtBkColor, "BKCOLOR", nullptr, prRequired, [](P& p, T v, bool) { p.DoBkColor(v); }},
        {vgtBkImage, "BKIMAGE", nullptr, prRequired, [](P& p, T v, bool) { p.DoBkImage(v); }},
        {vgtCenter, "CENTER", nullptr, prNone, [](P& p, T, bool c) { p.DoCenter(c); }},
        {vgtRight, "RIGHT", nullptr, prNone, [](P& p, T, bool c) { p.DoRight(c); }},
        {vgtPaintBk, "PAINTBK", nullptr, prOptional, [](P& p, T v, bool c) { p.DoPaintBk(v, c); }},
        {vgtPanel, "PANEL", nullptr, prRequired, [](P& p, T v, bool) { p.DoPanel(v); }},
        {vgtLess, "LESS", nullptr, prNone, [](P& p, T, bool) { p.DoLess(); }},
        {vgtGreater, "GREATER", nullptr, prNone, [](P& p, T, bool) { p.DoGreater(); }},
        {vgtQM, "QM", nullptr, prNone, [](P& p, T, bool) { p.DoQM(); }},
        {vgtApostrophe, "APOSTROPHE", nullptr, prNone, [](P& p, T, bool) { p.DoApostrophe(); }},
    };
    count = static_cast<int>(sizeof(rows) / sizeof(rows[0]));
    return rows;
}

const TVGTParser::TTagRow* TVGTParser::FindRow(int code) {
    static const std::array<const TTagRow*, 256> byCode = [] {
        std::array<const TTagRow*, 256> table{};
        int count = 0;
        const TTagRow* rows = Rows(count);
        for (int i = 0; i < count; ++i) table[static_cast<size_t>(rows[i].code)] = &rows[i];
        return table;
    }();
    return code >= 0 && code < static_cast<int>(byCode.size()) ? byCode[static_cast<size_t>(code)] : nullptr;
}

TVGTParser::TVGTParser() {
    SetCaseSensitive(true);
    SetKeepBlanksInTags(true);
    int count = 0;
    const TTagRow* rows = Rows(count);
    for (int i = 0; i < count; ++i) {
        AddTag(rows[i].code, TString(rows[i].name));
        if (rows[i].alias != nullptr) AddTag(rows[i].code, TString(rows[i].alias));
    }
}

void TVGTParser::ParseKnownTag(int code, const TString& parameter, bool closing) {
    const TTagRow* row = FindRow(code);
    if (row == nullptr) {
        DoOtherTag(code, parameter, closing);
        return;
    }
    bool missing = parameter.IsEmpty();
    if (row->rule == prNone && !missing) {
        ParseError(vgtParameterNotAllowed);
        return;
    }
    if ((row->rule == prRequired || (row->rule == prRequiredWhenOpening && !closing)) && missing) {
        ParseError(vgtParameterMissing);
        return;
    }
    row->call(*this, parameter, closing);
}
