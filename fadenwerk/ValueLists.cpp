// Value lists, number and character sets, and the small string tests.
#include "ValueLists.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <iterator>

#include "RandomSource.h"
#include "TextNumbers.h"
#include "Tokenizing.h"

namespace {

const char quoteCharacter = '"';

std::string WithoutSpaces(std::string s) {
    s.erase(std::remove(s.begin(), s.end(), ' '), s.end());
    return s;
}

// The comma-separated fields of s, runs of commas counting as one, with their
// quotes kept so that a later split at dashes still honours them.
std::vector<std::string> ListFields(const std::string& s) {
    std::vector<std::string> fields;
    std::string field;
    bool quoted = false;
    for (size_t index = 0; index < s.size(); ++index) {
        const char c = s[index];
        if (c == '\\' && index + 1 < s.size() && s[index + 1] == quoteCharacter) {
            field += s.substr(index++, 2);
            continue;
        }
        if (c == quoteCharacter) quoted = !quoted;
        if (c == ',' && !quoted) {
            if (!field.empty()) fields.push_back(field);
            field.clear();
            continue;
        }
        field += c;
    }
    if (!field.empty()) fields.push_back(field);
    return fields;
}

std::vector<std::string> Bounds(const std::string& field) {
    std::vector<std::string> bounds;
    QMTokenize(field, bounds, '-', true, quoteCharacter);
    return bounds;
}

// The field with its quotes resolved.
std::string Unquoted(const std::string& field) {
    std::vector<std::string> parts;
    QMTokenize(field, parts, '\0', true, quoteCharacter);
    return parts.empty() ? std::string() : parts[0];
}

bool NumberBound(const std::string& text, int& value) { return IsNumber(text) && ScanDecimal(text, value); }

bool TwoNumbers(const std::vector<std::string>& bounds, int& from, int& to) {
    return bounds.size() == 2 && NumberBound(bounds[0], from) && NumberBound(bounds[1], to);
}

long long RangeCount(long long from, long long to) { return to < from ? 0 : to - from + 1; }

// The three classes a wrapping character walk may run in, tried in this order.
struct CharacterClass {
    unsigned char first;
    unsigned char last;
};
const CharacterClass wrapClasses[] = {{'a', 'z'}, {'A', 'Z'}, {'0', '9'}};

// A character walk from c1 that runs against the direction of c2, wrapping
// inside the class of c1 and stopping after the wrap once it passes c2.
void WrappingWalk(unsigned char c1, unsigned char c2, int step, std::vector<unsigned char>& out) {
    const CharacterClass* found = nullptr;
    for (const CharacterClass& candidate : wrapClasses)
        if (c1 >= candidate.first && c1 <= candidate.last) found = &candidate;
    if (!found) return;
    const int length = found->last - found->first + 1;
    const bool upwards = step > 0;
    const long long magnitude = step < 0 ? -static_cast<long long>(step) : step;
    const int stride = static_cast<int>(std::max(1LL, magnitude) % length);
    int position = c1 - found->first;
    bool wrapped = false;
    for (;;) {
        const int character = found->first + position;
        if (wrapped && (upwards ? character > c2 : character < c2)) return;
        out.push_back(static_cast<unsigned char>(character));
        const int next = position + (upwards ? stride : -stride);
        if (next >= 0 && next < length && stride != 0) {
            position = next;
            continue;
        }
        if (wrapped) return;
        wrapped = true;
        position = (next % length + length) % length;
    }
}

std::vector<unsigned char> CharacterWalk(unsigned char c1, unsigned char c2, int step) {
    std::vector<unsigned char> out;
    if (c1 <= c2 && step >= 1) {
        for (long long c = c1; c <= c2; c += step) out.push_back(static_cast<unsigned char>(c));
    } else if ((c1 > c2 && step >= 0) || (c1 < c2 && step < 1)) {
        WrappingWalk(c1, c2, step, out);
    } else if (c1 >= c2 && step < 0) {
        for (long long c = c1; c >= c2; c += step) out.push_back(static_cast<unsigned char>(c));
    } else {
        out.push_back(c1);
    }
    return out;
}

// Numbers from a towards b by the step's magnitude (0 counts as 1).
bool NumberWalk(int from, int to, int step, std::vector<TExtractedValue>& out) {
    const long long stride = step == 0 ? 1 : (step < 0 ? -static_cast<long long>(step) : step);
    const long long distance = from < to ? static_cast<long long>(to) - from : static_cast<long long>(from) - to;
    if (distance / stride + 1 + static_cast<long long>(out.size()) > ValueListMaximumValues) return false;
    const long long direction = from <= to ? stride : -stride;
    for (long long n = from; direction > 0 ? n <= to : n >= to; n += direction)
        out.emplace_back(static_cast<int>(n), static_cast<int>(n));
    return true;
}

bool ExtractListField(const std::string& rawField, bool keepRanges, std::vector<TExtractedValue>& out) {
    std::string field = rawField;
    int step = 1;
    const size_t slash = field.find('/');
    if (slash != std::string::npos) {
        const std::string stepText = field.substr(slash + 1);
        if (IsNumber(stepText)) ScanDecimal(stepText, step);
        field.erase(slash);
    }
    const std::vector<std::string> bounds = Bounds(field);
    int from = 0;
    int to = 0;
    const bool numbers = TwoNumbers(bounds, from, to);
    if (numbers && step != 1) return NumberWalk(from, to, step, out);
    if (numbers && keepRanges) {
        out.emplace_back(from, to);
    } else if (bounds.size() == 2 && bounds[0].size() == 1 && bounds[1].size() == 1) {
        for (unsigned char c : CharacterWalk(bounds[0][0], bounds[1][0], step))
            out.emplace_back(std::string(1, static_cast<char>(c)));
    } else {
        out.emplace_back(Unquoted(field));
    }
    return static_cast<long long>(out.size()) <= ValueListMaximumValues;
}

bool ExtractList(const std::string& s, std::vector<TExtractedValue>& values, bool keepRanges) {
    std::vector<TExtractedValue> out;
    for (const std::string& field : ListFields(WithoutSpaces(s)))
        if (!ExtractListField(field, keepRanges, out)) return false;
    values.insert(values.end(), std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()));
    return true;
}

