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

#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "String.h"
#include "StringContainer.h"
#include "ValueContainers.h"

// Character classes of all 256 byte values, built at compile time, so that
// the base class tests are one lookup each.
namespace symbol_parser_classes {

// kPlain: none of the others and no quote mark, whatever the settings, nor
// NUL, which ends a line.
enum TClassBit : unsigned char { kWhiteSpace = 1, kSeparator = 2, kBlockOpen = 4, kBlockClose = 8, kPlain = 16 };

struct TTable {
    unsigned char bits[256] = {};
    unsigned char blockType[256] = {};
};

constexpr TTable MakeTable() {
    TTable table;
    for (const char* c = " \n\r\t"; *c != '\0'; ++c) table.bits[static_cast<unsigned char>(*c)] |= kWhiteSpace;
    for (const char* c = ".,;:?!+-*/=%"; *c != '\0'; ++c) table.bits[static_cast<unsigned char>(*c)] |= kSeparator;
    // Each bracket pair with its block type, which is also its bit in the mask.
    const char pairs[] = "(){}[]<>";
    for (int i = 0; i < 4; ++i) {
        const unsigned char open = static_cast<unsigned char>(pairs[2 * i]);
        const unsigned char close = static_cast<unsigned char>(pairs[2 * i + 1]);
        table.bits[open] |= kBlockOpen;
        table.bits[close] |= kBlockClose;
        table.blockType[open] = table.blockType[close] = static_cast<unsigned char>(1 << i);
    }
    for (int c = 0; c < 256; ++c)
        if (table.bits[c] == 0 && c != '\'' && c != '"' && c != '\0') table.bits[c] = kPlain;
    return table;
}

// Internal linkage, one copy per unit: read straight, not through the
// shared library's symbol table.
constexpr TTable kTable = MakeTable();

inline bool Has(char c, unsigned char bit) { return (kTable.bits[static_cast<unsigned char>(c)] & bit) != 0; }
inline int BlockType(char c) { return kTable.blockType[static_cast<unsigned char>(c)]; }

}  // namespace symbol_parser_classes

template <class P>
struct TDirectCalls;

class TSymbolParser;
class TCommentFilter;
class THtmlCaseParser;
class TJavaParser;
class TTaggedTextParser;
class TTaggedFinder;

// The parsers of this package.
template <class P>
inline constexpr bool kParserOfThisPackage =
    std::is_same_v<P, TSymbolParser> || std::is_same_v<P, TCommentFilter> || std::is_same_v<P, THtmlCaseParser> ||
    std::is_same_v<P, TJavaParser> || std::is_same_v<P, TTaggedTextParser> || std::is_same_v<P, TTaggedFinder>;

// A parser class of another package, specialised as true here, runs as the
// parsers of this package do when its exact class runs with direct calls
// (see SymbolScan.h). It promises that its operations that run for every
// character (the class tests, ConvertChar, ParseChar, ParseWhiteSpace,
// ParseSeparator) are those of a parser of this package, and that while a
// run goes on none of its operations changes the lines, the tag table or the
// settings, reads the symbol being collected, or reads the block stack but
// through GetBlockDepth and GetCurrentBlockType.
template <class P>
inline constexpr bool kScansAsThisPackage = false;

template <class P>
inline constexpr bool kScansLikeThisPackage = kParserOfThisPackage<P> || kScansAsThisPackage<P>;

class TSymbolParser {
public:
    // Block types; a type equals its bit in the block mask.
    enum TBlockType { btNone = 0, btParenthesis = 1, btCurly = 2, btSquare = 4, btAngle = 8 };

    // Room the current symbol keeps between symbols.
    static constexpr int kSymbolRoom = 256;

    // Quotes on in mode 3, history of 4 symbols, no lookahead, block mask 3.
    TSymbolParser();
    virtual ~TSymbolParser();

