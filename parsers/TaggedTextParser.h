// TTaggedTextParser and its tag table: splits text into plain words and tags
// written between '<' and '>', and dispatches known tags by id.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <vector>

#include "ContainerItem.h"
#include "ObjectContainer.h"
#include "String.h"
#include "StringContainer.h"
#include "SymbolParser.h"

// One entry of the tag table.
class TTagInfo : public TContainerItem {
public:
    TTagInfo() = default;
    TTagInfo(const TString& tagName, int tagId, bool tagEnabled = true)
        : name(tagName), id(tagId), enabled(tagEnabled) {}
    TTagInfo(const TTagInfo& source);
    TTagInfo& operator=(const TTagInfo& source);

    void Assign(const TContainerItem& source) override;
    bool Compatible(const TContainerItem& source) const override;

    TString name;
    int id = 0;
    bool enabled = true;
};

// The tag table: owned TTagInfo entries. Element access (operator[], First,
// Mid, Last) throws TSDPPBadIndex outside the table; operator+= appends a copy.
class TTagInfos : public TObjectContainer<TTagInfo> {
public:
    using TObjectContainer<TTagInfo>::TObjectContainer;
    using TObjectContainer<TTagInfo>::operator=;
};

// Error codes reported through ParseError.
enum TTaggedTextError {
    tteNestedTag = 1,   // a '<' inside an open tag
    tteEmptyTag = 2,    // an empty tag, an empty name before '=', or a '>' outside a tag
    tteEmptyValue = 3,  // an empty value after '='
};

// Words are runs of characters between whitespace, '<' and '>'; other
// punctuation belongs to words. Inside a tag every character but whitespace
// is collected; with keep-blanks on, blanks are collected too (tabs and line
// ends still are not). A parse error stops the run at once. A tag left open at
// the end of the text is dropped without an error.
class TTaggedTextParser : public TSymbolParser {
public:
    // Block characters only '<' and '>', quotes off, no history, every word
    // delivered at once, tag names compared in upper case, blanks dropped in tags.
    TTaggedTextParser();

    // Appends {name, id, enabled} to the tag table.
    void AddTag(int id, const TString& name);
    TTagInfos& GetTags() { return fTags; }
    const TTagInfos& GetTags() const { return fTags; }

    bool GetCaseSensitive() const { return fCaseSensitive; }
    void SetCaseSensitive(bool caseSensitive) { fCaseSensitive = caseSensitive; }
    // Blanks inside a tag stay part of the tag text: a blank before '=' then
    // becomes part of the name.
    bool GetKeepBlanksInTags() const { return fKeepBlanksInTags; }
    void SetKeepBlanksInTags(bool keep) { fKeepBlanksInTags = keep; }
    // Id of the last known tag; 0 after a plain word, -1 at the start of Parse.
    int GetCurrentTagId() const { return fCurrentTagId; }
    bool GetInTag() const { return fInTag; }

    // (Defined here so that the character loop inlines them.)
    bool IsWhiteSpace(char c) override {
        if (c == ' ' && fInTag && fKeepBlanksInTags) return false;
        return TSymbolParser::IsWhiteSpace(c);
    }
    // Only '<' and '>'.
    bool IsSeparator(char c) override { return c == '<' || c == '>'; }
    // Inside a tag the collected text is kept.
    void ClearNewSymbol() override {
        if (!fInTag) TSymbolParser::ClearNewSymbol();
    }
    void ParseBlockStart(int type) override;
    // Splits the collected tag text at its first '=' into name and value.
    void ParseBlockEnd(int type) override;
    void ParseSymbol(const TString& word) override { ParseSymbolText(word.c_str(), size_t(word.Length())); }
    // ParseSymbol's work on the word's characters; the run of a parser whose
    // exact class is this one or the tagged finder hands the word over this
    // way, without making a text of it.
    void ParseSymbolText(const char*, size_t) { fCurrentTagId = 0; }
    bool Parse(TStringContainer& lines) override;

