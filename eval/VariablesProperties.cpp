// Variables in a property store: each variable a section of readable keys.
#include "VariablesProperties.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// Keys formed with indices: "s3", "line3", "s3_4".
TString IndexedKey(const char* stem, int i) { return TString(stem) + TString(i); }
TString IndexedKey(const char* stem, int i, int j) { return IndexedKey(stem, i) + "_" + TString(j); }

TString SectionName(const char* prefix, const TString& name) { return TString(prefix) + "_" + name; }

// ---- writing

void SaveArray(TProperties& props, const TVariable& v) {
    const ARRAY& a = v.value.a;
    props.AddInt(TString("itemtype"), static_cast<int>(a.itemtype));
    props.AddInt(TString("count"), a.count);
    if (a.itemtype == vtString) {
        for (int i = 0; i < a.count; ++i) {
            const TString& item = *static_cast<const TString*>(v.GetItem(i));
            if (!item.IsEmpty()) props.AddEntry(IndexedKey("s", i), item);
        }
        return;
    }
    TString items;
    for (int i = 0; i < a.count; ++i) {
        if (i > 0) items += ' ';
        items += GetItemAsString(v.GetItem(i), a.itemtype);
    }
    props.AddEntry(TString("items"), items);
}

void SaveArray2(TProperties& props, const TVariable& v) {
    const ARRAY2& a = v.value.a2;
    props.AddInt(TString("itemtype"), static_cast<int>(a.itemtype));
    props.AddInt(TString("lines"), a.lines);
    props.AddInt(TString("cols"), a.cols);
    for (int i = 0; i < a.lines; ++i) {
        TString line;
        for (int j = 0; j < a.cols; ++j) {
            if (a.itemtype == vtString) {
                const TString& item = *static_cast<const TString*>(v.GetItem(i, j));
                if (!item.IsEmpty()) props.AddEntry(IndexedKey("s", i, j), item);
                continue;
            }
            if (j > 0) line += ' ';
            line += GetItemAsString(v.GetItem(i, j), a.itemtype);
        }
        if (a.itemtype != vtString) props.AddEntry(IndexedKey("line", i), line);
    }
}

void SaveValue(TProperties& props, const TVariable& v) {
    switch (v.type) {
        case vtInt:
            props.AddInt(TString("value"), v.value.i);
            break;
        case vtDouble:
            props.AddDouble(TString("value"), v.value.d);
            break;
        case vtPoint:
            props.AddInt(TString("x"), v.value.p.x);
            props.AddInt(TString("y"), v.value.p.y);
            break;
        case vtComplex:
            props.AddDouble(TString("re"), v.value.c.re);
            props.AddDouble(TString("im"), v.value.c.im);
            break;
        case vtString:
            props.AddEntry(TString("value"), v.value.s != nullptr ? *v.value.s : TString());
            break;
        case vtArray:
            SaveArray(props, v);
            break;
        case vtArray2:
            SaveArray2(props, v);
            break;
        default:
            break;
    }
}

// ---- reading

// The item texts of one stored line: for points and complex numbers the
// insides of the "{...}" groups, otherwise the blank-separated words.
std::vector<TString> ItemTexts(const TString& line, TVariableType itemtype) {
    std::vector<TString> texts;
    if (itemtype == vtPoint || itemtype == vtComplex) {
        for (int open = line.Pos('{'); open >= 0; open = line.Pos('{', open + 1)) {
            const int close = line.Pos('}', open);
            if (close < 0) break;
            texts.push_back(line.Substring(open + 1, close - 1));
            open = close;
        }
        return texts;
    }
    TStringContainer words;
    line.GetTokens(' ', false, false, words);
    for (int i = 0; i < words.GetCount(); ++i) texts.push_back(words[i]);
    return texts;
}

void ReadItem(const TString& text, TVariableType itemtype, void* item) {
    long long x = 0, y = 0;
    double re = 0, im = 0;
    switch (itemtype) {
        case vtInt:
            if (std::sscanf(text.c_str(), "%lld", &x) == 1) *static_cast<int64_t*>(item) = x;
            break;
        case vtDouble:
            if (std::sscanf(text.c_str(), "%lf", &re) == 1) *static_cast<double*>(item) = re;
            break;
        case vtPoint:
            if (std::sscanf(text.c_str(), "%lld , %lld", &x, &y) == 2) *static_cast<VPOINT*>(item) = VPOINT{x, y};
            break;
        case vtComplex:
            if (std::sscanf(text.c_str(), "%lf , %lf", &re, &im) == 2) *static_cast<VCOMPLEX*>(item) = VCOMPLEX{re, im};
            break;
        default:
            break;
    }
}