    // Character classes. IsSeparator includes the block characters of the mask.
    virtual bool IsWhiteSpace(char c) { return symbol_parser_classes::Has(c, symbol_parser_classes::kWhiteSpace); }
    virtual bool IsSeparator(char c);
    // Ends the current symbol: keeps it in the history and delivers the symbol
    // that the lookahead points at, then starts a new one.
    virtual void NewSymbolParsed();
    // Empties the current symbol (its room of 256 characters is kept).
    virtual void ClearNewSymbol();
    // Quote mode 1: apostrophe, 2: double quote, 3: either, other modes: none.
    virtual bool IsQuoteMark(char c) {
        return (c == '\'' && (fQuoteMode == 1 || fQuoteMode == 3)) || (c == '"' && (fQuoteMode == 2 || fQuoteMode == 3));
    }
    virtual bool IsBlockStart(char c) {
        return symbol_parser_classes::Has(c, symbol_parser_classes::kBlockOpen) &&
               (fBlockMask & symbol_parser_classes::BlockType(c)) != 0;
    }
    virtual bool IsBlockEnd(char c) {
        return symbol_parser_classes::Has(c, symbol_parser_classes::kBlockClose) &&
               (fBlockMask & symbol_parser_classes::BlockType(c)) != 0;
    }
    // Type of an opening or closing bracket whatever the mask; 0 for other characters.
    virtual int GetBlockType(char c) { return symbol_parser_classes::BlockType(c); }
    // Applied to every character first; the base returns c.
    virtual char ConvertChar(char c) { return c; }

    // Event hooks; the base versions do nothing.
    virtual void ParseChar(char) {}
    virtual void ParseWhiteSpace(char) {}
    virtual void ParseSeparator(char) {}
    virtual void ParseBlockStart(int) {}
    virtual void ParseBlockEnd(int) {}
    virtual void ParseSymbol(const TString&) {}
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
    int GetCurrentBufferIndex() const { return RecentSymbolCount() - fLookahead - 1; }
    // Innermost open block type; 0 when none is open.
    int GetCurrentBlockType() const {
        if (fOwnBlockRun) return fOwnBlocks.empty() ? btNone : fOwnBlocks.back();
        const int depth = fBlockStack.GetCount();
        return depth > 0 ? fBlockStack.Array()[depth - 1] : btNone;
    }
    int GetBlockDepth() const { return fOwnBlockRun ? int(fOwnBlocks.size()) : fBlockStack.GetCount(); }

    // Recent symbols, oldest first, and the symbol being collected. (The
    // parsers of this package keep the recent symbols aside while they run
    // with direct calls and fill the history when the run ends; their hooks
    // read them with RecentSymbol.)
    const TStringContainer& GetSymbolHistory() const { return fSymbolHistory; }
    const TString& GetNewSymbol() const { return fNewSymbol; }
    // (While a parser of this package runs with direct calls, the stack is
    // kept aside and this one takes it when the run ends.)
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
    // ---- The character loop (defined in SymbolScan.h) ----
    // Parse's work for self, a parser whose class is P or derived from it:
    // when its exact class is P, every operation is called directly, so the
    // compiler can inline the operations it sees; otherwise, since a derived
    // class may override any of them, through the virtual table. The calls
    // and their order are the same either way. A derived parser gets the
    // direct calls by handing its own class here from its Parse.
    template <class P>
    bool ParseAs(P& self, TStringContainer& lines);
    // The same pieces with the operations reached through Calls
    // (TVirtualCalls or TDirectCalls<P>, SymbolScan.h).
    template <class Calls>
    bool ParseWith(typename Calls::Parser& self, TStringContainer& lines);
    // What the three class tests say of one character.
    struct TCharClasses {
        bool whiteSpace = false;
        bool separator = false;
        bool quote = false;
    };
    template <class Calls>
    void ProcessCharWith(typename Calls::Parser& self, char ch);
    // One character's work once its classes are known.
    template <class Calls>
    void StepWith(typename Calls::Parser& self, char c, const TCharClasses& classes);
    template <class Calls>
    TCharClasses ClassesWith(typename Calls::Parser& self, char c);
    // True for a character that only joins the symbol: no event follows from it.
    template <class Calls>
    bool JoinsQuietly(typename Calls::Parser& self, char c, const TCharClasses& classes);
    // The characters of one line, with the symbol's characters gathered.
    // text ends at its first NUL.
    template <class Calls>
    void ScanLineWith(typename Calls::Parser& self, const char* text);
    template <class Calls>
    void NewSymbolParsedWith(typename Calls::Parser& self);
    template <class Calls>
    bool IsSeparatorWith(typename Calls::Parser& self, char c);
    template <class Calls>
    void TrackBlocksWith(typename Calls::Parser& self, char c);
    template <class P>
    friend struct TDirectCalls;

