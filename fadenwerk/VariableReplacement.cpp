// Expansion of $(name) and %name% references and the RAND(list) pick.
#include "VariableReplacement.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "RandomSource.h"
#include "TextNumbers.h"
#include "Tokenizing.h"

extern char** environ;

namespace {

// Matching closing parenthesis of every '(' in s, found once with a stack so
// that unclosed or deeply nested references cost no rescans.
class ParenthesisPairs {
public:
    explicit ParenthesisPairs(const std::string& s) {
        std::vector<size_t> open;
        for (size_t index = s.find_first_of("()"); index != std::string::npos;
             index = s.find_first_of("()", index + 1)) {
            if (s[index] == '(') {
                open.push_back(fOpenings.size());
                fOpenings.push_back(index);
                fClosings.push_back(std::string::npos);
            } else if (!open.empty()) {
                fClosings[open.back()] = index;
                open.pop_back();
            }
        }
    }
    // The closing parenthesis of the '(' at `opening`, or npos.
    size_t ClosingOf(size_t opening) {
        while (fCursor < fOpenings.size() && fOpenings[fCursor] < opening) ++fCursor;
        if (fCursor < fOpenings.size() && fOpenings[fCursor] == opening) return fClosings[fCursor];
        return std::string::npos;
    }

private:
    std::vector<size_t> fOpenings;
    std::vector<size_t> fClosings;
    size_t fCursor = 0;  // references are met left to right
};

struct Reference {
    std::string name;
    int width = 0;
    char fill = ' ';
    int repeat = 1;
};

// Splits the trimmed reference text into name, width, fill and repeat count.
Reference ParseReference(std::string text) {
    Reference reference;
    const size_t star = text.rfind('*');
    if (star != std::string::npos) {
        ScanDecimal(text.c_str() + star + 1, reference.repeat);
        text.erase(star);
    }
    const size_t colon = text.find(':');
    if (colon != std::string::npos) {
        std::string widthPart = text.substr(colon + 1);
        const size_t at = widthPart.find('@');
        if (at != std::string::npos) {
            if (at + 1 < widthPart.size()) reference.fill = widthPart[at + 1];
            widthPart.erase(at);
        }
        ScanDecimal(widthPart, reference.width);
        text.erase(colon);
    }
    reference.name = text;
    return reference;
}

// A text a-b whose sides are numbers (digits after an optional '-').
bool IsDecimalNumber(const std::string& text) {
    const size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (start >= text.size()) return false;
    return text.find_first_not_of("0123456789", start) == std::string::npos;
}

struct NumberRange {
    long long from;
    long long to;
    long long Count() const { return to < from ? 0 : to - from + 1; }
};

bool ReadRange(const std::string& field, NumberRange& range) {
    const size_t dash = field.find('-', 1);
    if (dash == std::string::npos) return false;
    const std::string left = field.substr(0, dash);
    const std::string right = field.substr(dash + 1);
    if (!IsDecimalNumber(left) || !IsDecimalNumber(right)) return false;
    int from = 0;
    int to = 0;
    ScanDecimal(left, from);
    ScanDecimal(right, to);
    range = NumberRange{from, to};
    return true;
}

// Candidate number `index` (0-based) across the ranges in field order.
long long CandidateAt(const std::vector<NumberRange>& ranges, long long index) {
    for (const NumberRange& range : ranges) {
        if (index < range.Count()) return range.from + index;
        index -= range.Count();
    }
    return 0;
}

// The value of "RAND(list)": a number of a range, a number of several ranges,
// or one of the fields as written. An empty range (b < a) gives nothing.
std::string RandomPick(const std::string& name) {
    const size_t closing = name.rfind(')');
    const bool closed = closing != std::string::npos && closing >= 5;
    const std::string list = name.substr(5, closed ? closing - 5 : std::string::npos);
    if (list.empty()) return std::string();
    std::vector<std::string> fields;
    Tokenize(list, fields, ',', false, false);
    std::vector<NumberRange> ranges;
    long long candidates = 0;
    for (const std::string& field : fields) {
        NumberRange range;
        if (!ReadRange(field, range)) break;
        ranges.push_back(range);
        candidates += range.Count();
    }
    const bool allRanges = ranges.size() == fields.size();
    if (closed && fields.size() == 1 && allRanges) {
        if (candidates == 0) return std::string();
        return DecimalText(ranges[0].from + NextRandom() % candidates);
    }
    if (fields.size() > 1 && allRanges) {
        if (candidates == 0) return std::string();
        return DecimalText(CandidateAt(ranges, NextRandom() % candidates));
    }
    if (fields.empty()) return std::string();
    return fields[static_cast<size_t>(NextRandom()) % fields.size()];
}

// Applies width and fill; false when the result would be too long.
bool ApplyWidth(std::string& value, const Reference& reference) {
    if (reference.width == 0) return true;
    const long long width = reference.width < 0 ? -static_cast<long long>(reference.width) : reference.width;
    if (static_cast<unsigned long long>(width) > ReplaceVarsMaximumExpansion) return false;
    const size_t size = static_cast<size_t>(width);
    if (value.size() >= size) {
        value.resize(size);
    } else if (reference.width > 0) {
        value.append(size - value.size(), reference.fill);
    } else {
        value.insert(0, size - value.size(), reference.fill);
    }
    return true;
}

// Expands the reference text; false when it stays as written. The output
// may not grow past `limit` characters.
bool ExpandReference(const std::string& text, TReplaceVarsLookup lookup, void* context, std::string& output,
                     size_t limit) {
    const Reference reference = ParseReference(text);
    bool found = true;
    std::string value;
    if (reference.name.compare(0, 5, "RAND(") == 0) {
        value = RandomPick(reference.name);
    } else {
        value = lookup(reference.name, context, found);
    }
    if (!found || !ApplyWidth(value, reference)) return false;
    // An empty value gives nothing however often it is repeated, so a huge
    // count of it costs nothing.
    if (reference.repeat <= 0 || value.empty()) return true;
    const unsigned long long total = static_cast<unsigned long long>(value.size()) * reference.repeat;
    if (total > ReplaceVarsMaximumExpansion || output.size() + total > limit) return false;
    for (int copy = 0; copy < reference.repeat; ++copy) output += value;
    return true;
}

// Position of the '(' that opens a reference at the '$' at `dollar`, or npos.
size_t OpeningAfter(const std::string& s, size_t dollar) {
    size_t index = dollar + 1;
    while (index < s.size() && s[index] == ' ') ++index;
    return index < s.size() && s[index] == '(' ? index : std::string::npos;
}

std::string LookupInMaps(const std::vector<const TStringMap*>& maps, const std::string& name, bool& found) {
    for (const TStringMap* map : maps) {
        if (!map) continue;
        const auto entry = map->find(name);
        if (entry == map->end()) continue;
        found = true;
        return entry->second;
    }
    found = false;
    return std::string();
}

std::string MapListLookup(const std::string& name, void* context, bool& found) {
    return LookupInMaps(*static_cast<const std::vector<const TStringMap*>*>(context), name, found);
}

std::string EnvironmentLookup(const std::string& name, void* context, bool& found) {
    const char* value = std::getenv(name.c_str());
    found = value != nullptr;
    if (found) return value;
    if (context) return LookupInMaps({static_cast<const TStringMap*>(context)}, name, found);
    return std::string();
}

std::string ReplaceFromMaps(const std::string& s, std::vector<const TStringMap*> maps) {
    return ReplaceVars(s, MapListLookup, &maps);
}

}  // namespace

