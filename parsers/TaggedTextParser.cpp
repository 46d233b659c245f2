// TTaggedTextParser: tag collection, splitting and lookup, and the tag table records.
#include "TaggedTextParser.h"

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

bool TTaggedTextParser::IsWhiteSpace(char c) {
    if (c == ' ' && fInTag && fKeepBlanksInTags) return false;
    return TSymbolParser::IsWhiteSpace(c);
}

bool TTaggedTextParser::IsSeparator(char c) { return c == '<' || c == '>'; }

void TTaggedTextParser::ClearNewSymbol() {
    if (!fInTag) TSymbolParser::ClearNewSymbol();
}

void TTaggedTextParser::ParseSymbol(const TString&) { fCurrentTagId = 0; }

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
    TString text = fNewSymbol;
    TSymbolParser::ClearNewSymbol();
    text.Trim(' ');
    if (text.IsEmpty()) {
        ParseError(tteEmptyTag);
        return;
    }
    SplitTag(text);
}

void TTaggedTextParser::SplitTag(const TString& text) {
    int equals = text.Pos('=');
    if (equals < 0) {
        ParseTag(text, TString());
        return;
    }
    TString name = text.Left(equals);
    TString value = text.Substring(equals + 1, text.Length() - 1);
    value.Trim(' ');
    value.Trim('"');
    if (name.IsEmpty())
        ParseError(tteEmptyTag);
    else if (value.IsEmpty())
        ParseError(tteEmptyValue);
    else
        ParseTag(name, value);
}

int TTaggedTextParser::FindTag(const TString& name) const {
    for (int i = 0; i < fTags.GetCount(); ++i) {
        const TTagInfo& tag = fTags[i];
        if (!tag.enabled) continue;
        if (fCaseSensitive) {
            if (tag.name == name) return i;
        } else if (i < fUpperNames.GetCount() ? fUpperNames[i] == name : tag.name.UpperCase() == name) {
            return i;
        }
    }
    return -1;
}

void TTaggedTextParser::ParseTag(const TString& name, const TString& value) {
    TString prepared = name;
    bool closing = prepared.StartsWith(TString("/"));
    prepared.TrimLeft('/');
    if (!fCaseSensitive) prepared.ToUpper();
    int index = FindTag(prepared);
    if (index < 0) {
        ParseUnknownTag(prepared, value, closing);
        return;
    }
    int id = fTags[index].id;
    ParseKnownTag(id, value, closing);
    fCurrentTagId = id;
}

void TTaggedTextParser::ParseKnownTag(int, const TString&, bool) {}
void TTaggedTextParser::ParseUnknownTag(const TString&, const TString&, bool) {}

bool TTaggedTextParser::Parse(TStringContainer& lines) {
    fUpperNames.Clear();
    for (int i = 0; i < fTags.GetCount(); ++i) fUpperNames.Add(fTags[i].name.UpperCase());
    fInTag = false;
    fCurrentTagId = -1;
    bool ok = TSymbolParser::Parse(lines);
    fUpperNames.Clear();
    return ok;
}