    // True when a symbol is pending: the previous character was none of
    // whitespace, separator or recognised quote mark.
    bool SymbolPending() const { return !(fPrevWhiteSpace || fPrevSeparator || (fPrevQuote && fQuotes)); }
    // The start of every run: history, block stack, quote and previous-character state, ok flag.
    void ResetRun();
    // The symbol being collected with the characters gathered for it that
    // have not joined it yet (see SymbolScan.h): a hook of a parser of this
    // package reads it so. Valid until the next character is taken.
    std::string_view CollectedSymbol() {
        if (PendingEmpty()) return fNewSymbol.str();
        if (fNewSymbol.IsEmpty() && fPendingText.empty()) return std::string_view(fPendingView, fPendingViewLength);
        return JoinedSymbol();
    }
    // What the base ClearNewSymbol does, without a call when nothing is collected.
    void ClearCollectedSymbol() {
        if (!fNewSymbol.IsEmpty() || fNewSymbol.GetCapacity() < kSymbolRoom) TSymbolParser::ClearNewSymbol();
        fPendingText.clear();
        fPendingViewLength = 0;
    }
    // How many recent symbols there are, and recent symbol index (oldest
    // first, 0 to count - 1), wherever they are kept: while no run keeps them
    // aside, what GetSymbolHistory holds.
    int RecentSymbolCount() const { return fRecentRun ? int(fRecentSymbols.size()) : fSymbolHistory.GetCount(); }
    std::string_view RecentSymbol(int index) const {
        if (!fRecentRun) return fSymbolHistory[index].str();
        // The oldest is at fRecentNext; index is below the count.
        size_t slot = fRecentNext + size_t(index);
        if (slot >= fRecentSymbols.size()) slot -= fRecentSymbols.size();
        return fRecentSymbols[slot].Text();
    }

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

private:
    // Characters of the current symbol not yet added to fNewSymbol, while a
    // parser of this package runs with direct calls (see SymbolScan.h): those
    // of fPendingText, then the fPendingViewLength characters at
    // fPendingView, which are still where they lie in the lines, not copied.
    std::string fPendingText;
    const char* fPendingView = nullptr;
    size_t fPendingViewLength = 0;
    template <class Calls>
    void AddPendingText();
    // Adds length characters at text to the pending ones.
    void GatherText(const char* text, size_t length) {
        if (fPendingViewLength > 0 && fPendingView + fPendingViewLength != text) CopyPendingView();
        if (fPendingViewLength == 0) fPendingView = text;
        fPendingViewLength += length;
    }
    // The pending characters all in fPendingText.
    void CopyPendingView() {
        fPendingText.append(fPendingView, fPendingViewLength);
        fPendingViewLength = 0;
    }
    bool PendingEmpty() const { return fPendingText.empty() && fPendingViewLength == 0; }
    // The pending characters replace to's or follow them; none pending afterwards.
    void TakePending(TString& to, bool replace);
    // CollectedSymbol when the pending characters are not all still in the line.
    std::string_view JoinedSymbol();
    // The block stack of such a run: pushed and popped without a container
    // call, handed to fBlockStack when the run ends.
    std::vector<int> fOwnBlocks;
    bool fOwnBlockRun = false;
    // The recent symbols of such a run, up to the history size, handed to the
    // history when the run ends; fRecentNext is the oldest, where the next
    // one goes once all are taken. A symbol whose characters all lie in one
    // line is kept where it lies, the others as copies.
    struct TRecentSymbol {
        const char* view = nullptr;
        size_t length = 0;
        bool copied = false;
        std::string copy;
        std::string_view Text() const { return copied ? std::string_view(copy) : std::string_view(view, length); }
    };
    std::vector<TRecentSymbol> fRecentSymbols;
    size_t fRecentNext = 0;
    bool fRecentRun = false;
    // The symbol delivered when no history keeps it.
    TRecentSymbol fDeliveredSymbol;
    // The new symbol with the pending characters in slot; none pending afterwards.
    void StoreRecent(TRecentSymbol& slot);
    // Both handed over, once.
    void EndOwnRun();
};
