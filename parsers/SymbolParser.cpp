// TSymbolParser: character classes, the per-character state machine and symbol delivery.
#include "SymbolParser.h"

#include <bitset>

namespace {

const char kWhiteSpace[] = " \n\r\t";
const char kSeparators[] = ".,;:?!+-*/=%";
const int kSymbolRoom = 256;

enum TCharFlag : unsigned char { cfWhiteSpace = 1, cfSeparator = 2 };

// Classes of all 256 byte values, built once from the sets above, so that the
// per-character tests are one lookup each.
struct TCharTable {
    unsigned char flags[256] = {};
    TCharTable() {
        for (const char* c = kWhiteSpace; *c != '\0'; ++c) flags[static_cast<unsigned char>(*c)] |= cfWhiteSpace;
        for (const char* c = kSeparators; *c != '\0'; ++c) flags[static_cast<unsigned char>(*c)] |= cfSeparator;
    }
    bool Has(char c, unsigned char flag) const { return (flags[static_cast<unsigned char>(c)] & flag) != 0; }
};

const TCharTable& CharTable() {
    static const TCharTable table;
    return table;
}

}  // namespace

TSymbolParser::TSymbolParser() {
    // The current symbol keeps its room between symbols.
    fNewSymbol.SetReduceCapacity(false);
    fNewSymbol.Reserve(kSymbolRoom);
}

TSymbolParser::~TSymbolParser() = default;

bool TSymbolParser::IsSpecialChar(const char* set, int length, char c) {
    for (int i = 0; i < length; ++i)
        if (set[i] == c) return true;
    return false;
}

bool TSymbolParser::IsWhiteSpace(char c) { return CharTable().Has(c, cfWhiteSpace); }

bool TSymbolParser::IsSeparator(char c) { return CharTable().Has(c, cfSeparator) || IsBlockStart(c) || IsBlockEnd(c); }

bool TSymbolParser::IsQuoteMark(char c) {
    switch (fQuoteMode) {
        case 1: return c == '\'';
        case 2: return c == '"';
        case 3: return c == '\'' || c == '"';
        default: return false;
    }
}

const TSymbolParser::TBlockChars* TSymbolParser::FindBlockChars(char c) {
    // Each bracket pair with its block type, which is also its bit in the mask.
    static const TBlockChars kBlocks[] = {
        {'(', ')', btParenthesis},
        {'{', '}', btCurly},
        {'[', ']', btSquare},
        {'<', '>', btAngle},
    };
    // Every bracket byte lies below 128; most characters are rejected by one test.
    static const auto kBracketBytes = [] {
        std::bitset<128> bytes;
        for (const TBlockChars& block : kBlocks) {
            bytes.set(static_cast<size_t>(block.open));
            bytes.set(static_cast<size_t>(block.close));
        }
        return bytes;
    }();
    unsigned char byte = static_cast<unsigned char>(c);
    if (byte >= kBracketBytes.size() || !kBracketBytes.test(byte)) return nullptr;
    for (const TBlockChars& block : kBlocks)
        if (block.open == c || block.close == c) return &block;
    return nullptr;
}

bool TSymbolParser::IsBlockStart(char c) {
    const TBlockChars* block = FindBlockChars(c);
    return block != nullptr && block->open == c && (fBlockMask & block->type) != 0;
}

bool TSymbolParser::IsBlockEnd(char c) {
    const TBlockChars* block = FindBlockChars(c);
    return block != nullptr && block->close == c && (fBlockMask & block->type) != 0;
}

int TSymbolParser::GetBlockType(char c) {
    const TBlockChars* block = FindBlockChars(c);
    return block != nullptr ? block->type : btNone;
}

char TSymbolParser::ConvertChar(char c) { return c; }
void TSymbolParser::ParseChar(char) {}
void TSymbolParser::ParseWhiteSpace(char) {}
void TSymbolParser::ParseSeparator(char) {}
void TSymbolParser::ParseBlockStart(int) {}
void TSymbolParser::ParseBlockEnd(int) {}
void TSymbolParser::ParseSymbol(const TString&) {}

