// TVGTParser: the VGT markup parser. It fills the tagged text parser's table
// with the VGT tags, checks each tag's parameter against its rule and calls
// one handler per tag; the handlers are left to the visualizer.
#pragma once

#include "String.h"
#include "TaggedTextParser.h"

// Error codes of the parameter rules, reported through ParseError beside the
// tagged text parser's codes 1 to 3; the parse stops at the faulty tag.
enum TVGTParseError {
    vgtParameterNotAllowed = 101,  // a parameter on a tag that takes none
    vgtParameterMissing = 102,     // a required parameter is empty
};

// Tag codes. ORDER: the codes are the markup's; stored topics and derived
// classes rely on them.
enum TVGTTagCode {
    vgtParagraph = 1, vgtNewLine = 2, vgtTab = 3, vgtSpace = 4, vgtBackspace = 5,
    vgtReturn = 6, vgtNoBreak = 7, vgtImage = 9,
    vgtBold = 10, vgtUnderline = 11, vgtItalic = 12, vgtStrikeOut = 13,
    vgtFontSize = 14, vgtFontColor = 15, vgtFontFace = 16, vgtLineSpace = 18,
    vgtIndent = 40, vgtAddIndent = 41, vgtUnindent = 42, vgtList = 50, vgtListItem = 51,
    vgtSetCol = 60, vgtStartCol = 61, vgtColBreak = 62, vgtEndCol = 63, vgtColCaptions = 64, vgtClearCols = 65,
    vgtLink = 70, vgtLinkColor = 71, vgtLineColor = 80, vgtHLine = 81, vgtFrame = 90, vgtForm = 95,
    vgtAlign = 100, vgtBkColor = 110, vgtBkImage = 111, vgtCenter = 120, vgtRight = 121,
    vgtPaintBk = 130, vgtPanel = 140, vgtLess = 200, vgtGreater = 201, vgtQM = 202, vgtApostrophe = 203,
};

// Tag names are compared exactly as written ("<b>" is an unknown tag) and blanks
// inside a tag stay part of it ("<FS =10>" is the unknown tag "FS "). Unknown
// tags are skipped. The current tag code (GetCurrentTagId) is the code of the
// item before: 0 after a word, the code after a known tag.
class TVGTParser : public TTaggedTextParser {
public:
    TVGTParser();

    // Checks the parameter against the tag's rule and calls its handler: a
    // parameter on a tag that takes none stops with 101, a missing required one
    // with 102, and then no handler runs. Codes outside the table (a derived
    // class may add tags) reach DoOtherTag.
    void ParseKnownTag(int code, const TString& parameter, bool closing) override;

protected:
    // The handlers, one per tag, in the markup's order. Tags without a
    // parameter that take the closing flag get it; FS, LINESPACE, INDENT and
    // ADD_INDENT get their number read as ReadTagNumber does; COLCAPTIONS gets
    // an empty text when closing; LINK, FRAME, ALIGN and PAINTBK get parameter
    // and closing flag; RETURN reaches DoOtherTag.
    virtual void DoParagraph() = 0;
    virtual void DoNewLine() = 0;
    virtual void DoTab() = 0;
    virtual void DoSpace() = 0;
    virtual void DoBackspace() = 0;
    virtual void DoNoBreak(bool closing) = 0;
    virtual void DoImage(const TString& parameter) = 0;
    virtual void DoBold(bool closing) = 0;
    virtual void DoUnderline(bool closing) = 0;
    virtual void DoItalic(bool closing) = 0;
    virtual void DoStrikeOut(bool closing) = 0;
    virtual void DoFontSize(int size) = 0;
    virtual void DoFontColor(const TString& parameter) = 0;
    virtual void DoFontFace(const TString& parameter) = 0;
    virtual void DoLineSpace(int pixels) = 0;
    virtual void DoIndent(int units) = 0;
    virtual void DoAddIndent(int units) = 0;
    virtual void DoUnindent() = 0;
    virtual void DoList(bool closing) = 0;
    virtual void DoListItem() = 0;
    virtual void DoSetCol(const TString& parameter) = 0;
    virtual void DoStartCol() = 0;
    virtual void DoColBreak() = 0;
    virtual void DoEndCol() = 0;
    virtual void DoColCaptions(const TString& parameter) = 0;
    virtual void DoClearCols() = 0;
    virtual void DoLink(const TString& parameter, bool closing) = 0;
    virtual void DoLinkColor(const TString& parameter) = 0;
    virtual void DoLineColor(const TString& parameter) = 0;
    virtual void DoHLine(const TString& parameter) = 0;
    virtual void DoFrame(const TString& parameter, bool closing) = 0;
    virtual void DoForm(const TString& parameter) = 0;
    virtual void DoAlign(const TString& parameter, bool closing) = 0;
    virtual void DoBkColor(const TString& parameter) = 0;
    virtual void DoBkImage(const TString& parameter) = 0;
    virtual void DoCenter(bool closing) = 0;
    virtual void DoRight(bool closing) = 0;
    virtual void DoPaintBk(const TString& parameter, bool closing) = 0;
    virtual void DoPanel(const TString& parameter) = 0;
    virtual void DoLess() = 0;
    virtual void DoGreater() = 0;
    virtual void DoQM() = 0;
    virtual void DoApostrophe() = 0;
    virtual void DoOtherTag(int code, const TString& parameter, bool closing) = 0;

private:
    struct TTagRow;
    // The tag table, as data; count receives its length.
    static const TTagRow* Rows(int& count);
    // The row of a code; null for codes outside the table.
    static const TTagRow* FindRow(int code);
};
