// TProperties: sections of key = value texts.
#include "Properties.h"

#include "ContainerErrors.h"
#include "MemBuffer.h"
#include "StringContainer.h"

namespace {

TString Escape(const TString& text) {
    TString result;
    for (int i = 0; i < text.Length(); ++i) {
        const char c = text[i];
        if (c == '\\') result += "\\\\";
        else if (c == '\n') result += "\\n";
        else if (c == '\r') result += "\\r";
        else result += c;
    }
    return result;
}

TString Unescape(const TString& text) {
    TString result;
    for (int i = 0; i < text.Length(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.Length()) {
            c = text[++i];
            if (c == 'n') c = '\n';
            else if (c == 'r') c = '\r';
        }
        result += c;
    }
    return result;
}

}  // namespace

TProperties::TProperties() = default;

TProperties::Section* TProperties::FindSection(const TString& name) {
    for (Section& section : fSections)
        if (section.name == name) return &section;
    return nullptr;
}

const TProperties::Section* TProperties::FindSection(const TString& name) const {
    return const_cast<TProperties*>(this)->FindSection(name);
}

TProperties::Section& TProperties::ActiveSection() {
    if (Section* section = FindSection(fActive)) return *section;
    fSections.push_back(Section{fActive, {}});
    return fSections.back();
}

const TProperties::Entry* TProperties::FindEntry(const TString& key) const {
    const Section* section = FindSection(fActive);
    if (section == nullptr) return nullptr;
    for (const Entry& entry : section->entries)
        if (entry.key == key) return &entry;
    return nullptr;
}

void TProperties::AddSection(const TString& name, bool makeActive) {
    if (FindSection(name) == nullptr) fSections.push_back(Section{name, {}});
    if (makeActive) fActive = name;
}

bool TProperties::SetSection(const TString& name) {
    if (FindSection(name) == nullptr) return false;
    fActive = name;
    return true;
}

bool TProperties::SectionExists(const TString& name) const { return FindSection(name) != nullptr; }

bool TProperties::KeyExists(const TString& key) const { return FindEntry(key) != nullptr; }

