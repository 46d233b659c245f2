// TSymbolParser: the character-driven parser base that cuts lines into symbols,
// separators, quoted runs and brackets and calls a virtual hook for each event.
//
// Hook order for one character c (derived parsers depend on it):
//   ConvertChar, IsWhiteSpace, IsSeparator, IsQuoteMark; then exactly one of
//   - quote mark (quotes on): ParseSeparator(c), c joins the symbol, and the
//     symbol is delivered when the previous character was a separator or a
//     quoted run closes; the in-quote flag toggles;
//   - whitespace outside quotes: the pending symbol ends, ParseWhiteSpace(c);
//   - ordinary character, or anything inside quotes: c joins the symbol;
//   - separator outside quotes: the pending symbol ends, ParseSeparator(c);
//   then, outside quotes, a block start is pushed and ParseBlockStart(type)
//   runs, or ParseBlockEnd(type) runs and the innermost block is removed;
//   finally ParseChar(c). A pending symbol ends only when the previous
//   character was not whitespace, a separator or a recognised quote mark.
#pragma once

#include "String.h"
#include "StringContainer.h"
#include "ValueContainers.h"

class TSymbolParser {
public:
    // Block types; a type equals its bit in the block mask.
    enum TBlockType { btNone = 0, btParenthesis = 1, btCurly = 2, btSquare = 4, btAngle = 8 };

    // Quotes on in mode 3, history of 4 symbols, no lookahead, block mask 3.
    TSymbolParser();
    virtual ~TSymbolParser();

    // Character classes. IsSeparator includes the block characters of the mask.
    virtual bool IsWhiteSpace(char c);
    virtual bool IsSeparator(char c);
    // Ends the current symbol: keeps it in the history and delivers the symbol
    // that the lookahead points at, then starts a new one.
    virtual void NewSymbolParsed();
    // Empties the current symbol (its room of 256 characters is kept).
    virtual void ClearNewSymbol();
    // Quote mode 1: apostrophe, 2: double quote, 3: either, other modes: none.
    virtual bool IsQuoteMark(char c);
    virtual bool IsBlockStart(char c);
    virtual bool IsBlockEnd(char c);
    // Type of an opening or closing bracket whatever the mask; 0 for other characters.
    virtual int GetBlockType(char c);
    // Applied to every character first; the base returns c.
    virtual char ConvertChar(char c);

    // Event hooks; the base versions do nothing.
    virtual void ParseChar(char c);
    virtual void ParseWhiteSpace(char c);
    virtual void ParseSeparator(char c);
    virtual void ParseBlockStart(int type);
    virtual void ParseBlockEnd(int type);
    virtual void ParseSymbol(const TString& symbol);
    // Stores code and clears the ok flag, which stops Parse at once.
    virtual void ParseError(int code);

    // Runs every character of every line (up to a NUL) and a line feed after
    // each line. Resets history, block stack, quote and previous-character
    // state and the ok flag, not the error code or the settings. Returns false
    // when a hook reported an error. An empty container calls no hook.
    virtual bool Parse(TStringContainer& lines);

    // The character state machine (see the hook order above).
    void ProcessChar(char ch);
    // True when c is one of the first length characters of set.
    static bool IsSpecialChar(const char* set, int length, char c);

    // Last code given to ParseError; Parse does not reset it.
    int GetError() const { return fErrorCode; }
    bool GetOk() const { return fOk; }
    // History index of the symbol being delivered: count - lookahead - 1.
    int GetCurrentBufferIndex() const { return fSymbolHistory.GetCount() - fLookahead - 1; }
    // Innermost open block type; 0 when none is open.
    int GetCurrentBlockType() const;
    int GetBlockDepth() const { return fBlockStack.GetCount(); }

    // Recent symbols, oldest first, and the symbol being collected.
    const TStringContainer& GetSymbolHistory() const { return fSymbolHistory; }
    const TString& GetNewSymbol() const { return fNewSymbol; }
    const TIntContainer& GetBlockStack() const { return fBlockStack; }
    bool GetInQuote() const { return fInQuote; }
    // Position of the character being processed; during the line end the
    // character index equals the line's length.
    int GetLineIndex() const { return fLineIndex; }
    int GetCharIndex() const { return fCharIndex; }

    // Settings, kept across runs.
    bool GetQuotes() const { return fQuotes; }
    void SetQuotes(bool quotes) { fQuotes = quotes; }
    int GetHistorySize() const { return fHistorySize; }
    void SetHistorySize(int size) { fHistorySize = size; }
    int GetLookahead() const { return fLookahead; }
    void SetLookahead(int lookahead) { fLookahead = lookahead; }
    int GetQuoteMode() const { return fQuoteMode; }
    void SetQuoteMode(int mode) { fQuoteMode = mode; }
    int GetBlockMask() const { return fBlockMask; }
    void SetBlockMask(int mask) { fBlockMask = mask; }

protected:
    struct TBlockChars {
        char open;
        char close;
        int type;
    };
    // The bracket pair that c opens or closes; null for other characters.
    static const TBlockChars* FindBlockChars(char c);

    // True when a symbol is pending: the previous character was none of
    // whitespace, separator or recognised quote mark.
    bool SymbolPending() const;
    void EndPendingSymbol();
    void TrackBlocks(char c);

    bool fOk = true;
    int fErrorCode = 0;
    TString fNewSymbol;
    TStringContainer fSymbolHistory;
    bool fPrevWhiteSpace = true;
    bool fPrevSeparator = true;
    bool fPrevQuote = false;
    bool fInQuote = false;
    bool fSymbolDelivery = true;
    TIntContainer fBlockStack;
    int fLineIndex = 0;
    int fCharIndex = 0;
    bool fQuotes = true;
    int fHistorySize = 4;
    int fLookahead = 0;
    int fQuoteMode = 3;
    int fBlockMask = btParenthesis | btCurly;
};
