// TTaggedTextParser: tag collection, splitting and lookup, and the tag table records.
#include "TaggedTextParser.h"

#include <algorithm>
#include <string>

#include "CaseTables.h"
#include "SymbolScan.h"

namespace {

// Narrows [first, end) of text so that c neither starts nor ends it.
void TrimRange(std::string_view text, size_t& first, size_t& end, char c) {
    while (first < end && text[first] == c) ++first;
    while (end > first && text[end - 1] == c) --end;
}

}  // namespace

TTagInfo::TTagInfo(const TTagInfo& source)
    : TContainerItem(source), name(source.name), id(source.id), enabled(source.enabled) {}

TTagInfo& TTagInfo::operator=(const TTagInfo& source) {
    TContainerItem::operator=(source);
    name = source.name;
    id = source.id;
    enabled = source.enabled;
    return *this;
}

void TTagInfo::Assign(const TContainerItem& source) {
    if (const auto* tag = dynamic_cast<const TTagInfo*>(&source)) *this = *tag;
}

bool TTagInfo::Compatible(const TContainerItem& source) const {
    return dynamic_cast<const TTagInfo*>(&source) != nullptr;
}

TTaggedTextParser::TTaggedTextParser() {
    fBlockMask = btAngle;
    fQuotes = false;
    fHistorySize = 0;
    fLookahead = -1;
}

void TTaggedTextParser::AddTag(int id, const TString& name) { fTags.Add(new TTagInfo(name, id, true)); }

void TTaggedTextParser::ParseBlockStart(int type) {
    if (type != btAngle) return;
    if (fInTag) ParseError(tteNestedTag);
    fInTag = true;
    fSymbolDelivery = false;
}

void TTaggedTextParser::ParseBlockEnd(int type) {
    if (type != btAngle) return;
    fInTag = false;
    fSymbolDelivery = true;
    // The collected text is split where it lies. The hooks see the symbol
    // cleared, so it is taken first; with hooks that do not look (this
    // class's own, or those of a run that leaves it alone), it is split in
    // place and cleared after.
    const bool inPlace = fOwnTagHooks || fStableRun;
    const std::string_view collected = CollectedSymbol();
    if (!inPlace) {
        fTagText.assign(collected.data(), collected.size());
        TSymbolParser::ClearNewSymbol();
    }
    const std::string_view text = inPlace ? collected : std::string_view(fTagText);
    size_t first = 0;
    size_t end = text.size();
    TrimRange(text, first, end, ' ');
    if (first == end)
        ParseError(tteEmptyTag);
    else
        SplitTag(text, first, end);
    if (inPlace) ClearCollectedSymbol();
}

// (The helpers of a tag's end are used in this file alone: inline, so
// that the tag's work is one call.)
inline void TTaggedTextParser::SplitTag(std::string_view tag, size_t first, size_t end) {
    const char* text = tag.data();
    // Tags are short: looked through by hand.
    size_t equals = first;
    while (equals < end && tag[equals] != '=') ++equals;
    if (equals == end) {
        if (fOwnTagHooks)
            LookUpTag(text + first, end - first);
        else if (fOwnParseTag)
            TakeTag(text + first, end - first, TString());
        else
            ParseTag(TString(text + first, int(end - first)), TString());
        return;
    }
    size_t valueFirst = equals + 1;
    size_t valueEnd = end;
    TrimRange(tag, valueFirst, valueEnd, ' ');
    TrimRange(tag, valueFirst, valueEnd, '"');
    if (equals == first)
        ParseError(tteEmptyTag);
    else if (valueFirst == valueEnd)
        ParseError(tteEmptyValue);
    else if (fOwnTagHooks)
        LookUpTag(text + first, equals - first);
    else if (fOwnParseTag)
        TakeTag(text + first, equals - first, TString(text + valueFirst, int(valueEnd - valueFirst)));
    else
        ParseTag(TString(text + first, int(equals - first)), TString(text + valueFirst, int(valueEnd - valueFirst)));
}

namespace {

size_t LeadingSlashes(const char* name, size_t length) {
    size_t slashes = 0;
    while (slashes < length && name[slashes] == '/') ++slashes;
    return slashes;
}

}  // namespace

inline void TTaggedTextParser::LookUpTag(const char* name, size_t length) {
    // An empty table knows no tag.
    if (fTags.GetCount() == 0) return;
    const size_t slashes = LeadingSlashes(name, length);
    const int index = FindTag(name + slashes, length - slashes);
    if (index >= 0) fCurrentTagId = TagAt(index).id;
}