    // A leading '/' (one or more) marks a closing tag and is removed; the name
    // is looked up among the enabled entries in table order.
    virtual void ParseTag(const TString& name, const TString& value);
    virtual void ParseKnownTag(int id, const TString& value, bool closing);
    // Unknown tags are ignored by default.
    virtual void ParseUnknownTag(const TString& name, const TString& value, bool closing);

protected:
    // Parse's run for self (see TSymbolParser::ParseAs); the caller includes SymbolScan.h.
    template <class P>
    bool ParseTaggedAs(P& self, TStringContainer& lines) {
        const bool exact = typeid(self) == typeid(P);
        // A parser whose ParseTag is this class's own has its tags looked up
        // without making a text of the name; when its tag hooks are all this
        // class's own (and ParseError the base's), it only looks tags up, so
        // the run does that without making the texts the hooks take.
        fOwnParseTag =
            exact && std::is_same_v<decltype(&P::ParseTag), void (TTaggedTextParser::*)(const TString&, const TString&)>;
        fOwnTagHooks =
            fOwnParseTag && std::is_same_v<decltype(&P::ParseError), void (TSymbolParser::*)(int)> &&
            std::is_same_v<decltype(&P::ParseKnownTag), void (TTaggedTextParser::*)(int, const TString&, bool)> &&
            std::is_same_v<decltype(&P::ParseUnknownTag),
                           void (TTaggedTextParser::*)(const TString&, const TString&, bool)>;
        // The hooks of such a parser leave the tag table and the collected
        // tag text alone while it runs.
        fStableRun = exact && kScansLikeThisPackage<P>;
        BeginTaggedRun(fStableRun);
        const bool ok = ParseAs(self, lines);
        fOwnTagHooks = false;
        fOwnParseTag = false;
        fStableRun = false;
        fRunTags.clear();
        fUpperNames.Clear();
        fExactNames.Clear();
        return ok;
    }
    // The names for one run, in-tag off, no tag seen yet: the upper-cased
    // names, and when the table stays as it is while the run goes on and
    // names are compared case-sensitive, the names as they are.
    void BeginTaggedRun(bool stableTable);

    bool fCaseSensitive = false;
    int fCurrentTagId = 0;
    bool fInTag = false;
    TTagInfos fTags;
    bool fKeepBlanksInTags = false;
    bool fOwnTagHooks = false;
    bool fOwnParseTag = false;
    bool fStableRun = false;
    // The entries of the table in such a run.
    std::vector<const TTagInfo*> fRunTags;
    // The text of the tag being read.
    std::string fTagText;
    // The names of the table when a run began, in one form, grouped by
    // their first character and length.
    struct TNameIndex {
        // The group of names with first character c and length n (groups
        // are shared, not unique).
        static constexpr size_t kGroups = 256;
        static size_t Group(unsigned char first, size_t length) { return (first + length * 97) % kGroups; }
        // A name: where its characters lie in chars, and its table index.
        struct TName {
            uint32_t offset;
            uint32_t length;
            int index;
        };
        std::string chars;
        // In table order.
        std::vector<TName> names;
        // The names by group, in table order within each: those of group g
        // are byGroup[groupStart[g]] up to byGroup[groupStart[g + 1]]. An
        // empty name is in no group.
        std::vector<TName> byGroup;
        std::vector<int> groupStart;
        void Add(const std::string& name);
        void Build();
        void Clear();
    };
    TNameIndex fUpperNames;
    TNameIndex fExactNames;

private:
    // Splits [first, end) of the tag text at its first '=' into name and value.
    void SplitTag(std::string_view tag, size_t first, size_t end);
    // ParseTag's work when the tag hooks are this class's own.
    void LookUpTag(const char* name, size_t length);
    // ParseTag's work on the name's characters.
    void TakeTag(const char* name, size_t length, const TString& value);
    // Index of the first enabled entry named name (without its leading
    // slashes; compared upper-cased unless case-sensitive); -1 when none.
    int FindTag(const char* name, size_t length) const;
    // The same among the first entries of names, the name upper-cased when
    // upper is set; -1 when none.
    int FindRunName(const TNameIndex& names, bool upper, const char* name, size_t length) const;
    const TTagInfo& TagAt(int i) const {
        if (fStableRun && size_t(i) < fRunTags.size()) return *fRunTags[size_t(i)];
        return *static_cast<const TTagInfo*>(static_cast<const TContainerItem*>(fTags.GetItem(i)));
    }
};
