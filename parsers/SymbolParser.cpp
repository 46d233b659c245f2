// TSymbolParser: the operations of the base parser; the character loop is in SymbolScan.h.
#include "SymbolParser.h"

#include "SymbolScan.h"

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

bool TSymbolParser::IsSeparator(char c) { return IsSeparatorWith<TVirtualCalls>(*this, c); }

void TSymbolParser::ParseError(int code) {
    fErrorCode = code;
    fOk = false;
}

void TSymbolParser::ClearNewSymbol() {
    fNewSymbol.Clear();
    if (fNewSymbol.GetCapacity() < kSymbolRoom) fNewSymbol.Reserve(kSymbolRoom);
    fPendingText.clear();
    fPendingViewLength = 0;
}

std::string_view TSymbolParser::JoinedSymbol() {
    TakePending(fNewSymbol, false);
    return fNewSymbol.str();
}

void TSymbolParser::NewSymbolParsed() { NewSymbolParsedWith<TVirtualCalls>(*this); }

void TSymbolParser::ProcessChar(char ch) { ProcessCharWith<TVirtualCalls>(*this, ch); }

void TSymbolParser::ResetRun() {
    fPrevWhiteSpace = true;
    fPrevSeparator = true;
    fInQuote = false;
    fPrevQuote = false;
    fSymbolDelivery = true;
    fBlockStack.Clear();
    fOk = true;
}

void TSymbolParser::EndOwnRun() {
    if (fOwnBlockRun) {
        fOwnBlockRun = false;
        fBlockStack.Clear();
        for (int type : fOwnBlocks) fBlockStack.Add(type);
    }
    if (fRecentRun) {
        // Oldest first, as the history holds them; its entries keep their
        // room, like the new symbol they are copies of.
        const int count = RecentSymbolCount();
        for (int k = 0; k < count; ++k) {
            const std::string_view text = RecentSymbol(k);
            TString entry(text.data(), int(text.size()));
            entry.SetReduceCapacity(false);
            fSymbolHistory.Add(entry);
        }
        fRecentRun = false;
        fRecentSymbols.clear();
    }
}

bool TSymbolParser::Parse(TStringContainer& lines) { return ParseAs(*this, lines); }
