// TTaggedTextParser: tag collection, splitting and lookup, and the tag table records.
#include "TaggedTextParser.h"

#include <algorithm>
#include <string>

#include "CaseTables.h"
#include "SymbolScan.h"

namespace {

// Narrows [first, end) of text so that c neither starts nor ends it.
void TrimRange(const std::string& text, size_t& first, size_t& end, char c) {
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
    // cleared, so it is taken first; with hooks of this class's own, which
    // do not look, it is split in place and cleared after.
    if (!fOwnTagHooks) fTagText = fNewSymbol.str();
    const std::string& text = fOwnTagHooks ? fNewSymbol.str() : fTagText;
    if (!fOwnTagHooks) TSymbolParser::ClearNewSymbol();
    size_t first = 0;
    size_t end = text.size();
    TrimRange(text, first, end, ' ');
    if (first == end)
        ParseError(tteEmptyTag);
    else
        SplitTag(text, first, end);
    if (fOwnTagHooks) TSymbolParser::ClearNewSymbol();
}

void TTaggedTextParser::SplitTag(const std::string& tag, size_t first, size_t end) {
    const char* text = tag.data();
    const size_t equals = tag.find('=', first);
    if (equals == std::string::npos || equals >= end) {
        if (fOwnTagHooks)
            LookUpTag(text + first, end - first);
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

void TTaggedTextParser::LookUpTag(const char* name, size_t length) {
    // An empty table knows no tag.
    if (fTags.GetCount() == 0) return;
    const size_t slashes = LeadingSlashes(name, length);
    const int index = FindTag(name + slashes, length - slashes);
    if (index >= 0) fCurrentTagId = TagAt(index).id;
}

const TTagInfo& TTaggedTextParser::TagAt(int i) const {
    return *static_cast<const TTagInfo*>(static_cast<const TContainerItem*>(fTags.GetItem(i)));
}

int TTaggedTextParser::FindTag(const char* name, size_t length) const {
    const int count = fTags.GetCount();
    const int upperCount = fUpperNames.GetCount();
    const TCaseTables& cases = CaseTables();
    int i = 0;
    if (!fCaseSensitive) {
        // Against the upper-cased names taken when the run began, the name
        // upper-cased as it is compared: those with its first character (all
        // of them for an empty name), in table order.
        const int known = std::min(upperCount, count);
        const auto matches = [&](int k) {
            const std::string& upper = fUpperNameTexts[size_t(k)];
            if (upper.size() != length) return false;
            size_t j = 0;
            while (j < length && upper[j] == cases.Upper(name[j])) ++j;
            return j == length && TagAt(k).enabled;
        };
        if (length > 0 && fFirstStart.size() == 257) {
            const unsigned char first = static_cast<unsigned char>(cases.Upper(name[0]));
            for (int at = fFirstStart[first]; at < fFirstStart[first + 1u]; ++at) {
                const int k = fNamesByFirst[size_t(at)];
                if (k < known && matches(k)) return k;
            }
        } else {
            for (int k = 0; k < known; ++k)
                if (matches(k)) return k;
        }
        i = std::max(known, 0);
    }
    // The entries added during the run, or all when case-sensitive.
    if (i >= count) return -1;
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
    const size_t length = size_t(name.Length());
    const size_t slashes = LeadingSlashes(name.c_str(), length);
    const int index = FindTag(name.c_str() + slashes, length - slashes);
    if (index < 0) {
        TString prepared(name.c_str() + slashes, int(length - slashes));
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

void TTaggedTextParser::BeginTaggedRun() {
    fUpperNames.Clear();
    fUpperNameTexts.clear();
    for (int i = 0; i < fTags.GetCount(); ++i) {
        fUpperNames.Add(fTags[i].name.UpperCase());
        fUpperNameTexts.push_back(fUpperNames.Last().str());
    }
    // The names grouped by first character, each group in table order (an
    // empty name is in no group: only an empty name matches it).
    fFirstStart.assign(257, 0);
    for (const std::string& upper : fUpperNameTexts)
        if (!upper.empty()) ++fFirstStart[static_cast<unsigned char>(upper[0]) + 1u];
    for (size_t c = 1; c < fFirstStart.size(); ++c) fFirstStart[c] += fFirstStart[c - 1];
    fNamesByFirst.assign(size_t(fFirstStart[256]), 0);
    std::vector<int> next(fFirstStart.begin(), fFirstStart.end() - 1);
    for (size_t k = 0; k < fUpperNameTexts.size(); ++k)
        if (!fUpperNameTexts[k].empty())
            fNamesByFirst[size_t(next[static_cast<unsigned char>(fUpperNameTexts[k][0])]++)] = int(k);
    fInTag = false;
    fCurrentTagId = -1;
}

bool TTaggedTextParser::Parse(TStringContainer& lines) { return ParseTaggedAs(*this, lines); }
