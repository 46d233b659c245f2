// Field splitting, escape sequences and pattern variables.
#include "Tokenizing.h"

#include <cstring>

std::string TrimSpaces(const std::string& text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

namespace {

void AddField(std::vector<std::string>& fields, const std::string& field, bool trim) {
    fields.push_back(trim ? TrimSpaces(field) : field);
}

// The escape letters and the characters they stand for.
struct EscapeRow {
    char letter;
    char character;
};
const EscapeRow escapeTable[] = {{'t', '\t'}, {'n', '\n'}, {'r', '\r'}, {'b', '\b'}, {'v', '\v'}};

bool EscapedCharacter(char letter, char& character) {
    for (const EscapeRow& row : escapeTable) {
        if (row.letter != letter) continue;
        character = row.character;
        return true;
    }
    return false;
}

// Matches one literal item at s[position]; advances position past it.
bool MatchLiteral(const std::string& s, size_t& position, const std::string& literal, bool repeats) {
    for (size_t index = 0; index < literal.size(); ++index) {
        const char wanted = literal[index];
        if (position >= s.size() || s[position] != wanted) return false;
        ++position;
        if (repeats && index + 1 < literal.size() && literal[index + 1] == '*') {
            while (position < s.size() && s[position] == wanted) ++position;
            ++index;
        }
    }
    return true;
}

}  // namespace

void Tokenize(const std::string& s, std::vector<std::string>& fields, char separator, bool skipEmpty,
              bool trim) {
    const size_t length = std::strlen(s.c_str());
    if (length == 0) return;
    std::string field;
    for (size_t index = 0; index < length; ++index) {
        const char c = s[index];
        if (c != separator) {
            field += c;
            continue;
        }
        if (!skipEmpty || !field.empty()) AddField(fields, field, trim);
        field.clear();
    }
    if (!skipEmpty || !field.empty()) AddField(fields, field, trim);
}

void QMTokenize(const std::string& s, std::vector<std::string>& fields, char separator, bool merge,
                char quote) {
    std::string field;
    bool quoted = false;
    bool afterSeparator = true;
    bool endsWithSeparator = false;
    for (size_t index = 0; index < s.size(); ++index) {
        const char c = s[index];
        endsWithSeparator = false;
        if (c == '\\' && index + 1 < s.size() && s[index + 1] == quote) {
            field += quote;
            ++index;
            afterSeparator = false;
            continue;
        }
        if (!quoted && c == separator) {
            if (merge) {
                if (!afterSeparator) fields.push_back(field);
                if (!afterSeparator) field.clear();
            } else if (index > 0 && s[index - 1] == '\\' && !field.empty() && field.back() == '\\') {
                field.back() = separator;
                continue;
            } else {
                fields.push_back(field);
                field.clear();
                endsWithSeparator = true;
            }
            afterSeparator = true;
            continue;
        }
        afterSeparator = false;
        if (c == quote) {
            quoted = !quoted;
            continue;
        }
        field += c;
    }
    if (!field.empty() || endsWithSeparator) fields.push_back(field);
}

std::string ResolveEscapeChars(const std::string& s) {
    std::string result;
    result.reserve(s.size());
    bool heldBack = false;
    for (const char c : s) {
        if (!heldBack) {
            if (c == '\\') heldBack = true;
            else result += c;
            continue;
        }
        char character;
        if (c == '\\') continue;  // one backslash stays held back
        heldBack = false;
        if (EscapedCharacter(c, character)) {
            result += character;
        } else {
            result += '\\';
            result += c;
        }
    }
    return result;
}

bool GetStringVars(const std::string& pattern, std::vector<TStringVarsItem>& items) {
    std::string literal;
    std::string name;
    bool inVariable = false;
    for (size_t index = 0; index < pattern.size(); ++index) {
        const char c = pattern[index];
        if (inVariable) {
            if (c != ')') {
                name += c;
                continue;
            }
            if (name.empty()) return false;
            items.emplace_back(true, name);
            name.clear();
            inVariable = false;
        } else if (c == '$' && index + 1 < pattern.size() && pattern[index + 1] == '(') {
            if (literal.empty() && !items.empty()) return false;
            if (!literal.empty()) items.emplace_back(false, literal);
            literal.clear();
            inVariable = true;
            ++index;
        } else if (c == '\\') {
            if (index + 2 < pattern.size()) literal += pattern[++index];
        } else {
            literal += c;
        }
    }
    if (inVariable) return false;
    if (!literal.empty()) items.emplace_back(false, literal);
    return true;
}

bool ExtractStringVars(const std::string& s, const std::vector<TStringVarsItem>& items,
                       std::map<std::string, std::string>& vars, bool repeats) {
    if (items.empty()) return true;
    if (s.empty()) return false;
    size_t variableCount = 0;
    for (const TStringVarsItem& item : items) variableCount += item.isVariable ? 1 : 0;
    size_t position = 0;
    for (size_t index = 0; index < items.size(); ++index) {
        const TStringVarsItem& item = items[index];
        if (!item.isVariable) {
            if (!MatchLiteral(s, position, item.text, repeats)) return false;
            const bool variableFollows = index + 1 < items.size() && items[index + 1].isVariable;
            if (position < s.size() && !variableFollows) return false;
            continue;
        }
        // Only a variable at the start, or one that s goes on into, gets an entry.
        if (index > 0 && position >= s.size()) break;
        size_t end = s.size();
        if (index + 1 < items.size() && !items[index + 1].text.empty()) {
            const size_t stop = s.find(items[index + 1].text[0], position);
            if (stop != std::string::npos) end = stop;
        }
        vars[item.text] += s.substr(position, end - position);
        position = end;
    }
    return vars.size() == variableCount;
}
