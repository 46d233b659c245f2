// Variable definitions from text: parsing the definition and making its variables.
#include "VariableDefinitions.h"

#include <cstdio>
#include <vector>

namespace {

// A definition taken apart.
struct TDefinition {
    std::vector<TString> names;
    TString namesText;  // NAMES without its brackets
    TString typeWord;
    int sizeCount = 0;  // numbers inside the type's brackets: 0 none, 1 or 2
    bool isArray = false;
    int lines = 0;
    int cols = 0;
    TString value;
    bool hasList = false;
    std::vector<TString> tokens;
};

TString Trimmed(TString text) { return text.Trim(' '); }

bool IsBracketed(const TString& text, char open, char close) {
    return text.Length() >= 2 && text[0] == open && text[text.Length() - 1] == close;
}

TString Inside(const TString& text) { return text.Substring(1, text.Length() - 2); }

std::vector<TString> SplitTrimmed(const TString& text, bool topLevel) {
    TStringContainer pieces;
    text.GetTokens(',', topLevel, pieces);
    std::vector<TString> result;
    for (int i = 0; i < pieces.GetCount(); ++i) result.push_back(Trimmed(pieces[i]));
    return result;
}

// Only decimal digits with an optional leading '-'; "" passes and reads as 0.
bool ReadSize(const TString& text, int& size) {
    size = 0;
    for (int i = 0; i < text.Length(); ++i)
        if (!(text[i] >= '0' && text[i] <= '9') && !(i == 0 && text[i] == '-')) return false;
    if (text.IsEmpty() || text == TString("-")) return true;
    return EvalParseInt(text.c_str(), size);
}

bool ParseNames(const TString& text, TDefinition& d) {
    if (IsBracketed(text, '[', ']')) {
        d.namesText = Trimmed(Inside(text));
        d.names = SplitTrimmed(d.namesText, false);
    } else {
        d.namesText = text;
        d.names.push_back(text);
    }
    if (d.names.empty()) return false;
    for (const TString& name : d.names)
        if (name.IsEmpty()) return false;
    return true;
}

bool ParseType(const TString& text, TDefinition& d) {
    const int open = text.Pos('[');
    if (open < 0) {
        d.typeWord = text;
        return true;
    }
    if (text[text.Length() - 1] != ']') return false;
    d.isArray = true;
    d.typeWord = Trimmed(text.Left(open));
    const TString sizes = Trimmed(text.Substring(open + 1, text.Length() - 2));
    if (sizes.IsEmpty()) {
        d.sizeCount = 1;
        d.lines = 10;
        return true;
    }
    const std::vector<TString> parts = SplitTrimmed(sizes, false);
    if (parts.size() > 2) return false;
    d.sizeCount = static_cast<int>(parts.size());
    if (!ReadSize(parts[0], d.lines)) return false;
    return d.sizeCount == 1 || ReadSize(parts[1], d.cols);
}

bool UsesTopLevelTokens(const TString& typeWord) {
    return typeWord == TString("string") || typeWord == TString("point") || typeWord == TString("complex");
}

bool Parse(const TString& text, TDefinition& d) {
    const int less = text.Pos('<');
    const int greater = text.Pos('>');
    if (less < 0 || greater < 0 || greater < less) return false;
    if (!ParseNames(Trimmed(text.Left(less)), d)) return false;
    if (!ParseType(Trimmed(text.Substring(less + 1, greater - 1)), d)) return false;
    const TString rest = text.Substring(greater + 1, text.Length() - 1);
    const int equals = rest.Pos('=');
    if (equals >= 0) d.value = Trimmed(rest.Substring(equals + 1, rest.Length() - 1));
    if (IsBracketed(d.value, '[', ']')) {
        d.hasList = true;
        d.tokens = SplitTrimmed(Inside(d.value), UsesTopLevelTokens(d.typeWord));
    }
    return true;
}

// Token k of the value list, or the whole value when there is no list.
bool ValueFor(const TDefinition& d, size_t k, TString& text) {
    if (!d.hasList) {
        text = d.value;
        return true;
    }
    if (k >= d.tokens.size()) return false;
    text = d.tokens[k];
    return true;
}

double ReadDouble(const TString& text) {
    double value = 0;
    if (std::sscanf(text.c_str(), "%lf", &value) != 1) value = 0;
    return value;
}

TString Unquoted(TString text) { return text.Trim('\''); }

// "{a, b}" into its two trimmed parts; false when malformed.
bool SplitPair(const TString& text, TString& first, TString& second) {
    if (text.Length() < 5 || !IsBracketed(text, '{', '}')) return false;
    const TString inside = Inside(text);
    const int comma = inside.Pos(',');
    if (comma < 0) return false;
    first = Trimmed(inside.Left(comma));
    second = Trimmed(inside.Substring(comma + 1, inside.Length() - 1));
    return true;
}

// Text between the first "{" and the following "}", split at its first ",".
bool SplitBracedItem(const TString& text, TString& first, TString& second) {
    const int open = text.Pos('{');
    const int close = open < 0 ? -1 : text.Pos('}', open);
    if (close < 0) return false;
    const TString inside = text.Substring(open + 1, close - 1);
    const int comma = inside.Pos(',');
    first = Trimmed(comma < 0 ? inside : inside.Left(comma));
    second = comma < 0 ? TString() : Trimmed(inside.Substring(comma + 1, inside.Length() - 1));
    return true;
}

bool ReadPoint(const TString& first, const TString& second, VPOINT& p) {
    return EvalParseInt(first.c_str(), p.x) && EvalParseInt(second.c_str(), p.y);
}

void RemoveFrom(TVariableList& list, int count) {
    while (list.GetCount() > count) list.DeleteLast(true);
}

// ---- scalars, one variable per name

bool DefineInts(const TDefinition& d, TVariableList& list) {
    const int before = list.GetCount();
    for (size_t k = 0; k < d.names.size(); ++k) {
        int64_t* v = list.NewInt(d.names[k], false, 0);
        TString text;
        if (!ValueFor(d, k, text) || !EvalParseInt(text.c_str(), *v)) {
            RemoveFrom(list, before);
            return false;
        }
    }
    return true;
}

bool DefineDoubles(const TDefinition& d, TVariableList& list) {
    for (size_t k = 0; k < d.names.size(); ++k) {
        double* v = list.NewDouble(d.names[k], false, 0);
        TString text;
        if (d.hasList && k < d.tokens.size())
            text = d.tokens[k];
        else
            text = d.value;
        *v = ReadDouble(text);
    }
    return true;
}

bool DefineStrings(const TDefinition& d, TVariableList& list) {
    for (size_t k = 0; k < d.names.size(); ++k) {
        TString text;
        ValueFor(d, k, text);
        list.NewString(d.names[k], false, Unquoted(text));
    }
    return true;
}

bool DefinePairs(const TDefinition& d, TVariableList& list, TVariableType type) {
    for (size_t k = 0; k < d.names.size(); ++k) {
        TVariable* v = list.NewVar(d.names[k], type, false);
        TString text = d.hasList && k < d.tokens.size() ? d.tokens[k] : d.value;
        if (text.IsEmpty()) continue;
        TString first, second;
        bool ok = SplitPair(text, first, second);
        if (ok && type == vtPoint)
            ok = ReadPoint(first, second, v->value.p);
        else if (ok)
            v->value.c = VCOMPLEX{ReadDouble(first), ReadDouble(second)};
        if (!ok) {
            list.DeleteVar(v);
            return false;
        }
    }
    return true;
}

// ---- arrays, one 1-D array per name

// Fills item i from token i; false when a token does not read.
bool FillItem(TVariable& v, TVariableType itemtype, int i, const TString& token) {
    void* item = v.GetItem(i);
    TString first, second;
    switch (itemtype) {
        case vtInt:
            return EvalParseInt(token.c_str(), *static_cast<int64_t*>(item));
        case vtDouble:
            *static_cast<double*>(item) = ReadDouble(token);
            return true;
        case vtString:
            *static_cast<TString*>(item) = Unquoted(token);
            return true;
        case vtPoint:
            return SplitBracedItem(token, first, second) && ReadPoint(first, second, *static_cast<VPOINT*>(item));
        case vtComplex:
            if (!SplitBracedItem(token, first, second)) return false;
            *static_cast<VCOMPLEX*>(item) = VCOMPLEX{ReadDouble(first), ReadDouble(second)};
            return true;
        default:
            return false;
    }
}

bool DefineArrays(const TDefinition& d, TVariableList& list, TVariableType itemtype) {
    for (const TString& name : d.names) {
        list.NewArray(name, itemtype, false);
        TVariable* v = list.Last();
        if (!d.hasList) continue;
        const int n = static_cast<int>(d.tokens.size());
        bool ok = n == 0 || v->Resize(n, true) != nullptr;
        if (n == 0) v->Resize(0, true);
        for (int i = 0; ok && i < n; ++i) ok = FillItem(*v, itemtype, i, d.tokens[static_cast<size_t>(i)]);
        if (!ok) {
            list.DeleteVar(v);
            return false;
        }
    }
    return true;
}

bool DefineIntArray2(const TDefinition& d, TVariableList& list) {
    if (!d.value.IsEmpty()) return false;
    const int64_t lines = d.lines < 0 ? 0 : d.lines;
    const int64_t cols = d.cols < 0 ? 0 : d.cols;
    if (lines * cols > kMaxArrayItems) return false;
    list.NewArray2(d.namesText, vtInt, false);
    list.ResizeArray2(list.GetCount() - 1, d.lines, d.cols);
    return true;
}

// ORDER: none; looked up by word.
struct TTypeWord {
    const char* word;
    TVariableType type;
};
const TTypeWord typeWords[] = {
    {"int", vtInt}, {"double", vtDouble}, {"string", vtString}, {"point", vtPoint}, {"complex", vtComplex},
};

bool Define(const TDefinition& d, TVariableList& list, TVariableType type) {
    if (d.isArray && d.sizeCount == 2 && type == vtInt) return DefineIntArray2(d, list);
    if (d.isArray) return DefineArrays(d, list, type);
    switch (type) {
        case vtInt:
            return DefineInts(d, list);
        case vtDouble:
            return DefineDoubles(d, list);
        case vtString:
            return DefineStrings(d, list);
        default:
            return DefinePairs(d, list, type);
    }
}

}  // namespace

bool NewVarFromCmdLine(const TString& text, TVariableList& list) {
    TDefinition d;
    if (!Parse(text, d)) return false;
    if (d.sizeCount == 2 && !d.value.IsEmpty()) return false;
    for (const TTypeWord& row : typeWords)
        if (d.typeWord == TString(row.word)) return Define(d, list, row.type);
    return false;
}

bool NewVarFromCmdLine(const TString& text) { return NewVarFromCmdLine(text, Variables); }
