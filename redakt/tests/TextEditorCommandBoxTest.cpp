// The history of the editor's combo boxes: newest first, no line twice, at
// most so many lines.
#include <string>
#include <vector>

#include "RedaktFixture.h"
#include "TextEditorCommandBox.h"
#include "TextEditorFunctions.h"

namespace {

std::vector<std::string> AddAll(TComboBox& box, const std::vector<std::string>& texts, int limit) {
    for (const std::string& text : texts) {
        box.SetText(text);
        AddComboHistory(&box, limit);
    }
    std::vector<std::string> items;
    for (int i = 0; i < box.GetItems()->GetCount(); ++i) items.push_back(box.GetItems()->GetStrings(i));
    return items;
}

}  // namespace

TEST(TextEditorCommandBox, TheHistoryKeepsDistinctLinesNewestFirstUpToItsLimit) {
    win32::TestDriver driver;
    using Lines = std::vector<std::string>;
    const struct {
        Lines texts;
        int limit;
        Lines items;
    } kCases[] = {
        {{"a", "b", "c"}, 16, {"c", "b", "a"}},
        {{"a", "b", "a"}, 16, {"b", "a"}},  // a line already listed keeps its place
        {{"a", "", "b"}, 16, {"b", "a"}},   // an empty text changes nothing
        {{"sort", "SORT"}, 16, {"SORT", "sort"}},  // compared exactly
        {{"a", "b", "c", "d"}, 3, {"d", "c", "b"}},  // past the limit the oldest goes
        {{"a", "b"}, 0, {}},
    };
    for (const auto& row : kCases) {
        TComboBox box(nullptr);
        EXPECT_EQ(AddAll(box, row.texts, row.limit), row.items);
    }

    TComboBox box(nullptr);
    Lines seventeen;
    for (int i = 1; i <= 17; ++i) seventeen.push_back("line " + std::to_string(i));
    const Lines items = AddAll(box, seventeen, 16);
    ASSERT_EQ(items.size(), 16u);
    EXPECT_EQ(items.front(), "line 17");
    EXPECT_EQ(items.back(), "line 2");
    AddComboHistory(nullptr, 16);
}
