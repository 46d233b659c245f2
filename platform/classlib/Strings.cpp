// TStrings and TStringList.
#include "Strings.h"

#include <algorithm>
#include <cctype>

#include "Exceptions.h"

namespace {

int CompareIgnoringCase(const std::string& a, const std::string& b) {
    size_t length = std::min(a.size(), b.size());
    for (size_t i = 0; i < length; ++i) {
        int left = std::tolower(static_cast<unsigned char>(a[i]));
        int right = std::tolower(static_cast<unsigned char>(b[i]));
        if (left != right) return left < right ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool NeedsQuotes(const std::string& text) {
    for (unsigned char c : text)
        if (c <= ' ' || c == '"' || c == ',') return true;
    return false;
}

std::string Quoted(const std::string& text) {
    std::string result = "\"";
    for (char c : text) {
        if (c == '"') result += '"';
        result += c;
    }
    return result + "\"";
}

bool IsSeparatorSpace(char c) { return c > 0 && c <= ' '; }

}  // namespace

// ---- TStrings ---------------------------------------------------------------------

void TStrings::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count)
        throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
}

bool TStrings::SameText(const std::string& a, const std::string& b) const { return CompareIgnoringCase(a, b) == 0; }

void TStrings::SetStrings(int index, const std::string& text) {
    TObject* object = GetObjects(index);
    BeginUpdate();
    Delete(index);
    InsertObject(index, text, object);
    EndUpdate();
}

TObject* TStrings::GetObjects(int index) const {
    CheckIndex(index, GetCount());
    return nullptr;
}

void TStrings::SetObjects(int index, TObject*) { CheckIndex(index, GetCount()); }

int TStrings::Add(const std::string& text) {
    int index = GetCount();
    Insert(index, text);
    return index;
}

int TStrings::AddObject(const std::string& text, TObject* object) {
    int index = Add(text);
    SetObjects(index, object);
    return index;
}

void TStrings::AddStrings(const TStrings* strings) {
    if (!strings) return;
    BeginUpdate();
    for (int i = 0; i < strings->GetCount(); ++i) AddObject(strings->GetStrings(i), strings->GetObjects(i));
    EndUpdate();
}

void TStrings::InsertObject(int index, const std::string& text, TObject* object) {
    Insert(index, text);
    SetObjects(index, object);
}

void TStrings::Exchange(int index1, int index2) {
    CheckIndex(index1, GetCount());
    CheckIndex(index2, GetCount());
    BeginUpdate();
    std::string text1 = GetStrings(index1);
    TObject* object1 = GetObjects(index1);
    SetStrings(index1, GetStrings(index2));
    SetObjects(index1, GetObjects(index2));
    SetStrings(index2, text1);
    SetObjects(index2, object1);
    EndUpdate();
}

void TStrings::Move(int fromIndex, int toIndex) {
    if (fromIndex == toIndex) return;
    CheckIndex(fromIndex, GetCount());
    CheckIndex(toIndex, GetCount());
    BeginUpdate();
    std::string text = GetStrings(fromIndex);
    TObject* object = GetObjects(fromIndex);
    Delete(fromIndex);
    InsertObject(toIndex, text, object);
    EndUpdate();
}

int TStrings::IndexOf(const std::string& text) const {
    for (int i = 0; i < GetCount(); ++i)
        if (SameText(GetStrings(i), text)) return i;
    return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
    for (int i = 0; i < GetCount(); ++i)
        if (GetObjects(i) == object) return i;
    return -1;
}

std::string TStrings::GetNames(int index) const {
    std::string line = GetStrings(index);
    size_t equals = line.find('=');
    return equals == std::string::npos ? std::string() : line.substr(0, equals);
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0; i < GetCount(); ++i) {
        std::string line = GetStrings(i);
        size_t equals = line.find('=');
        if (equals != std::string::npos && SameText(line.substr(0, equals), name)) return i;
    }
    return -1;
}

std::string TStrings::GetValues(const std::string& name) const {
    int index = IndexOfName(name);
    return index < 0 ? std::string() : GetStrings(index).substr(name.size() + 1);
}

void TStrings::SetValues(const std::string& name, const std::string& value) {
    int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
        return;
    }
    if (index < 0)
        Add(name + "=" + value);
    else
        SetStrings(index, name + "=" + value);
}

std::string TStrings::GetText() const {
    std::string text;
    for (int i = 0; i < GetCount(); ++i) text += GetStrings(i) + "\r\n";
    return text;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    Clear();
    size_t position = 0;
    while (position < text.size()) {
        size_t end = text.find_first_of("\r\n", position);
        if (end == std::string::npos) end = text.size();
        Add(text.substr(position, end - position));
        position = end;
        if (position < text.size() && text[position] == '\r') ++position;
        if (position < text.size() && text[position] == '\n') ++position;
    }
    EndUpdate();
}

