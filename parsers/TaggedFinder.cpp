// TTaggedFinder: word matching over the plain words of a tagged text.
#include "TaggedFinder.h"

#include "CaseTables.h"
#include "SymbolScan.h"

bool TTaggedFinder::Parse(TStringContainer& text) { return ParseTaggedAs(*this, text); }

bool TTaggedFinder::Parse(TStringContainer& text, TStringContainer& words, bool& found, bool wholeWord,
                          bool matchAll, bool caseSensitive) {
    fWords.Clear();
    for (int i = 0; i < words.GetCount(); ++i) fWords.Add(caseSensitive ? words[i] : words[i].UpperCase());
    fWholeWord = wholeWord;
    fMatchAll = matchAll;
    fFinderCaseSensitive = caseSensitive;
    fHits.Clear();
    bool ok = ParseTaggedAs(*this, text);
    found = Found();
    return ok;
}

bool TTaggedFinder::Matches(const std::string& searchWord, const char* text, size_t length) const {
    const size_t size = searchWord.size();
    if (size > length || (fWholeWord && size != length)) return false;
    // The word is upper-cased as it is read (the search words already are).
    const TCaseTables& cases = CaseTables();
    const bool upper = !fFinderCaseSensitive;
    for (size_t at = 0; at + size <= length; ++at) {
        size_t j = 0;
        while (j < size && (upper ? cases.Upper(text[at + j]) : text[at + j]) == searchWord[j]) ++j;
        if (j == size) return true;
        if (fWholeWord) break;
    }
    return false;
}

void TTaggedFinder::ParseSymbolText(const char* word, size_t length) {
    TTaggedTextParser::ParseSymbolText(word, length);
    // Every matching search word counts, so that with match-all a word that
    // also holds an earlier search word is not lost.
    // (A search word longer than the word is turned away before the call.)
    const int count = fWords.GetCount();
    void* const* words = static_cast<void* const*>(fWords.GetItems());
    for (int i = 0; i < count; ++i) {
        const std::string& searchWord = static_cast<const TString*>(words[i])->str();
        if (searchWord.size() <= length && Matches(searchWord, word, length) && fHits.IndexOf(i) < 0) fHits.Add(i);
    }
}

bool TTaggedFinder::Found() const {
    if (fHits.GetCount() == 0) return false;
    if (!fMatchAll) return true;
    for (int i = 0; i < fWords.GetCount(); ++i)
        if (fHits.IndexOf(i) < 0) return false;
    return true;
}
