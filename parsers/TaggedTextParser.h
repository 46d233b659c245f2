// TTaggedTextParser and its tag table: splits text into plain words and tags
// written between '<' and '>', and dispatches known tags by id.
#pragma once

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

    bool IsWhiteSpace(char c) override;
    // Only '<' and '>'.
    bool IsSeparator(char c) override;
    // Inside a tag the collected text is kept.
    void ClearNewSymbol() override;
    void ParseBlockStart(int type) override;
    // Splits the collected tag text at its first '=' into name and value.
    void ParseBlockEnd(int type) override;
    void ParseSymbol(const TString& word) override;
    bool Parse(TStringContainer& lines) override;

    // A leading '/' (one or more) marks a closing tag and is removed; the name
    // is looked up among the enabled entries in table order.
    virtual void ParseTag(const TString& name, const TString& value);
    virtual void ParseKnownTag(int id, const TString& value, bool closing);
    // Unknown tags are ignored by default.
    virtual void ParseUnknownTag(const TString& name, const TString& value, bool closing);

protected:
    bool fCaseSensitive = false;
    int fCurrentTagId = 0;
    bool fInTag = false;
    TTagInfos fTags;
    TStringContainer fUpperNames;
    bool fKeepBlanksInTags = false;

private:
    void SplitTag(const TString& text);
    // Index of the first enabled entry named name (prepared for comparison); -1 when none.
    int FindTag(const TString& name) const;
};