std::string TStrings::GetCommaText() const {
    if (GetCount() == 1 && GetStrings(0).empty()) return "\"\"";
    std::string text;
    for (int i = 0; i < GetCount(); ++i) {
        if (i > 0) text += ',';
        std::string item = GetStrings(i);
        text += NeedsQuotes(item) ? Quoted(item) : item;
    }
    return text;
}

void TStrings::SetCommaText(const std::string& text) {
    BeginUpdate();
    Clear();
    size_t position = 0;
    auto skipSpaces = [&] {
        while (position < text.size() && IsSeparatorSpace(text[position])) ++position;
    };
    skipSpaces();
    while (position < text.size()) {
        std::string item;
        if (text[position] == '"') {
            ++position;
            while (position < text.size()) {
                if (text[position] == '"') {
                    if (position + 1 < text.size() && text[position + 1] == '"') {
                        item += '"';
                        position += 2;
                        continue;
                    }
                    ++position;
                    break;
                }
                item += text[position++];
            }
        } else {
            while (position < text.size() && text[position] != ',' && !IsSeparatorSpace(text[position]))
                item += text[position++];
        }
        Add(item);
        skipSpaces();
        if (position < text.size() && text[position] == ',') {
            ++position;
            skipSpaces();
            if (position == text.size()) Add("");  // a trailing comma ends with an empty item
        }
    }
    EndUpdate();
}

void TStrings::Assign(const TPersistent* source) {
    const auto* strings = dynamic_cast<const TStrings*>(source);
    if (!strings) {
        TPersistent::Assign(source);
        return;
    }
    if (strings == this) return;
    BeginUpdate();
    Clear();
    AddStrings(strings);
    EndUpdate();
}

bool TStrings::Equals(const TStrings* strings) const {
    if (!strings || strings->GetCount() != GetCount()) return false;
    for (int i = 0; i < GetCount(); ++i)
        if (GetStrings(i) != strings->GetStrings(i)) return false;
    return true;
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ == 0) return;
    if (--updateCount_ == 0) SetUpdateState(false);
}

// ---- TStringList --------------------------------------------------------------------

bool TStringList::SameText(const std::string& a, const std::string& b) const { return Compare(a, b) == 0; }

int TStringList::Compare(const std::string& a, const std::string& b) const {
    if (caseSensitive_) return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
    return CompareIgnoringCase(a, b);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

std::string TStringList::GetStrings(int index) const {
    CheckIndex(index, GetCount());
    return items_[index].text;
}

void TStringList::SetStrings(int index, const std::string& text) {
    CheckIndex(index, GetCount());
    Changing();
    items_[index].text = text;
    if (sorted_) Sort();
    Changed();
}

TObject* TStringList::GetObjects(int index) const {
    CheckIndex(index, GetCount());
    return items_[index].object;
}

void TStringList::SetObjects(int index, TObject* object) {
    CheckIndex(index, GetCount());
    Changing();
    items_[index].object = object;
    Changed();
}

int TStringList::Add(const std::string& text) {
    if (!sorted_) {
        int index = GetCount();
        InsertItem(index, text, nullptr);
        return index;
    }
    int index = 0;
    if (Find(text, index)) {
        if (duplicates_ == dupIgnore) return index;
        if (duplicates_ == dupError) throw EStringListError("String list does not allow duplicates");
    }
    InsertItem(index, text, nullptr);
    return index;
}

void TStringList::Insert(int index, const std::string& text) {
    if (sorted_) throw EStringListError("Operation not allowed on sorted string list");
    if (index != GetCount()) CheckIndex(index, GetCount());
    InsertItem(index, text, nullptr);
}

void TStringList::InsertItem(int index, const std::string& text, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{text, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index, GetCount());
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1, GetCount());
    CheckIndex(index2, GetCount());
    Changing();
    std::swap(items_[index1], items_[index2]);
    Changed();
}

int TStringList::IndexOf(const std::string& text) const {
    if (!sorted_) return TStrings::IndexOf(text);
    int index = 0;
    return Find(text, index) ? index : -1;
}

bool TStringList::Find(const std::string& text, int& index) const {
    if (!sorted_) {
        index = TStrings::IndexOf(text);
        if (index >= 0) return true;
        index = GetCount();
        return false;
    }
    int low = 0;
    int high = GetCount() - 1;
    bool found = false;
    while (low <= high) {
        int middle = low + (high - low) / 2;
        int order = Compare(items_[middle].text, text);
        if (order < 0) {
            low = middle + 1;
        } else {
            high = middle - 1;
            if (order == 0) {
                found = true;
                // The first of equal strings, unless duplicates are accepted.
                if (duplicates_ != dupAccept) low = middle;
            }
        }
    }
    index = low;
    return found;
}

void TStringList::Sort() {
    Changing();
    std::stable_sort(items_.begin(), items_.end(),
                     [this](const Item& a, const Item& b) { return Compare(a.text, b.text) < 0; });
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == caseSensitive_) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}