bool TProperties::DeleteSection(const TString& name) {
    for (size_t i = 0; i < fSections.size(); ++i)
        if (fSections[i].name == name) {
            fSections.erase(fSections.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    return false;
}

bool TProperties::DeleteKey(const TString& key) {
    Section* section = FindSection(fActive);
    if (section == nullptr) return false;
    for (size_t i = 0; i < section->entries.size(); ++i)
        if (section->entries[i].key == key) {
            section->entries.erase(section->entries.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    return false;
}

void TProperties::Clear() {
    fSections.clear();
    fActive.Clear();
}

void TProperties::AddEntry(const TString& key, const TString& value) {
    if (const Entry* entry = FindEntry(key)) {
        const_cast<Entry*>(entry)->value = value;
        return;
    }
    ActiveSection().entries.push_back(Entry{key, value});
}

void TProperties::AddInt(const TString& key, int value) { AddEntry(key, TString(value)); }

void TProperties::AddInt(const TString& key, int64_t value) { AddEntry(key, TString(value)); }

void TProperties::AddDouble(const TString& key, double value) { AddEntry(key, TString(value)); }

void TProperties::AddBool(const TString& key, bool value) { AddEntry(key, TString(value ? 1 : 0)); }

TString TProperties::GetString(const TString& key, const TString& defaultValue) const {
    const Entry* entry = FindEntry(key);
    return entry != nullptr ? entry->value : defaultValue;
}

int TProperties::GetInt(const TString& key, int defaultValue) const {
    const Entry* entry = FindEntry(key);
    int value = defaultValue;
    if (entry != nullptr) entry->value.ParseInt(value);
    return value;
}

int64_t TProperties::GetInt64(const TString& key, int64_t defaultValue) const {
    const Entry* entry = FindEntry(key);
    int64_t value = defaultValue;
    if (entry != nullptr) entry->value.ParseInt64(value);
    return value;
}

double TProperties::GetDouble(const TString& key, double defaultValue) const {
    const Entry* entry = FindEntry(key);
    double value = defaultValue;
    if (entry != nullptr) entry->value.ParseDouble(value);
    return value;
}

bool TProperties::GetBool(const TString& key, bool defaultValue) const {
    return GetInt(key, defaultValue ? 1 : 0) != 0;
}

int TProperties::GetSectionKeys(TStringContainer& list) const {
    const Section* section = FindSection(fActive);
    if (section == nullptr) return 0;
    for (const Entry& entry : section->entries) list.Add(entry.key);
    return static_cast<int>(section->entries.size());
}

int TProperties::GetSections(TStringContainer& list) const {
    for (const Section& section : fSections) list.Add(section.name);
    return static_cast<int>(fSections.size());
}

TString TProperties::GetText() const {
    TString text;
    for (const Section& section : fSections) {
        text += "[";
        text += Escape(section.name);
        text += "]\n";
        for (const Entry& entry : section.entries) {
            text += Escape(entry.key);
            text += "=";
            text += Escape(entry.value);
            text += "\n";
        }
    }
    return text;
}

void TProperties::SetText(const TString& text) {
    Clear();
    TStringContainer lines;
    lines.SetText(text.c_str(), text.Length());
    for (int i = 0; i < lines.GetCount(); ++i) {
        const TString& line = lines[i];
        if (line.Length() >= 2 && line[0] == '[' && line[line.Length() - 1] == ']') {
            AddSection(Unescape(line.Substring(1, line.Length() - 2)), true);
            continue;
        }
        const int equals = line.Pos('=');
        if (equals > 0) AddEntry(Unescape(line.Substring(0, equals - 1)), Unescape(line.Substring(equals + 1, line.Length() - 1)));
    }
    fActive.Clear();
}

void TProperties::WriteToFile(const TString& fileName) const {
    TStringContainer lines;
    const TString text = GetText();
    lines.SetText(text.c_str(), text.Length());
    lines.WriteToFile(fileName);
}

void TProperties::ReadFromFile(const TString& fileName) {
    TStringContainer lines;
    lines.ReadFromFile(fileName);
    SetText(lines.GetText("\n"));
}

void TProperties::WriteToMemBuffer(TMemBuffer& buffer) const {
    buffer.AddUInt32(static_cast<uint32_t>(fSections.size()));
    for (const Section& section : fSections) {
        section.name.WriteToMemBuffer(buffer);
        buffer.AddUInt32(static_cast<uint32_t>(section.entries.size()));
        for (const Entry& entry : section.entries) {
            entry.key.WriteToMemBuffer(buffer);
            entry.value.WriteToMemBuffer(buffer);
        }
    }
}

bool TProperties::ReadFromMemBuffer(TMemBuffer& buffer) {
    Clear();
    uint32_t sections = 0;
    // Every section takes at least 9 bytes and every entry 10: counts beyond
    // what remains are damaged.
    if (!buffer.ReadUInt32(sections) || sections > static_cast<uint32_t>(buffer.GetRemaining()) / 9) return false;
    for (uint32_t s = 0; s < sections; ++s) {
        Section section;
        uint32_t entries = 0;
        if (!section.name.ReadFromMemBuffer(buffer) || !buffer.ReadUInt32(entries) ||
            entries > static_cast<uint32_t>(buffer.GetRemaining()) / 10)
            return false;
        for (uint32_t e = 0; e < entries; ++e) {
            Entry entry;
            if (!entry.key.ReadFromMemBuffer(buffer) || !entry.value.ReadFromMemBuffer(buffer)) return false;
            section.entries.push_back(entry);
        }
        fSections.push_back(section);
    }
    return true;
}

void TProperties::Assign(const TContainerItem& source) {
    if (const TProperties* other = dynamic_cast<const TProperties*>(&source)) {
        fSections = other->fSections;
        fActive = other->fActive;
    }
}
