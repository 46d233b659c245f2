// Text forms of variable values, type names and the integer readers of the text forms.
#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "Variables.h"

namespace {

// The TString conversions (AsString).
TString ItemText(const void* item, TVariableType itemtype) {
    switch (itemtype) {
        case vtInt:
            return TString(*static_cast<const int64_t*>(item));
        case vtDouble:
            return TString(*static_cast<const double*>(item));
        case vtPoint: {
            const VPOINT& p = *static_cast<const VPOINT*>(item);
            return TString("{") + TString(p.x) + ", " + TString(p.y) + "}";
        }
        case vtComplex: {
            const VCOMPLEX& c = *static_cast<const VCOMPLEX*>(item);
            return TString("{") + TString(c.re) + ", " + TString(c.im) + "}";
        }
        case vtString:
            return *static_cast<const TString*>(item);
        default:
            return TString();
    }
}

TString Formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

TString Formatted(const char* format, ...) {
    char text[128];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    return TString(text);
}

}  // namespace

// The C-format conversions (GetVariableAsString, the property store).
TString GetItemAsString(const void* item, TVariableType itemtype) {
    switch (itemtype) {
        case vtInt:
            return Formatted("%lld", static_cast<long long>(*static_cast<const int64_t*>(item)));
        case vtDouble:
            return Formatted("%lf", *static_cast<const double*>(item));
        case vtPoint: {
            const VPOINT& p = *static_cast<const VPOINT*>(item);
            return Formatted("{%lld, %lld}", static_cast<long long>(p.x), static_cast<long long>(p.y));
        }
        case vtComplex: {
            const VCOMPLEX& c = *static_cast<const VCOMPLEX*>(item);
            return Formatted("{%lf, %lf}", c.re, c.im);
        }
        case vtString:
            return *static_cast<const TString*>(item);
        default:
            return TString();
    }
}

namespace {

TString Array2Text(const TVariable& v, bool aligned) {
    const ARRAY2& a = v.value.a2;
    std::vector<std::vector<TString>> cells(static_cast<size_t>(a.lines));
    std::vector<int> widths(static_cast<size_t>(a.cols), 0);
    for (int i = 0; i < a.lines; ++i)
        for (int j = 0; j < a.cols; ++j) {
            cells[static_cast<size_t>(i)].push_back(GetItemAsString(v.GetItem(i, j), a.itemtype));
            widths[static_cast<size_t>(j)] = std::max(widths[static_cast<size_t>(j)], cells[static_cast<size_t>(i)].back().Length());
        }
    TString text;
    for (int i = 0; i < a.lines; ++i) {
        if (i > 0) text += "\r\n";
        for (int j = 0; j < a.cols; ++j) {
            if (j > 0) text += ",";
            TString cell = cells[static_cast<size_t>(i)][static_cast<size_t>(j)];
            if (aligned) cell.ExtendLeft(widths[static_cast<size_t>(j)]);
            text += cell;
        }
    }
    return text;
}

}  // namespace

TString TVariable::AsString(char separator) const {
    switch (type) {
        case vtInt:
        case vtDouble:
        case vtString:
            return type == vtString ? (value.s != nullptr ? *value.s : TString()) : ItemText(&value, type);
        case vtPoint:
            return TString(value.p.x) + "," + TString(value.p.y);
        case vtComplex:
            return TString(value.c.re) + "," + TString(value.c.im);
        case vtArray: {
            TString text;
            for (int i = 0; i < value.a.count; ++i) {
                if (i > 0) text += separator;
                text += ItemText(GetItem(i), value.a.itemtype);
            }
            return text;
        }
        default:
            return TString();
    }
}

TString GetVarTypeName(TVariableType type, TVariableType itemtype) {
    // ORDER: indexed by TVariableType code; arrays name their item type.
    static const char* const names[] = {"", "", "int", "double", "point", "complex", "string"};
    if (type >= vtInt && type <= vtString) return TString(names[type]);
    if (type == vtArray) return GetVarTypeName(itemtype <= vtString ? itemtype : vtUndefined, 0) + "[]";
    if (type == vtArray2) return GetVarTypeName(itemtype <= vtString ? itemtype : vtUndefined, 0) + "[][]";
    return TString();
}

TString GetVarTypeName(const TVariable* v) {
    if (v == nullptr) return TString();
    if (v->type == vtArray) return GetVarTypeName(v->type, v->value.a.itemtype);
    if (v->type == vtArray2) return GetVarTypeName(v->type, v->value.a2.itemtype);
    return GetVarTypeName(v->type, vtUndefined);
}

TString GetVariableAsString(const TVariable* v, bool aligned) {
    if (v == nullptr) return TString();
    switch (v->type) {
        case vtInt:
        case vtDouble:
        case vtPoint:
        case vtComplex:
            return GetItemAsString(&v->value, v->type);
        case vtString:
            return v->value.s != nullptr ? *v->value.s : TString();
        case vtArray: {
            TString text;
            for (int i = 0; i < v->value.a.count; ++i) {
                if (i > 0) text += ",";
                text += GetItemAsString(v->GetItem(i), v->value.a.itemtype);
            }
            return text;
        }
        case vtArray2:
            return Array2Text(*v, aligned);
        default:
            return TString();
    }
}

bool EvalParseInt(const char* text, int& value) {
    value = 0;
    if (text == nullptr) return false;
    while (*text == ' ') ++text;
    char* end = nullptr;
    errno = 0;
    const long read = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || read < INT_MIN || read > INT_MAX) return false;
    while (*end == ' ') ++end;
    if (*end != '\0') return false;
    value = static_cast<int>(read);
    return true;
}

bool EvalParseInt(const char* text, int64_t& value) {
    value = 0;
    if (text == nullptr) return false;
    bool negative = false;
    bool digits = false;
    uint64_t magnitude = 0;
    const uint64_t limit = static_cast<uint64_t>(INT64_MAX) + 1;
    for (const char* c = text; *c != '\0'; ++c) {
        if (*c == ' ') continue;
        if (*c == '-' && !negative && !digits) {
            negative = true;
            continue;
        }
        if (*c < '0' || *c > '9') return false;
        digits = true;
        const unsigned digit = static_cast<unsigned>(*c - '0');
        if (magnitude > (limit - digit) / 10) return false;
        magnitude = magnitude * 10 + digit;
    }
    if (!negative && magnitude > static_cast<uint64_t>(INT64_MAX)) return false;
    value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
    return true;
}
