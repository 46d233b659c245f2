// TLangTable: reading table text from files, lines and resources, merging and lookups.
#include "Langtable.h"

#include <cctype>
#include <climits>
#include <fstream>

#include "Win32.h"

namespace {

// Reads a leading decimal integer as "%d" does (white space, an optional
// sign, digits); a number beyond the int range saturates. False, with value
// untouched, when the text holds no number.
bool ReadDecimal(const std::string& text, int& value) {
    size_t at = 0;
    while (at < text.size() && std::isspace(static_cast<unsigned char>(text[at]))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) negative = text[at++] == '-';
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return false;
    long long magnitude = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        if (magnitude <= INT_MAX) magnitude = magnitude * 10 + (text[at] - '0');
    const long long signedValue = negative ? -magnitude : magnitude;
    value = static_cast<int>(signedValue < INT_MIN ? INT_MIN : signedValue > INT_MAX ? INT_MAX : signedValue);
    return true;
}

// Every line of a file, whatever its length, without its LF or the CR before it.
std::vector<std::string> ReadFileLines(std::ifstream& file) {
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

}  // namespace

TLangTable::TLangTable(const std::string& path) { Init(path, true); }

void TLangTable::Init(const std::string& path, bool clear) {
    if (clear) texts_.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) return;
    Init(ReadFileLines(file));
}

std::vector<std::string> TLangTable::SplitLine(const std::string& line) {
    std::vector<std::string> fields;
    if (line.empty()) return fields;
    std::string field;
    for (size_t at = 0; at < line.size(); ++at) {
        if (line[at] != '|') {
            field += line[at];
        } else if (at + 1 < line.size() && line[at + 1] == '|') {
            field += '|';
            ++at;
        } else {
            fields.push_back(field);
            field.clear();
        }
    }
    // The field in progress is the last one, also when a single bar ended the line.
    fields.push_back(field);
    return fields;
}

void TLangTable::Init(const std::vector<std::string>& lines) {
    if (lines.empty()) return;
    languages_.clear();
    int language = 0;
    for (const std::string& field : SplitLine(lines[0])) {
        ReadDecimal(field, language);
        languages_.push_back(language);
    }
    int id = 0;
    for (size_t row = 1; row < lines.size(); ++row) {
        const std::vector<std::string> fields = SplitLine(lines[row]);
        if (fields.empty()) continue;
        ReadDecimal(fields[0], id);
        for (size_t k = 1; k < fields.size() && k <= languages_.size(); ++k) {
            std::string text = fields[k];
            TransformBackslashes(text);
            texts_[TKey(languages_[k - 1], id)] = text;
        }
    }
}

void TLangTable::TransformBackslashes(std::string& text) {
    std::string result;
    result.reserve(text.size());
    for (size_t at = 0; at < text.size(); ++at) {
        const char current = text[at];
        const bool escaped = at > 0 && text[at - 1] == '\\';
        if (escaped && current == '0') {
            result.pop_back();
            break;
        }
        if (escaped && (current == 'n' || current == 't'))
            result.back() = current == 'n' ? '\n' : '\t';
        else
            result += current;
    }
    text = result;
}

void TLangTable::Add(const TLangTable& other) {
    for (const auto& entry : other.texts_) texts_.insert(entry);
}

void TLangTable::Add(const std::string& path) { Add(TLangTable(path)); }

const std::string* TLangTable::FindText(int language, int id) const {
    auto found = texts_.find(TKey(language, id));
    return found == texts_.end() ? nullptr : &found->second;
}

const std::string* TLangTable::FindLowestLanguageText(int id) const {
    for (const auto& entry : texts_)
        if (entry.first.second == id) return &entry.second;
    return nullptr;
}

std::string TLangTable::GetText(int id, const std::string& def) const { return GetText(language_, id, def); }

std::string TLangTable::GetText(int language, int id, const std::string& def) const {
    const std::string* text = language == -1 ? FindLowestLanguageText(id) : FindText(language, id);
    return text ? *text : def;
}

std::string TLangTable::GetAnyText(int id, const std::string& def) const {
    const std::string* text = FindText(language_, id);
    if (!text) text = FindLowestLanguageText(id);
    return text ? *text : def;
}

void TLangTable::GetTextIDs(std::set<int>& out) const {
    out.clear();
    for (const auto& entry : texts_) out.insert(entry.first.second);
}

std::vector<std::string> TLangTable::SplitResourceText(const char* bytes, size_t size) {
    TStringCollector collector;
    std::string line;
    for (size_t at = 0; at < size; ++at) {
        if (bytes[at] == '\r') continue;
        if (bytes[at] == '\n') {
            collector(line.c_str());
            line.clear();
        } else {
            line += bytes[at];
        }
    }
    if (!line.empty()) collector(line.c_str());
    return collector.lines;
}

void TLangTable::InitFromResource(void* module, const std::string& name) {
    HMODULE handle = static_cast<HMODULE>(module);
    HRSRC resource = FindResourceA(handle, name.c_str(), RT_RCDATA);
    if (!resource) return;
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(handle, resource)));
    if (!bytes) return;
    Init(SplitResourceText(bytes, SizeofResource(handle, resource)));
}

void TLangTable::AddFromResource(void* module, const std::string& name) {
    TLangTable other;
    other.InitFromResource(module, name);
    Add(other);
}
