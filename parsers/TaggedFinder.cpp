// TTaggedFinder: word matching over the plain words of a tagged text.
#include "TaggedFinder.h"

bool TTaggedFinder::Parse(TStringContainer& text) { return TTaggedTextParser::Parse(text); }

bool TTaggedFinder::Parse(TStringContainer& text, TStringContainer& words, bool& found, bool wholeWord,
                          bool matchAll, bool caseSensitive) {
    fWords.Clear();
    for (int i = 0; i < words.GetCount(); ++i) fWords.Add(caseSensitive ? words[i] : words[i].UpperCase());
    fWholeWord = wholeWord;
    fMatchAll = matchAll;
    fFinderCaseSensitive = caseSensitive;
    fHits.Clear();
    bool ok = TTaggedTextParser::Parse(text);
    found = Found();
    return ok;
}

bool TTaggedFinder::Matches(const TString& searchWord, const TString& word) const {
    return fWholeWord ? searchWord == word : word.Contains(searchWord);
}

void TTaggedFinder::ParseSymbol(const TString& word) {
    TTaggedTextParser::ParseSymbol(word);
    TString prepared = fFinderCaseSensitive ? word : word.UpperCase();
    // Every matching search word counts, so that with match-all a word that
    // also holds an earlier search word is not lost.
    for (int i = 0; i < fWords.GetCount(); ++i)
        if (fHits.IndexOf(i) < 0 && Matches(fWords[i], prepared)) fHits.Add(i);
}

bool TTaggedFinder::Found() const {
    if (fHits.GetCount() == 0) return false;
    if (!fMatchAll) return true;
    for (int i = 0; i < fWords.GetCount(); ++i)
        if (fHits.IndexOf(i) < 0) return false;
    return true;
}
