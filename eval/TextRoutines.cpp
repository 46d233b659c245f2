// Text routines shared by the text built-ins: tokens, words, separator classes, dotted fields, tabs, file loading.
#include "TextRoutines.h"

#include <algorithm>
#include <cstring>

#include "EvaluateEngine.h"
#include "StackRoutines.h"

namespace {

// Token m (from 0) of text read from the start; false when it does not exist.
bool TokenFromStart(const TString& text, char separator, int64_t m, TString& out) {
    const int length = text.Length();
    int start = 0;
    for (int64_t passed = 0; passed < m; ++passed) {
        const int found = text.Pos(separator, start);
        if (found < 0) return false;
        start = found + 1;
    }
    int end = text.Pos(separator, start);
    if (end < 0) end = length;
    out = text.Substring(start, end - 1);
    return true;
}

// ORDER: the classes are replaced in this order, so a class name inside the
// characters of an earlier one would be expanded too (none is).
struct TCharacterClass {
    const char* name;
    const char* characters;
};
const TCharacterClass kCharacterClasses[] = {
    {"[:digit:]", "0123456789"},
    {"[:space:]", " \t\r\n\v\f"},
    {"[:alpha:]", "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {"[:blank:]", " \t"},
    {"[:alnum:]", "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"},
    {"[:lower:]", "abcdefghijklmnopqrstuvwxyz"},
    {"[:upper:]", "ABCDEFGHIJKLMNOPQRSTUVWXYZ"},
    {"[:punct:]", "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~"},
    {"[:xdigit:]", "0123456789abcdefABCDEF"},
};

bool IsSeparatorByte(const TSeparatorFlags& flags, char c) { return flags[static_cast<unsigned char>(c)]; }

int NormalTabWidth(int width) { return width < 1 ? 4 : width; }

void ContractLeadingRun(const TString& text, int width, char c, TStringBuffer& work) {
    int restStart = 0;
    int run = 0;
    for (int position = 0; position < text.Length() && text[position] == c; ++position) {
        ++run;
        if (run % width != 0) continue;
        // Only width 1 completes a stop at position 0; that first c stays a c.
        work.Append(position == 0 ? c : '\t');
        run = 0;
        restStart = position + 1;
    }
    work.Append(text.c_str() + restStart, text.Length() - restStart);
}

void ContractEveryRun(const TString& text, int width, char c, TStringBuffer& work) {
    int64_t column = 0;
    bool quoted = false;
    for (int position = 0; position < text.Length(); ++position) {
        const char current = text[position];
        if (current == '"') quoted = !quoted;
        work.Append(current);
        column = current == '\t' ? (column / width + 1) * width : column + 1;
        if (column % width != 0 || quoted) continue;
        int removed = 0;
        while (work.Length() > 0 && work.LastChar() == c) removed += work.RemoveLast(1);
        if (removed > 0) work.Append('\t');
    }
}

}  // namespace

void ExtractToken(TString& out, const TString& text, char separator, int32_t n) {
    if (n >= 0) {
        TokenFromStart(text, separator, n, out);
        return;
    }
    // Counting from the end is counting from the start of the reversed text.
    TString reversed = text;
    reversed.Rev();
    TString token;
    if (TokenFromStart(reversed, separator, -static_cast<int64_t>(n) - 1, token)) out = token.Rev();
}

void SplitDottedText(const TString& text, TStringContainer& pieces) {
    int start = 0;
    for (int i = 0; i < text.Length(); ++i) {
        if (text[i] != '.' && text[i] != ':') continue;
        pieces.Add(text.Substring(start, i - 1));
        start = i + 1;
    }
    if (start < text.Length()) pieces.Add(text.Substring(start, text.Length() - 1));
}

TSeparatorFlags WordSeparatorFlags(const TEvalStack& stack) {
    TSeparatorFlags flags{};
    for (int c = 0; c < 256; ++c) flags[static_cast<size_t>(c)] = stack.IsWordSeparator(static_cast<unsigned char>(c));
    return flags;
}

TSeparatorFlags FixedSeparatorFlags(const TEvalStack& stack) {
    TSeparatorFlags flags{};
    for (int c = 0; c < 256; ++c) flags[static_cast<size_t>(c)] = stack.IsSeparator(static_cast<unsigned char>(c));
    return flags;
}

char FirstCharacterOr(const TString& text, char fallback) { return text.IsEmpty() ? fallback : text[0]; }

namespace {

// Item n of text found by find (start, end; both the length when there is
// none); a negative n is item -1-n of the reversed text, mapped back.
template <typename TFind>
bool LocateFromEitherEnd(const TString& text, int32_t n, TFind find, int& start, int& end) {
    const int length = text.Length();
    if (n >= 0) {
        find(text.c_str(), n, start, end);
        return start < length;
    }
    TString reversed = text;
    reversed.Rev();
    int reversedStart = 0;
    int reversedEnd = 0;
    find(reversed.c_str(), -1 - n, reversedStart, reversedEnd);
    if (reversedStart >= length) {
        start = end = length;
        return false;
    }
    start = length - reversedEnd;
    end = length - reversedStart;
    return true;
}

}  // namespace

bool LocateToken(const TString& text, char separator, int32_t n, int& start, int& end) {
    const auto find = [separator](const char* t, int k, int& s, int& e) { FindToken(t, k, separator, s, e); };
    return LocateFromEitherEnd(text, n, find, start, end);
}

bool LocateWord(const TString& text, const TSeparatorFlags& flags, int32_t n, int& start, int& end) {
    const auto find = [&flags](const char* t, int k, int& s, int& e) { FindWord(t, k, flags, s, e); };
    return LocateFromEitherEnd(text, n, find, start, end);
}

void VisitedTokens(const TString& text, char separator, std::vector<TString>& tokens) {
    const int length = text.Length();
    for (int start = 0; start < length;) {
        int end = text.Pos(separator, start);
        if (end < 0) end = length;
        tokens.push_back(text.Substring(start, end - 1));
        start = end + 1;
    }
}

int WordCount(const TString& text, const TSeparatorFlags& flags) {
    int count = 0;
    bool inWord = false;
    for (int i = 0; i < text.Length(); ++i) {
        const bool separator = IsSeparatorByte(flags, text[i]);
        if (!separator && !inWord) ++count;
        inWord = !separator;
    }
    return count;
}

void FindWord(const char* text, int n, const TSeparatorFlags& flags, int& start, int& end) {
    const int length = text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
    start = end = length;
    if (n < 0) return;
    int position = 0;
    for (int word = 0;; ++word) {
        while (position < length && IsSeparatorByte(flags, text[position])) ++position;
        if (position >= length) return;
        const int wordStart = position;
        while (position < length && !IsSeparatorByte(flags, text[position])) ++position;
        if (word == n) {
            start = wordStart;
            end = position;
            return;
        }
    }
}

void ExtractWord(const TString& text, int n, const TSeparatorFlags& flags, TString& out) {
    int start = 0;
    int end = 0;
    FindWord(text.c_str(), n, flags, start, end);
    if (start < text.Length()) out = text.Substring(start, end - 1);
}

void SetWordSeparators(const TString& definition, TEvalStack& stack) {
    TString expanded = definition;
    for (const TCharacterClass& characterClass : kCharacterClasses) {
        TString replaced;
        expanded.ReplaceAll(characterClass.name, characterClass.characters, replaced);
        expanded = replaced;
    }
    stack.ClearWordSeparators();
    for (int i = 0; i < expanded.Length(); ++i) stack.SetWordSeparator(static_cast<unsigned char>(expanded[i]), true);
}

void JoinSegments(const char* text, const int* segments, int n, TString& out, char separator) {
    out.Clear();
    const int length = text != nullptr ? static_cast<int>(std::strlen(text)) : 0;
    for (int k = 0; k < n; ++k) {
        if (k > 0) out += separator;
        const int start = std::clamp(segments[2 * k], 0, length);
        const int end = std::clamp(segments[2 * k + 1], start, length);
        out += TString(text + start, end - start);
    }
}

int CompareInts(const void* first, const void* second) {
    const int32_t a = *static_cast<const int32_t*>(first);
    const int32_t b = *static_cast<const int32_t*>(second);
    return (a > b) - (a < b);
}

void EvalReplaceTabs(TString& text, int width, char fill, TStringBuffer& work) {
    width = NormalTabWidth(width);
    work.Reset();
    int64_t column = 0;
    for (int i = 0; i < text.Length(); ++i) {
        if (text[i] != '\t') {
            work.Append(text[i]);
            ++column;
            continue;
        }
        const int fillCount = width - static_cast<int>(column % width);
        for (int k = 0; k < fillCount; ++k) work.Append(fill);
        column += fillCount;
    }
    text = TString(work.c_str(), work.Length());
}

void EvalReplaceCharsWithTabs(TString& text, int width, char c, bool leadingOnly, TStringBuffer& work) {
    width = NormalTabWidth(width);
    work.Reset();
    if (leadingOnly)
        ContractLeadingRun(text, width, c, work);
    else
        ContractEveryRun(text, width, c, work);
    text = TString(work.c_str(), work.Length());
}

void AppendLineCallback(const TString& line, int, void* context) {
    TAppendLineContext& append = *static_cast<TAppendLineContext*>(context);
    if (append.count > 0) *append.text += append.separator;
    ++append.count;
    *append.text += line;
}

void AppendArrayItemCallback(const TString& line, int, void* context) {
    TVariable& array = *static_cast<TVariable*>(context);
    // Only string items can hold a line.
    if (array.type != vtArray || array.value.a.itemtype != vtString) return;
    const int count = array.value.a.count;
    if (array.Resize(count + 1, false) == nullptr) return;
    *static_cast<TString*>(array.GetItem(count)) = line;
}

void LoadFileInto(const TBuiltinCall& call, EXPRESSION_ITEM& result) {
    result.value.integer = 0;
    TVariable* target = call.Variable(2);
    if (target == nullptr) return;
    const TString& separators = call.Text(1);
    TAppendLineContext lineContext{target->value.s, separators.IsEmpty() ? ',' : separators[0], 0};
    const bool toText = target->type == vtString && target->value.s != nullptr;
    const bool toArray = target->type == vtArray && target->value.a.itemtype == vtString;
    if (!toText && !toArray) return;
    const int before = toArray ? target->value.a.count : 0;
    bool read = true;
    try {
        TStringContainer lines;
        if (toText)
            lines.ReadFromFileCallback(call.Text(0), nullptr, &lineContext, AppendLineCallback);
        else
            lines.ReadFromFileCallback(call.Text(0), nullptr, target, AppendArrayItemCallback);
    } catch (...) {
        read = false;  // a missing or unreadable file; lines already stored stay
    }
    if (toArray && target->value.a.count > before) target->ArrayResized();
    if (read) result.value.integer = toText ? lineContext.count : target->value.a.count - before;
}

TBuiltinBodyRows TextRoutineBuiltinBodies() {
    static const TBuiltinBodyRow rows[] = {{89, LoadFileInto}};
    return RowsOf(rows);
}

namespace {

// Evaluates the expression of a walk with the current item stored.
EXPRVALUE EvaluateForItem(const TString& item, TString* itemText, EXPRESSION* expression, TEvalStack* stack,
                          TVariableList* vars, int64_t* index) {
    *itemText = item;
    EXPRVALUE value = EvaluateExpression(*vars, *expression, *stack, false, nullptr);
    ++*index;
    return value;
}

bool IsInteger(const EXPRVALUE& value, int64_t wanted) {
    return value.kind == ekInteger && value.value.integer == wanted;
}

}  // namespace

void TokenPredicateCallback(const TString& token, bool& stop, void* context) {
    TTokenPredicateContext& walk = *static_cast<TTokenPredicateContext*>(context);
    const EXPRVALUE value = EvaluateForItem(token, walk.itemText, walk.predicate, walk.stack, walk.vars, walk.index);
    const bool any = walk.position == 137 || walk.position == 140;
    const bool all = walk.position == 138 || walk.position == 141;
    if (any && IsInteger(value, 1)) {
        walk.result = 1;
        stop = true;
    } else if (all && IsInteger(value, 0)) {
        walk.result = 0;
        stop = true;
    } else if (!any && !all && IsInteger(value, 1)) {
        walk.result = 0;
        stop = true;
    }
}

void TokenConvertCallback(const TString& token, bool&, void* context) {
    TConvertContext& walk = *static_cast<TConvertContext*>(context);
    const int64_t before = *walk.index;
    const EXPRVALUE value = EvaluateForItem(token, walk.itemText, walk.expression, walk.stack, walk.vars, walk.index);
    if (before > 0) *walk.output += walk.separator;
    if (value.kind == ekOwnedText) *walk.output += value.text;
}

void WordConvertCallback(const TString& word, bool&, void* context) {
    TConvertContext& walk = *static_cast<TConvertContext*>(context);
    const EXPRVALUE value = EvaluateForItem(word, walk.itemText, walk.expression, walk.stack, walk.vars, walk.index);
    if (value.kind == ekOwnedText) *walk.output += value.text;
}

void CopySeparatorCallback(int position, bool&, void* context) {
    TConvertContext& walk = *static_cast<TConvertContext*>(context);
    if (walk.source != nullptr && position >= 0 && position < static_cast<int>(std::strlen(walk.source)))
        *walk.output += walk.source[position];
}
