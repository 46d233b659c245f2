// Wildcard matching of names: FnMatch, FilterMatch and the naive FileNameMatch.
#include "NameMatching.h"

#include <cctype>
#include <cstring>

namespace {

// Matching stops at this many nested star trials.
const int maximumStarNesting = 20;

struct Pattern {
    const char* text;
    size_t length;
};

// Reads a set starting at the '[' at `at` and tests `c` against it; false
// when the set has no closing ']' (the '[' is then ordinary).
bool MatchSet(const Pattern& pattern, size_t at, unsigned char c, bool& member, size_t& next) {
    size_t index = at + 1;
    bool negated = false;
    if (index < pattern.length && (pattern.text[index] == '!' || pattern.text[index] == '^')) {
        negated = true;
        ++index;
    }
    bool found = false;
    for (bool first = true; index < pattern.length; first = false) {
        if (pattern.text[index] == ']' && !first) {
            member = found != negated;
            next = index + 1;
            return true;
        }
        if (pattern.text[index] == '\\' && ++index >= pattern.length) return false;
        const unsigned char low = static_cast<unsigned char>(pattern.text[index++]);
        unsigned char high = low;
        if (index + 1 < pattern.length && pattern.text[index] == '-' && pattern.text[index + 1] != ']') {
            ++index;
            if (pattern.text[index] == '\\' && ++index >= pattern.length) return false;
            high = static_cast<unsigned char>(pattern.text[index++]);
        }
        if (c >= low && c <= high) found = true;
    }
    return false;
}

// Matches one non-star element at `at` against c; `next` is the element after it.
bool MatchElement(const Pattern& pattern, size_t at, char c, size_t& next) {
    const char element = pattern.text[at];
    next = at + 1;
    if (element == '?') return true;
    if (element == '[') {
        bool member = false;
        if (MatchSet(pattern, at, static_cast<unsigned char>(c), member, next)) return member;
        next = at + 1;
        return c == '[';
    }
    if (element == '\\' && at + 1 < pattern.length) {
        next = at + 2;
        return c == pattern.text[at + 1];
    }
    return c == element;
}

// Star groups that are followed by more pattern; each nests one trial.
int NestingStars(const Pattern& pattern) {
    int stars = 0;
    for (size_t index = 0; index < pattern.length; ++index) {
        const char c = pattern.text[index];
        if (c == '\\') {
            ++index;
        } else if (c == '[') {
            bool member;
            size_t next;
            if (MatchSet(pattern, index, 0, member, next)) index = next - 1;
        } else if (c == '*') {
            while (index + 1 < pattern.length && pattern.text[index + 1] == '*') ++index;
            if (index + 1 < pattern.length) ++stars;
        }
    }
    return stars;
}

}  // namespace

std::string LowerCaseAscii(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// Greedy matching that returns to the latest star on a mismatch: only the
// latest star ever needs another trial, since a star matches any run.
bool FnMatch(const char* patternText, const char* name) {
    if (!patternText || !name) return false;
    const Pattern pattern{patternText, std::strlen(patternText)};
    if (NestingStars(pattern) >= maximumStarNesting) return false;
    const size_t nameLength = std::strlen(name);
    size_t at = 0;
    size_t position = 0;
    size_t starAt = std::string::npos;
    size_t starPosition = 0;
    while (position < nameLength) {
        if (at < pattern.length && pattern.text[at] == '*') {
            while (at < pattern.length && pattern.text[at] == '*') ++at;
            if (at == pattern.length) return true;
            starAt = at;
            starPosition = position;
            continue;
        }
        size_t next = 0;
        if (at < pattern.length && MatchElement(pattern, at, name[position], next)) {
            at = next;
            ++position;
            continue;
        }
        if (starAt == std::string::npos) return false;
        at = starAt;
        position = ++starPosition;
    }
    while (at < pattern.length && pattern.text[at] == '*') ++at;
    return at == pattern.length;
}

bool FnMatch(const std::string& pattern, const std::string& name) { return FnMatch(pattern.c_str(), name.c_str()); }

bool FilterMatch(const std::string& name, const std::vector<std::string>& patterns, bool ignoreCase) {
    const std::string subject = ignoreCase ? LowerCaseAscii(name) : name;
    for (const std::string& pattern : patterns)
        if (FnMatch(ignoreCase ? LowerCaseAscii(pattern) : pattern, subject)) return true;
    return false;
}

bool FileNameMatch(const std::string& pattern, const std::string& name) {
    size_t at = 0;
    for (size_t index = 0; index < name.size(); ++index) {
        if (at >= pattern.size()) return false;
        const char wanted = pattern[at];
        if (wanted == '*') {
            if (index + 1 == name.size()) return true;
            continue;
        }
        if (wanted != '?' && wanted != name[index]) return false;
        ++at;
    }
    return at == pattern.size();
}