std::string ReplaceVars(const std::string& s, TReplaceVarsLookup lookup, void* context) {
    std::string output;
    output.reserve(s.size());
    // The references together produce at most the maximum expansion.
    const size_t limit = s.size() + ReplaceVarsMaximumExpansion;
    ParenthesisPairs pairs(s);
    size_t index = 0;
    while (index < s.size()) {
        const size_t dollar = s.find('$', index);
        if (dollar == std::string::npos) break;
        output.append(s, index, dollar - index);
        index = dollar + 1;
        const size_t opening = OpeningAfter(s, dollar);
        const size_t closing = opening == std::string::npos ? opening : pairs.ClosingOf(opening);
        if (closing != std::string::npos) {
            const std::string text = TrimSpaces(s.substr(opening + 1, closing - opening - 1));
            if (!text.empty() && ExpandReference(text, lookup, context, output, limit)) {
                index = closing + 1;
                continue;
            }
        }
        output += '$';
    }
    if (index < s.size()) output.append(s, index, std::string::npos);
    return output;
}

std::string ReplaceVars(const std::string& s, const TStringMap& vars) { return ReplaceFromMaps(s, {&vars}); }

std::string ReplaceVars(const std::string& s, const TStringMap& a, const TStringMap& b) {
    return ReplaceFromMaps(s, {&a, &b});
}

std::string ReplaceVars(const std::string& s, const TStringMap& a, const TStringMap& b, const TStringMap& c) {
    return ReplaceFromMaps(s, {&a, &b, &c});
}

std::string ReplaceVars(const std::string& s, const std::vector<TStringMap*>& maps) {
    return ReplaceFromMaps(s, std::vector<const TStringMap*>(maps.begin(), maps.end()));
}

std::string ReplaceEnvVars(const std::string& s) { return ReplaceVars(s, EnvironmentLookup, nullptr); }

std::string ReplaceEnvVars(const std::string& s, const TStringMap& vars) {
    return ReplaceVars(s, EnvironmentLookup, const_cast<TStringMap*>(&vars));
}

std::string ReplacePlatformVars(const std::string& s, const TStringMap& vars) {
    std::string output;
    output.reserve(s.size());
    size_t index = 0;
    while (index < s.size()) {
        const size_t opening = s.find('%', index);
        const size_t closing = opening == std::string::npos ? opening : s.find('%', opening + 1);
        if (closing == std::string::npos) break;
        output.append(s, index, opening - index);
        const auto entry = vars.find(s.substr(opening + 1, closing - opening - 1));
        if (entry != vars.end()) output += entry->second;
        else output.append(s, opening, closing - opening + 1);
        index = closing + 1;
    }
    output.append(s, index, std::string::npos);
    return output;
}

std::string ReplacePlatformEnvVars(const std::string& s) {
    TStringMap vars;
    GetEnvVars(vars);
    return ReplacePlatformVars(s, vars);
}

void GetEnvVars(TStringMap& vars) {
    for (char** entry = environ; entry && *entry; ++entry) {
        const char* equals = std::strchr(*entry, '=');
        if (!equals) vars[*entry] = std::string();
        else vars[std::string(*entry, static_cast<size_t>(equals - *entry))] = equals + 1;
    }
}
