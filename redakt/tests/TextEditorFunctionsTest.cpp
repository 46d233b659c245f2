// The unit's sort comparisons and the file writer with progress notices.
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "RedaktFixture.h"
#include "TextEditorFunctions.h"
#include "Responder.h"
#include "Win32.h"

using win32::ModalInteraction;
using win32::ModalReply;
using win32::ScopedResponder;

namespace {

struct TProgressLog {
    std::vector<std::pair<int, int>> calls;
    void Bind(TTextEditor& editor) {
        editor.OnProgressChange = [this](TTextEditor*, int total, int done) { calls.emplace_back(total, done); };
    }
};

std::string TempPath(const std::string& name) { return ::testing::TempDir() + name; }

}  // namespace

TEST(TextEditorFunctions, ComparisonsOrderAndReportOneNoticeEachUnlessQuiet) {
    win32::TestDriver driver;
    TTextEditor editor(nullptr);
    TProgressLog log;
    log.Bind(editor);
    const struct {
        int a, b, expected;
    } kInts[] = {{1, 2, -1}, {2, 2, 0}, {3, -7, 1}, {INT32_MIN, INT32_MAX, -1}};
    for (const auto& row : kInts) EXPECT_EQ(CompareInts(&row.a, &row.b), row.expected) << row.a << " " << row.b;

    TTextEditorSortContext context{&editor, 0, false};
    const struct {
        const char* a;
        const char* b;
        int lines, numbers;
    } kTexts[] = {
        {"10", "9", -1, 1}, {"9", "9", 0, 0}, {"b", "a", 1, 0},  // no number counts as 0
        {"-3", "2", -1, -1}, {"abc", "abd", -1, 0}, {"\xE1", "z", 1, 0}, {"7", " 7 ", 1, 0},
        {"3000000000", "5", -1, 1}, {"-5", "3000000000", -1, -1}, {"-3000000000", "-5", -1, -1},  // beyond 32 bits
    };
    for (const auto& row : kTexts) {
        const TString a(row.a), b(row.b);
        EXPECT_EQ(CompareLines(&a, &b, &context), row.lines) << row.a << " " << row.b;
        EXPECT_EQ(CompareLineNumbers(&a, &b, &context), row.numbers) << row.a << " " << row.b;
    }
    EXPECT_EQ(log.calls, (std::vector<std::pair<int, int>>(2 * std::size(kTexts), {0, -3})));
    log.calls.clear();
    context.quiet = true;
    const TString a("1"), b("2");
    EXPECT_EQ(CompareLines(&a, &b, &context), -1);
    EXPECT_EQ(CompareLineNumbers(&a, &b, &context), -1);
    EXPECT_EQ(CompareLines(&a, &b, nullptr), -1);
    EXPECT_TRUE(log.calls.empty());
}

TEST_F(EditorTest, WritingLinesReportsProgressFromStartToEnd) {
    TTextEditor* editor = Place();
    TProgressLog log;
    log.Bind(*editor);
    TStringContainer lines;
    for (const char* line : {"one", "two", "three"}) lines.Add(line);
    const std::string path = TempPath("redakt_write_lines.txt");
    EXPECT_TRUE(WriteLinesWithProgress(editor, lines, path));
    EXPECT_EQ(log.calls, (std::vector<std::pair<int, int>>{{0, -1}, {3, 1}, {3, 2}, {3, 3}, {0, -2}}));
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_EQ(text.str(), "one\r\ntwo\r\nthree\r\n");
}

TEST_F(EditorTest, AFailedWriteShowsTheErrorBoxAndReturnsFalse) {
    TTextEditor* editor = Place();
    TProgressLog log;
    log.Bind(*editor);
    std::vector<ModalInteraction> seen;
    ScopedResponder responder([&seen](const ModalInteraction& interaction) {
        seen.push_back(interaction);
        return ModalReply::Answer(IDOK);
    });
    TStringContainer lines;
    lines.Add("lost");
    bool written = true;
    EXPECT_NO_THROW(written = WriteLinesWithProgress(editor, lines, TempPath("no/such/folder/x.txt")));
    EXPECT_FALSE(written);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].kind, win32::ModalKind::MessageBox);
    EXPECT_EQ(seen[0].text, "Error with saving (Read Only ?)");
    EXPECT_EQ(seen[0].caption, "Save file");
    EXPECT_EQ(seen[0].style & MB_ICONMASK, UINT(MB_ICONERROR));
    EXPECT_EQ(seen[0].owner, GetAncestor(editor->GetHandle(), GA_ROOT));  // the editor's window owns it
    EXPECT_EQ(log.calls, (std::vector<std::pair<int, int>>{{0, -1}, {0, -2}}));
}
