// TTextEditor: sorting the lines, whole or by a column, and removing
// duplicated lines. None of them keeps an undo record, so each empties the
// undo stack: the older records would meet reordered lines.
#include <algorithm>
#include <cstdint>
#include <cstring>
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

// A line's sort key: its first eight bytes as one big-endian number (zeros
// past the end), so that most comparisons never reach the text itself.
struct TSortKey {
    uint64_t prefix;
    const char* text;
    int length;
    int line;
};

TSortKey KeyOf(std::string_view key, int line) {
    uint64_t prefix = 0;
    for (size_t i = 0; i < 8; ++i) prefix = prefix << 8 | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
    return TSortKey{prefix, key.data(), static_cast<int>(key.size()), line};
}

// Unsigned bytes, then length, as TString::Compare; equal keys by their line,
// which makes the order stable.
bool KeyLess(const TSortKey& a, const TSortKey& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const int common = std::min(a.length, b.length);
    if (common > 8)
        if (const int order = std::memcmp(a.text + 8, b.text + 8, static_cast<size_t>(common - 8))) return order < 0;
    if (a.length != b.length) return a.length < b.length;
    return a.line < b.line;
}

// Sorts lines first..last by the keys keyOf gives them.
template <class KeyOfLine>
void SortRangeByKey(TStringContainer& lines, int first, int last, KeyOfLine keyOfLine) {
    first = std::max(first, 0);
    last = std::min(last, lines.GetCount() - 1);
    if (first >= last) return;
    std::vector<TSortKey> keys;
    keys.reserve(static_cast<size_t>(last - first + 1));
    for (int i = first; i <= last; ++i) keys.push_back(KeyOf(keyOfLine(std::string_view(lines[i].str())), i));
    std::sort(keys.begin(), keys.end(), KeyLess);
    std::vector<int> order(static_cast<size_t>(lines.GetCount()));
    std::iota(order.begin(), order.end(), 0);
    for (size_t k = 0; k < keys.size(); ++k) order[static_cast<size_t>(first) + k] = keys[k].line;
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