inline int TTaggedTextParser::FindRunName(const TNameIndex& names, bool upper, const char* name, size_t length) const {
    const TCaseTables& cases = CaseTables();
    const int known = std::min(int(names.names.size()), fTags.GetCount());
    const auto matches = [&](const TNameIndex::TName& runName) {
        if (runName.index >= known || runName.length != length) return false;
        const char* text = names.chars.data() + runName.offset;
        size_t j = 0;
        while (j < length && text[j] == (upper ? cases.Upper(name[j]) : name[j])) ++j;
        return j == length && TagAt(runName.index).enabled;
    };
    // Those of its group, or all of them for an empty name.
    if (length > 0 && !names.groupStart.empty()) {
        const unsigned char first = static_cast<unsigned char>(upper ? cases.Upper(name[0]) : name[0]);
        const size_t group = TNameIndex::Group(first, length);
        for (int at = names.groupStart[group]; at < names.groupStart[group + 1]; ++at)
            if (matches(names.byGroup[size_t(at)])) return names.byGroup[size_t(at)].index;
    } else {
        for (const TNameIndex::TName& runName : names.names)
            if (matches(runName)) return runName.index;
    }
    return -1;
}

inline int TTaggedTextParser::FindTag(const char* name, size_t length) const {
    const int count = fTags.GetCount();
    // First against the names taken when the run began, the name upper-cased
    // as it is compared unless case-sensitive.
    const TNameIndex* runNames = !fCaseSensitive ? &fUpperNames : &fExactNames;
    int i = 0;
    if (!fCaseSensitive || !fExactNames.names.empty()) {
        const int found = FindRunName(*runNames, !fCaseSensitive, name, length);
        if (found >= 0) return found;
        i = int(runNames->names.size());
    }
    // The entries added during the run, or all when case-sensitive without names taken.
    if (i >= count) return -1;
    const TCaseTables& cases = CaseTables();
    std::string wanted(name, length);
    if (!fCaseSensitive)
        for (char& c : wanted) c = cases.Upper(c);
    for (; i < count; ++i) {
        const TTagInfo& tag = TagAt(i);
        if (tag.enabled && (fCaseSensitive ? tag.name.str() : tag.name.UpperCase().str()) == wanted) return i;
    }
    return -1;
}

void TTaggedTextParser::ParseTag(const TString& name, const TString& value) {
    TakeTag(name.c_str(), size_t(name.Length()), value);
}

inline void TTaggedTextParser::TakeTag(const char* name, size_t length, const TString& value) {
    const size_t slashes = LeadingSlashes(name, length);
    const int index = FindTag(name + slashes, length - slashes);
    if (index < 0) {
        TString prepared(name + slashes, int(length - slashes));
        if (!fCaseSensitive) prepared.ToUpper();
        ParseUnknownTag(prepared, value, slashes > 0);
        return;
    }
    const int id = TagAt(index).id;
    ParseKnownTag(id, value, slashes > 0);
    fCurrentTagId = id;
}

void TTaggedTextParser::ParseKnownTag(int, const TString&, bool) {}
void TTaggedTextParser::ParseUnknownTag(const TString&, const TString&, bool) {}

void TTaggedTextParser::BeginTaggedRun(bool stableTable) {
    fUpperNames.Clear();
    fExactNames.Clear();
    const bool exact = fCaseSensitive && stableTable;
    fRunTags.clear();
    for (int i = 0; i < fTags.GetCount(); ++i) {
        fUpperNames.Add(fTags[i].name.UpperCase().str());
        if (exact) fExactNames.Add(fTags[i].name.str());
        if (stableTable) fRunTags.push_back(&fTags[i]);
    }
    fUpperNames.Build();
    if (exact) fExactNames.Build();
    fInTag = false;
    fCurrentTagId = -1;
}

void TTaggedTextParser::TNameIndex::Add(const std::string& name) {
    names.push_back(TName{uint32_t(chars.size()), uint32_t(name.size()), int(names.size())});
    chars += name;
}

void TTaggedTextParser::TNameIndex::Build() {
    groupStart.assign(kGroups + 1, 0);
    const auto groupOf = [&](const TName& name) {
        return Group(static_cast<unsigned char>(chars[name.offset]), name.length);
    };
    for (const TName& name : names)
        if (name.length > 0) ++groupStart[groupOf(name) + 1];
    for (size_t g = 1; g <= kGroups; ++g) groupStart[g] += groupStart[g - 1];
    byGroup.resize(size_t(groupStart[kGroups]));
    std::vector<int> next(groupStart.begin(), groupStart.end() - 1);
    for (const TName& name : names)
        if (name.length > 0) byGroup[size_t(next[groupOf(name)]++)] = name;
}

void TTaggedTextParser::TNameIndex::Clear() {
    chars.clear();
    names.clear();
    byGroup.clear();
    groupStart.clear();
}

bool TTaggedTextParser::Parse(TStringContainer& lines) { return ParseTaggedAs(*this, lines); }
