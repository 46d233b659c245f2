// The editor's simple events: the selection, progress and event codes.
#include <tuple>
#include <vector>

#include "RedaktFixture.h"

TEST(TextEditorEvents, SelectionChangeReportsInclusiveEnds) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    std::vector<std::tuple<bool, int, int>> seen;
    editor.OnSelectionChange = [&seen](TTextEditor*, bool lines, int start, int end) {
        seen.emplace_back(lines, start, end);
    };
    const struct {
        TTextEditorSelection selection;
        std::tuple<bool, int, int> expected;
    } kCases[] = {
        {TTextEditorSelection{4, 4, 1, 2, 2}, {false, -1, -1}},  // neither form
        {TTextEditorSelection{0, 0, 0, 3, 6}, {true, 3, 5}},     // lines 3 to 5
        {TTextEditorSelection{2, 5, 7, 7, 7}, {false, 2, 4}},    // columns [2, 5) of line 7
        {TTextEditorSelection{2, 5, 7, 3, 6}, {true, 3, 5}},     // a line block wins
    };
    for (const auto& row : kCases) {
        editor.selection = row.selection;
        editor.SelectionChanged();
        ASSERT_FALSE(seen.empty());
        EXPECT_EQ(seen.back(), row.expected);
    }
    EXPECT_EQ(seen.size(), std::size(kCases));
}

TEST(TextEditorEvents, ProgressAndEventCodesReachTheirHandlersOnlyWhenBound) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    editor.ProgressChange(0, -1);  // unbound: nothing happens
    editor.Event(3);
    std::vector<std::pair<int, int>> progress;
    std::vector<int> codes;
    editor.OnProgressChange = [&progress](TTextEditor*, int total, int done) { progress.emplace_back(total, done); };
    editor.OnEvent = [&codes](int code) { codes.push_back(code); };
    editor.ProgressChange(10, 4);
    editor.Event(2);
    EXPECT_EQ(progress, (std::vector<std::pair<int, int>>{{10, 4}}));
    EXPECT_EQ(codes, std::vector<int>{2});
}