void TSymbolParser::ParseError(int code) {
    fErrorCode = code;
    fOk = false;
}

void TSymbolParser::ClearNewSymbol() {
    fNewSymbol.Clear();
    fNewSymbol.Reserve(kSymbolRoom);
}

void TSymbolParser::NewSymbolParsed() {
    int count = fSymbolHistory.GetCount();
    if (count > 0 && count == fHistorySize) {
        // A full history: the oldest entry moves to the end and takes the new
        // symbol, which keeps its storage instead of freeing and allocating.
        for (int i = 0; i + 1 < count; ++i) fSymbolHistory.Exchange(i, i + 1);
        fSymbolHistory.Last() = fNewSymbol;
    } else {
        if (count > 0 && count > fHistorySize) fSymbolHistory.DeleteFirst();
        if (fHistorySize > 0) fSymbolHistory.Add(fNewSymbol);
    }
    count = fSymbolHistory.GetCount();
    if (count > fLookahead && fSymbolDelivery) {
        int index = GetCurrentBufferIndex();
        if (index >= 0 && index < count)
            ParseSymbol(fSymbolHistory[index]);
        else
            ParseSymbol(fNewSymbol);
    }
    ClearNewSymbol();
}

int TSymbolParser::GetCurrentBlockType() const {
    int depth = fBlockStack.GetCount();
    return depth > 0 ? fBlockStack[depth - 1] : btNone;
}

bool TSymbolParser::SymbolPending() const {
    return !(fPrevWhiteSpace || fPrevSeparator || (fPrevQuote && fQuotes));
}

void TSymbolParser::EndPendingSymbol() {
    if (SymbolPending()) NewSymbolParsed();
}

void TSymbolParser::TrackBlocks(char c) {
    if (fInQuote) return;
    if (IsBlockStart(c)) {
        int type = GetBlockType(c);
        fBlockStack.Add(type);
        ParseBlockStart(type);
    }
    if (IsBlockEnd(c)) {
        ParseBlockEnd(GetBlockType(c));
        // A stray closing bracket has no block to close.
        if (fBlockStack.GetCount() > 0) fBlockStack.DeleteLast();
    }
}

void TSymbolParser::ProcessChar(char ch) {
    char c = ConvertChar(ch);
    bool whiteSpace = IsWhiteSpace(c);
    bool separator = IsSeparator(c);
    bool quote = IsQuoteMark(c);
    if (quote && fQuotes) {
        ParseSeparator(c);
        fNewSymbol += c;
        if (fPrevSeparator || fInQuote) NewSymbolParsed();
        fInQuote = !fInQuote;
    } else if (whiteSpace && !fInQuote) {
        EndPendingSymbol();
        ParseWhiteSpace(c);
    } else if (!separator || fInQuote) {
        fNewSymbol += c;
    } else {
        EndPendingSymbol();
        ParseSeparator(c);
    }
    TrackBlocks(c);
    ParseChar(c);
    fPrevWhiteSpace = whiteSpace;
    fPrevSeparator = separator;
    fPrevQuote = quote;
}

bool TSymbolParser::Parse(TStringContainer& lines) {
    fSymbolHistory.Clear();
    ClearNewSymbol();
    fPrevWhiteSpace = true;
    fPrevSeparator = true;
    fInQuote = false;
    fPrevQuote = false;
    fSymbolDelivery = true;
    fBlockStack.Clear();
    fOk = true;
    // Lines are looked up again for every character: hooks may rewrite them.
    for (fLineIndex = 0; fOk && fLineIndex < lines.GetCount(); ++fLineIndex) {
        for (fCharIndex = 0; fOk && fLineIndex < lines.GetCount(); ++fCharIndex) {
            const TString& line = lines[fLineIndex];
            if (fCharIndex >= line.Length() || line[fCharIndex] == '\0') break;
            ProcessChar(line[fCharIndex]);
        }
        if (fOk) ProcessChar('\n');
    }
    return fOk;
}