bool ByCharacterCode(char a, char b) { return static_cast<unsigned char>(a) < static_cast<unsigned char>(b); }

long long CappedFactorial(size_t n) {
    long long result = 1;
    for (size_t k = 2; k <= n && result <= ValueListMaximumValues; ++k) result *= static_cast<long long>(k);
    return std::min(result, ValueListMaximumValues);
}

bool Permutations(std::string text, long long count, bool hasCount, std::vector<TExtractedValue>& out) {
    if (!hasCount) count = CappedFactorial(text.size());
    out.reserve(static_cast<size_t>(std::max<long long>(count, 0)));
    for (long long index = 0; index < count; ++index) {
        out.emplace_back(text);
        std::next_permutation(text.begin(), text.end(), ByCharacterCode);
    }
    return true;
}

// Every number from..to once, in random order (each step picks among those left).
void ShuffledNumbers(int from, int to, std::vector<TExtractedValue>& out) {
    std::vector<int> left;
    for (long long n = from; n <= to; ++n) left.push_back(static_cast<int>(n));
    while (!left.empty()) {
        const size_t pick = static_cast<size_t>(NextRandom()) % left.size();
        out.emplace_back(DecimalText(left[pick]));
        left[pick] = left.back();
        left.pop_back();
    }
}

bool RandomNumbers(const std::string& inner, size_t dash, long long count, std::vector<TExtractedValue>& out) {
    int from = 0;
    int to = 0;
    if (!NumberBound(inner.substr(0, dash), from) || !NumberBound(inner.substr(dash + 1), to)) return true;
    const long long span = RangeCount(from, to);
    if ((count > 0 ? count : span) > ValueListMaximumValues) return false;
    if (count <= 0) {
        ShuffledNumbers(from, to, out);
        return true;
    }
    for (long long index = 0; index < count && span > 0; ++index)
        out.emplace_back(DecimalText(from + NextRandom() % span));
    return true;
}

// Weights of fields written "name:N%"; false when some field is not.
bool ReadWeights(const std::vector<std::string>& fields, std::vector<std::string>& names,
                 std::vector<long long>& runningSums) {
    long long total = 0;
    for (const std::string& field : fields) {
        const size_t colon = field.rfind(':');
        if (field.size() < 2 || field.back() != '%' || colon == std::string::npos) return false;
        const std::string weightText = field.substr(colon + 1, field.size() - colon - 2);
        int weight = 0;
        if (!NumberBound(weightText, weight)) return false;
        total += std::max(weight, 0);
        names.push_back(field.substr(0, colon));
        runningSums.push_back(total);
    }
    return true;
}

