// TTextEditor: sorting the lines, whole or by a column, and removing
// duplicated lines. None of them keeps an undo record, so each empties the
// undo stack: the older records would meet reordered lines.
#include <algorithm>
#include <numeric>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "TextEditor.h"

namespace {

// Field `column` of text split at every separator (empty fields count); empty
// when the text has fewer fields.
std::string_view FieldOf(std::string_view text, char separator, int column) {
    if (column < 0) return {};
    size_t start = 0;
    for (int field = 0; field < column; ++field) {
        const size_t next = text.find(separator, start);
        if (next == std::string_view::npos) return {};
        start = next + 1;
    }
    const size_t end = text.find(separator, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

// Sorts lines first..last by their keys. Each line's key is taken once; keys
// compare as TString::Compare does (unsigned bytes, then length) and equal
// keys keep their order.
template <class KeyOf>
void SortRangeByKey(TStringContainer& lines, int first, int last, KeyOf keyOf) {
    first = std::max(first, 0);
    last = std::min(last, lines.GetCount() - 1);
    if (first >= last) return;
    std::vector<std::string_view> keys;
    keys.reserve(static_cast<size_t>(last - first + 1));
    for (int i = first; i <= last; ++i) keys.push_back(keyOf(std::string_view(lines[i].str())));
    std::vector<int> order(static_cast<size_t>(lines.GetCount()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin() + first, order.begin() + last + 1,
                     [&](int a, int b) { return keys[size_t(a - first)] < keys[size_t(b - first)]; });
    lines.Rearrange(order.data());
}

}  // namespace

void TTextEditor::SortLines() {
    if (ReadOnly) return;
    int first = 0, last = 0;
    GetWorkingRange(first, last);
    SortRangeByKey(lines, first, last, [](std::string_view line) { return line; });
    ClearUndo();
    RefreshLines(-1);
    SetModified(true);
}

void TTextEditor::SortByCol(int column) {
    int first = 0, last = 0;
    GetWorkingRange(first, last);
    const char separator = ColSeparator;
    SortRangeByKey(lines, first, last, [&](std::string_view line) { return FieldOf(line, separator, column); });
    ClearUndo();
    RefreshLines(-1);
    SetModified(true);
}

// The kept lines move to the front in text order and the rest is cut off, so
// no line is copied. NewStrings resets the view and empties the undo stack.
void TTextEditor::DeleteDuplicatedLines() {
    const int count = lines.GetCount();
    std::unordered_set<std::string_view> seen;
    seen.reserve(static_cast<size_t>(count));
    std::vector<int> order, duplicates;
    order.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        (seen.insert(std::string_view(lines[i].str())).second ? order : duplicates).push_back(i);
    const int kept = static_cast<int>(order.size());
    order.insert(order.end(), duplicates.begin(), duplicates.end());
    lines.Rearrange(order.data());
    lines.DeleteSection(kept, count - 1, true);
    NewStrings(lines);
    SetModified(true);
}

void TTextEditor::StartSelectSortCol() {
    if (OnSortCol) OnSortCol(this, scChoosing);
}

void TTextEditor::SortColSelected() {
    if (OnSortCol) OnSortCol(this, scChosen);
}
