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
    // The collected text is taken, then split where it lies.
    fTagText = fNewSymbol.str();
    TSymbolParser::ClearNewSymbol();
    size_t first = 0;
    size_t end = fTagText.size();
    TrimRange(fTagText, first, end, ' ');
    if (first == end) {
        ParseError(tteEmptyTag);
        return;
    }
    SplitTag(first, end);
}

void TTaggedTextParser::SplitTag(size_t first, size_t end) {
    const char* text = fTagText.data();
    const size_t equals = fTagText.find('=', first);
    if (equals == std::string::npos || equals >= end) {
        if (fOwnTagHooks)
            LookUpTag(text + first, end - first);
        else
            ParseTag(TString(text + first, int(end - first)), TString());
        return;
    }
    size_t valueFirst = equals + 1;
    size_t valueEnd = end;
    TrimRange(fTagText, valueFirst, valueEnd, ' ');
    TrimRange(fTagText, valueFirst, valueEnd, '"');
    if (equals == first)
        ParseError(tteEmptyTag);
    else if (valueFirst == valueEnd)
        ParseError(tteEmptyValue);
    else if (fOwnTagHooks)
        LookUpTag(text + first, equals - first);
    else
        ParseTag(TString(text + first, int(equals - first)), TString(text + valueFirst, int(valueEnd - valueFirst)));
}

bool TTaggedTextParser::PrepareName(const char* name, size_t length) {
    size_t slashes = 0;
    while (slashes < length && name[slashes] == '/') ++slashes;
    fNameWork.assign(name + slashes, length - slashes);
    if (!fCaseSensitive) {
        const TCaseTables& cases = CaseTables();
        for (char& c : fNameWork) c = cases.Upper(c);
    }
    return slashes > 0;
}

void TTaggedTextParser::LookUpTag(const char* name, size_t length) {
    PrepareName(name, length);
    const int index = FindTag(fNameWork);
    if (index >= 0) fCurrentTagId = TagAt(index).id;
}

const TTagInfo& TTaggedTextParser::TagAt(int i) const {
    return *static_cast<const TTagInfo*>(static_cast<const TContainerItem*>(fTags.GetItem(i)));
}

int TTaggedTextParser::FindTag(const std::string& name) const {
    const int count = fTags.GetCount();
    const int upperCount = fUpperNames.GetCount();
    int i = 0;
    if (!fCaseSensitive) {
        // Against the upper-cased names taken when the run began, then the
        // entries added since.
        for (; i < upperCount && i < count; ++i) {
            const std::string& upper = fUpperNameTexts[size_t(i)];
            // Length and first character turn most entries away at once.
            if (upper.size() == name.size() && (name.empty() || upper[0] == name[0]) && upper == name &&
                TagAt(i).enabled)
                return i;
        }
        i = upperCount;
    }
    for (; i < count; ++i) {
        const TTagInfo& tag = TagAt(i);
        if (tag.enabled && (fCaseSensitive ? tag.name.str() : tag.name.UpperCase().str()) == name) return i;
    }
    return -1;
}

void TTaggedTextParser::ParseTag(const TString& name, const TString& value) {
    const bool closing = PrepareName(name.c_str(), size_t(name.Length()));
    const int index = FindTag(fNameWork);
    if (index < 0) {
        ParseUnknownTag(TString(fNameWork), value, closing);
        return;
    }
    const int id = TagAt(index).id;
    ParseKnownTag(id, value, closing);
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
    fInTag = false;
    fCurrentTagId = -1;
}

bool TTaggedTextParser::Parse(TStringContainer& lines) { return ParseTaggedAs(*this, lines); }