void WeightedPicks(const std::vector<std::string>& names, const std::vector<long long>& runningSums,
                   long long count, std::vector<TExtractedValue>& out) {
    const long long total = runningSums.back();
    for (long long index = 0; index < count; ++index) {
        // r * total / RandomMaximum, split so that the product cannot overflow.
        const long long r = NextRandom();
        const long long x = r * (total / RandomMaximum) + r * (total % RandomMaximum) / RandomMaximum;
        size_t chosen = names.size() - 1;
        for (size_t candidate = 0; candidate < runningSums.size(); ++candidate) {
            if (runningSums[candidate] <= x) continue;
            chosen = candidate;
            break;
        }
        out.emplace_back(names[chosen]);
    }
}

bool RandomFields(const std::string& inner, long long count, std::vector<TExtractedValue>& out) {
    std::vector<std::string> fields;
    QMTokenize(inner, fields, ',', true, quoteCharacter);
    if (fields.empty() || count > ValueListMaximumValues) return false;
    if (count <= 0) {
        while (!fields.empty()) {
            const size_t pick = static_cast<size_t>(NextRandom()) % fields.size();
            out.emplace_back(fields[pick]);
            fields[pick] = fields.back();
            fields.pop_back();
        }
        return true;
    }
    std::vector<std::string> names;
    std::vector<long long> runningSums;
    if (ReadWeights(fields, names, runningSums)) {
        WeightedPicks(names, runningSums, count, out);
        return true;
    }
    for (long long index = 0; index < count; ++index)
        out.emplace_back(fields[static_cast<size_t>(NextRandom()) % fields.size()]);
    return true;
}

bool ExtractGenerator(const std::string& s, size_t opening, size_t closing, std::vector<TExtractedValue>& values) {
    long long count = 0;
    bool hasCount = false;
    const size_t star = s.rfind('*');
    if (star != std::string::npos) {
        std::string countText = WithoutSpaces(s.substr(star + 1));
        if (!IsNumber(countText)) return false;
        int parsed = 0;
        hasCount = ScanDecimal(countText, parsed);
        count = parsed;
    }
    if (count > ValueListMaximumValues) return false;
    const std::string inner = s.substr(opening + 1, closing - opening - 1);
    std::vector<TExtractedValue> out;
    bool result;
    const size_t dash = inner.find('-', 1);
    if (s.find("perm") != std::string::npos) result = Permutations(inner, count, hasCount, out);
    else if (dash != std::string::npos) result = RandomNumbers(inner, dash, count, out);
    else result = RandomFields(inner, count, out);
    if (result) values.insert(values.end(), std::make_move_iterator(out.begin()), std::make_move_iterator(out.end()));
    return result;
}

}  // namespace

bool ExtractValues(const std::string& s, std::vector<TExtractedValue>& values, bool keepRanges) {
    const size_t randAt = s.find("rand");
    const size_t permAt = s.find("perm");
    const size_t opening = s.find('(');
    const size_t closing = s.rfind(')');
    const bool namedFirst = (randAt != std::string::npos && randAt < opening) ||
                            (permAt != std::string::npos && permAt < opening);
    if (namedFirst && opening != std::string::npos && closing != std::string::npos && opening < closing)
        return ExtractGenerator(s, opening, closing, values);
    return ExtractList(s, values, keepRanges);
}

bool UnfoldExtractedValues(std::vector<TExtractedValue>& values, std::vector<std::string>& texts) {
    long long total = 0;
    for (const TExtractedValue& value : values) total += value.isRange ? RangeCount(value.from, value.to) : 1;
    if (total > ValueListMaximumValues) return false;
    for (const TExtractedValue& value : values) {
        if (!value.isRange) {
            texts.push_back(value.text);
            continue;
        }
        for (long long n = value.from; n <= value.to; ++n) texts.push_back(DecimalText(n));
    }
    return true;
}

bool ExtractNumbers(const std::string& s, std::set<int>& numbers) {
    for (const std::string& field : ListFields(WithoutSpaces(s))) {
        const std::vector<std::string> bounds = Bounds(field);
        int from = 0;
        int to = 0;
        if (bounds.size() == 1 && NumberBound(bounds[0], from)) numbers.insert(from);
        if (!TwoNumbers(bounds, from, to)) continue;
        if (RangeCount(from, to) > ValueListMaximumValues) return false;
        for (long long n = from; n <= to; ++n) numbers.insert(static_cast<int>(n));
    }
    return true;
}

