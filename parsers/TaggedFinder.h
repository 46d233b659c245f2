// TTaggedFinder: searches the plain words of a tagged text for a list of words.
#pragma once

#include <string>

#include "TaggedTextParser.h"
#include "ValueContainers.h"

class TTaggedFinder : public TTaggedTextParser {
public:
    // Searches text outside tags for words. With wholeWord a search word must
    // equal a plain word, otherwise occur in it; comparison ignores case unless
    // caseSensitive. found: some search word was hit, or with matchAll every
    // one was (an empty word list is never found). Returns the parse result;
    // a malformed tag stops the search and found covers the words seen so far.
    bool Parse(TStringContainer& text, TStringContainer& words, bool& found, bool wholeWord, bool matchAll,
               bool caseSensitive);
    // A plain tagged parse, keeping the search settings.
    bool Parse(TStringContainer& text) override;
    void ParseSymbol(const TString& word) override { ParseSymbolText(word.c_str(), size_t(word.Length())); }
    // ParseSymbol's work on the word's characters (see TTaggedTextParser).
    void ParseSymbolText(const char* word, size_t length);

    // Indexes of the search words hit, in the order first hit.
    const TIntContainer& GetHits() const { return fHits; }

protected:
    TStringContainer fWords;
    bool fWholeWord = false;
    bool fMatchAll = false;
    bool fFinderCaseSensitive = false;
    TIntContainer fHits;

private:
    // True when word (upper-cased unless the search is case-sensitive) holds
    // searchWord, or with whole words equals it.
    bool Matches(const std::string& searchWord, const char* word, size_t length) const;
    bool Found() const;
};