void ReadItems(const TString& line, TVariableType itemtype, int count, void* (*itemAt)(TVariable&, int, int),
               TVariable& v, int lineIndex) {
    const std::vector<TString> texts = ItemTexts(line, itemtype);
    for (int i = 0; i < count && i < static_cast<int>(texts.size()); ++i)
        ReadItem(texts[static_cast<size_t>(i)], itemtype, itemAt(v, lineIndex, i));
}

void* Item1(TVariable& v, int, int i) { return v.GetItem(i); }
void* Item2(TVariable& v, int line, int j) { return v.GetItem(line, j); }

bool LoadArray(TProperties& props, TVariable& v) {
    const TVariableType itemtype = static_cast<TVariableType>(props.GetInt(TString("itemtype")));
    const int count = props.GetInt(TString("count"));
    if (count > kMaxArrayItems) return false;
    v.value.a = TVariableList::CreateArray(itemtype, count);
    v.type = vtArray;
    if (v.value.a.items == nullptr) return false;
    if (itemtype == vtString) {
        for (int i = 0; i < v.value.a.count; ++i)
            *static_cast<TString*>(v.GetItem(i)) = props.GetString(IndexedKey("s", i));
        return true;
    }
    ReadItems(props.GetString(TString("items")), itemtype, v.value.a.count, Item1, v, 0);
    return true;
}

bool LoadArray2(TProperties& props, TVariable& v) {
    const TVariableType itemtype = static_cast<TVariableType>(props.GetInt(TString("itemtype")));
    v.type = vtArray2;
    if (!TVariableList::CreateStoredArray2(itemtype, std::max(props.GetInt(TString("lines")), 0),
                                           std::max(props.GetInt(TString("cols")), 0), v.value.a2))
        return false;
    const int lines = v.value.a2.lines;
    const int cols = v.value.a2.cols;
    for (int i = 0; i < lines; ++i) {
        if (itemtype != vtString) {
            ReadItems(props.GetString(IndexedKey("line", i)), itemtype, cols, Item2, v, i);
            continue;
        }
        for (int j = 0; j < cols; ++j)
            *static_cast<TString*>(v.GetItem(i, j)) = props.GetString(IndexedKey("s", i, j));
    }
    return true;
}

bool LoadValue(TProperties& props, TVariable& v, TVariableType type) {
    v.type = type;
    switch (type) {
        case vtInt:
            v.value.i = props.GetInt64(TString("value"));
            return true;
        case vtDouble:
            v.value.d = props.GetDouble(TString("value"));
            return true;
        case vtPoint:
            v.value.p = VPOINT{props.GetInt64(TString("x")), props.GetInt64(TString("y"))};
            return true;
        case vtComplex:
            v.value.c = VCOMPLEX{props.GetDouble(TString("re")), props.GetDouble(TString("im"))};
            return true;
        case vtString:
            v.value.s = new TString(props.GetString(TString("value")));
            return true;
        case vtArray:
            return LoadArray(props, v);
        case vtArray2:
            return LoadArray2(props, v);
        default:
            return true;
    }
}

}  // namespace

void SaveVariables(TProperties& props, TVariableList& list, const char* prefix) {
    if (prefix == nullptr) prefix = "";
    props.AddSection(TString(prefix), true);
    for (int i = 0; i < list.GetCount(); ++i) props.AddEntry(list[i]->name, TString());
    for (int i = 0; i < list.GetCount(); ++i) {
        const TVariable& v = *list[i];
        props.AddSection(SectionName(prefix, v.name), true);
        props.AddInt(TString("type"), static_cast<int>(v.type));
        props.AddInt(TString("info"), v.info);
        SaveValue(props, v);
    }
}

bool LoadVariables(TProperties& props, TVariableList& list, const char* prefix) {
    if (prefix == nullptr) prefix = "";
    if (!props.SetSection(TString(prefix))) return false;
    TStringContainer keys;
    props.GetSectionKeys(keys);
    for (int k = 0; k < keys.GetCount(); ++k) {
        if (!props.SetSection(SectionName(prefix, keys[k]))) continue;
        if (!props.KeyExists(TString("type")) || !props.KeyExists(TString("info"))) continue;
        TVariable v;
        v.name = keys[k];
        v.info = props.GetInt(TString("info"));
        if (LoadValue(props, v, static_cast<TVariableType>(props.GetInt(TString("type")) & 0xFF))) list.AddVar(v);
    }
    return true;
}