void ExtractNumbers(const std::string& s, std::vector<int>& numbers) {
    numbers.clear();
    for (const std::string& field : ListFields(WithoutSpaces(s))) {
        const std::vector<std::string> bounds = Bounds(field);
        int value = 0;
        if (bounds.size() == 1 && NumberBound(bounds[0], value)) numbers.push_back(value);
    }
}

namespace {

// Character classes by name, with the ranges they hold.
struct NamedClass {
    const char* name;
    const char* ranges;  // pairs of first and last characters
};
const NamedClass namedClasses[] = {
    {"digit", "09"}, {"upper", "AZ"},       {"lower", "az"},   {"alpha", "azAZ"},
    {"alnum", "azAZ09"}, {"xdigit", "09AF"}, {"space", "  \t\t\r\r\n\n\v\v\f\f"},
};

const NamedClass* ClassNamed(std::string field) {
    if (field.size() > 2 && field.front() == ':' && field.back() == ':') field = field.substr(1, field.size() - 2);
    for (const NamedClass& named : namedClasses)
        if (field == named.name) return &named;
    return nullptr;
}

template <class Add>
void ForEachCharacter(const std::string& s, Add add) {
    const std::string text = WithoutSpaces(s);
    if (text == "-") {
        add('-');
        return;
    }
    for (const std::string& field : ListFields(text)) {
        if (const NamedClass* named = ClassNamed(field)) {
            for (const char* range = named->ranges; range[0] && range[1]; range += 2)
                for (int c = static_cast<unsigned char>(range[0]); c <= static_cast<unsigned char>(range[1]); ++c)
                    add(static_cast<char>(c));
            continue;
        }
        const std::vector<std::string> bounds = Bounds(field);
        if (bounds.size() == 1 && bounds[0].size() == 1) add(bounds[0][0]);
        if (bounds.size() != 2 || bounds[0].size() != 1 || bounds[1].size() != 1) continue;
        for (int c = static_cast<unsigned char>(bounds[0][0]); c <= static_cast<unsigned char>(bounds[1][0]); ++c)
            add(static_cast<char>(c));
    }
}

}  // namespace

void ExtractChars(const std::string& s, std::set<char>& chars) {
    ForEachCharacter(s, [&chars](char c) { chars.insert(c); });
}

void ExtractChars(const std::string& s, std::vector<char>& chars) {
    ForEachCharacter(s, [&chars](char c) { chars.push_back(c); });
}

bool ExtractStrings(const std::string& s, std::vector<std::string>& texts, bool expandRanges) {
    for (const std::string& field : ListFields(WithoutSpaces(s))) {
        int from = 0;
        int to = 0;
        if (!expandRanges || !TwoNumbers(Bounds(field), from, to)) {
            texts.push_back(Unquoted(field));
            continue;
        }
        if (RangeCount(from, to) > ValueListMaximumValues) return false;
        for (long long n = from; n <= to; ++n) texts.push_back(DecimalText(n));
    }
    return true;
}

std::string StringReplace(const std::string& s, const std::string& from, const std::string& to) {
    if (from.empty()) return s;
    std::string result;
    size_t index = 0;
    for (size_t found = s.find(from); found != std::string::npos; found = s.find(from, index)) {
        result.append(s, index, found - index);
        result += to;
        index = found + from.size();
    }
    result.append(s, index, std::string::npos);
    return result;
}

bool IsNumber(const std::string& s) {
    const size_t start = (!s.empty() && s[0] == '-') ? 1 : 0;
    return s.find_first_not_of("0123456789", start) == std::string::npos;
}

namespace {

// The case of the first ASCII letter: 1 upper, -1 lower, 0 none.
int FirstLetterCase(const std::string& s) {
    for (const char c : s) {
        if (c >= 'A' && c <= 'Z') return 1;
        if (c >= 'a' && c <= 'z') return -1;
    }
    return 0;
}

}  // namespace

bool IsUpperCase(const std::string& s) { return FirstLetterCase(s) >= 0; }

bool IsLowerCase(const std::string& s) { return FirstLetterCase(s) <= 0; }
