// The sort command: its argument forms, the working range, integer keys,
// stability, the same order on one thread and on several, the progress
// notices, a bad key expression, the undo stack, and input kept out while
// workers sort.
#include <algorithm>
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "RecordingEditor.h"
#include "TextEditorSortCommand.h"

namespace {

// The editor's line block [first, end), or none when first == end.
void SelectBlock(TTextEditor& editor, int first, int end) {
    editor.selection = TTextEditorSelection{};
    editor.selection.selStartLine = first;
    editor.selection.selEndLine = end;
}

void Threads(TTextEditor& editor, int workers, int chunk = 10000) {
    editor.multiThreaded = workers > 0;
    editor.threadCount = std::max(workers, 1);
    editor.chunkLines = chunk;
}

// What a run showed and reported, in order: "-1", "-4", "box <text>" ...
class SortCommandTest : public RecordingEditorTest {
protected:
    void SetUp() override {
        RecordingEditorTest::SetUp();
        editor = PlaceFocused();
    }

    std::vector<std::string> Sort(const std::string& argument) {
        std::vector<std::string> log;
        win32::ScopedResponder responder([&](const win32::ModalInteraction& interaction) {
            log.push_back("box " + interaction.text);
            return win32::ModalReply::Answer(IDOK);
        });
        editor->OnProgressChange = [&](TTextEditor*, int, int position) { log.push_back(std::to_string(position)); };
        TString line("sort" + (argument.empty() ? std::string() : " " + argument));
        editor->ExecCommand(line);
        editor->OnProgressChange = nullptr;
        return log;
    }

    TRecordingEditor* editor = nullptr;
};

std::vector<std::string> Numbered(int first, int last) {
    std::vector<std::string> text;
    for (int i = first; i <= last; ++i) text.push_back(std::to_string(i));
    return text;
}

}  // namespace

TEST_F(SortCommandTest, EachArgumentFormSortsItsLinesByItsKeys) {
    const std::vector<std::string> records = {"c|30|x", "a|100|y", "b|9|z", "d|-5|w", "e|abc|v"};
    const std::vector<std::string> wide = {"1", "3000000000", "-5", "-3000000000", "2147483648", "0"};
    // Lines that are no whole number count as 0 and keep their order.
    const std::vector<std::string> mixed = {"x", "5", "-1", "y", "1.5", "0", " 7 ", "z"};
    const struct {
        std::vector<std::string> text;
        const char* argument;
        std::vector<std::string> expected;
    } kCases[] = {
        {{"10", "9", "100"}, "", {"10", "100", "9"}},
        {{"10", "9", "100"}, "n", {"9", "10", "100"}},
        {{"10", "9", "100"}, "nu", {"9", "10", "100"}},
        {{"10", "9", "100"}, "num", {"9", "10", "100"}},
        {records, "strtok(line, '|', 1) num", {"d|-5|w", "e|abc|v", "b|9|z", "c|30|x", "a|100|y"}},
        {records, "strtok(line, '|', 1)", {"d|-5|w", "a|100|y", "c|30|x", "b|9|z", "e|abc|v"}},
        {wide, "num", {"-3000000000", "-5", "0", "1", "2147483648", "3000000000"}},
        {wide, "line num", {"-3000000000", "-5", "0", "1", "2147483648", "3000000000"}},
        {mixed, "num", {"-1", "x", "y", "1.5", "0", "z", "5", " 7 "}},
        {mixed, "line num", {"-1", "x", "y", "1.5", "0", "z", "5", " 7 "}},
    };
    for (int workers : {0, 2}) {
        for (const auto& c : kCases) {
            SetLines(*editor, c.text);
            SelectBlock(*editor, 0, 0);
            Threads(*editor, workers, 2);
            const std::vector<std::string> log = Sort(c.argument);
            EXPECT_EQ(TextOf(editor->lines), c.expected) << "sort " << c.argument << ", " << workers << " workers";
            EXPECT_EQ(std::count_if(log.begin(), log.end(), [](const std::string& s) { return s.rfind("box", 0) == 0; }),
                      0);
        }
    }
}

TEST_F(SortCommandTest, PlainSortsKeepToTheBlockAndAKeyedSortTakesTheWholeText) {
    const std::vector<std::string> text = {"9", "8", "7", "6", "5", "40", "30", "200", "10", "1", "0", "-1"};
    const struct {
        const char* argument;
        std::vector<std::string> expected;
    } kCases[] = {
        {"", {"9", "8", "7", "6", "5", "1", "10", "200", "30", "40", "0", "-1"}},
        {"num", {"9", "8", "7", "6", "5", "1", "10", "30", "40", "200", "0", "-1"}},
        {"line num", {"-1", "0", "1", "5", "6", "7", "8", "9", "10", "30", "40", "200"}},
    };
    for (int workers : {0, 4}) {
        for (const auto& c : kCases) {
            SetLines(*editor, text);
            SelectBlock(*editor, 5, 10);
            Threads(*editor, workers, 2);
            Sort(c.argument);
            EXPECT_EQ(TextOf(editor->lines), c.expected) << "sort " << c.argument << ", " << workers << " workers";
        }
    }
}

TEST_F(SortCommandTest, ABadKeyExpressionChangesNothingAndKeepsTheUndoStack) {
    const std::vector<std::string> text = {"b", "a", "c"};
    for (int workers : {0, 2}) {
        for (const char* argument : {"numbers", "line + num", "nums"}) {
            SetLines(*editor, text);
            editor->ClearUndo();
            editor->AddUndoItem(utTyping, 0, POINT{0, 0}, TString("old"));
            editor->SetModified(false);
            Threads(*editor, workers, 2);
            const std::vector<std::string> log = Sort(argument);
            const std::string box = std::string("box Wrong expression: ") +
                                    (std::string(argument) == "line + num" ? "line +" : argument);
            EXPECT_EQ(log, (std::vector<std::string>{"-1", box, "-2"})) << argument;
            EXPECT_EQ(TextOf(editor->lines), text) << argument;
            EXPECT_FALSE(editor->GetModified()) << argument;
            EXPECT_EQ(editor->lines.GetSortRunner(), nullptr) << argument;
            EXPECT_EQ(editor->statusText.str(), "");
            EXPECT_FALSE(editor->IsRunningLineCommand());
            editor->Undo();
            EXPECT_EQ(TextOf(editor->lines), (std::vector<std::string>{"old", "a", "c"})) << argument;
        }
    }
}

// The sort makes no undo record, so the stack is emptied: an undo after it
// would write old lines over others. Also when nothing moved.
TEST_F(SortCommandTest, AfterASortUndoDoesNothing) {
    for (const char* argument : {"", "num", "line", "line num"}) {
        for (const std::vector<std::string>& text : {std::vector<std::string>{"3", "1", "2"}, Numbered(1, 3)}) {
            SetLines(*editor, text);
            editor->ClearUndo();
            editor->AddUndoItem(utTyping, 0, POINT{0, 0}, TString("old"));
            editor->SetModified(false);
            Threads(*editor, 0);
            Sort(argument);
            EXPECT_EQ(editor->GetLastUndoItem(), nullptr) << argument;
            EXPECT_TRUE(editor->GetModified()) << argument;
            editor->Undo();
            EXPECT_EQ(TextOf(editor->lines), Numbered(1, 3)) << argument;
        }
    }
}

namespace {

// 200,000 lines with many equal keys: "w<word>|<key>|<line>", some keys no
// whole number; and integer lines, equal values written in several ways.
std::vector<std::string> RecordText(int count) {
    std::mt19937 random(7);
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) {
        const int key = static_cast<int>(random() % 61) - 30;
        const std::string field = key == 30 ? "none" : std::to_string(key * 100000000LL);
        text.push_back("w" + std::to_string(random() % 40) + "|" + field + "|" + std::to_string(i));
    }
    return text;
}

std::vector<std::string> NumberText(int count) {
    std::mt19937 random(11);
    const char* const kForms[] = {"%lld", " %lld", "%lld ", "0%lld"};
    std::vector<std::string> text;
    for (int i = 0; i < count; ++i) {
        char line[40];
        const long long value = static_cast<long long>(random() % 2001) - 1000;
        std::snprintf(line, sizeof line, kForms[random() % 4], value * 3000000LL);
        text.push_back(random() % 50 == 0 ? "n/a" : line);
    }
    return text;
}

int64_t IntegerOf(const std::string& text) {
    int64_t value = 0;
    TString(text).ParseInt64(value);
    return value;
}

std::string SecondField(const std::string& line) {
    const size_t first = line.find('|');
    const size_t second = line.find('|', first + 1);
    return line.substr(first + 1, second - first - 1);
}

// The text stably sorted by the keys that key gives, each computed once.
template <class Key>
std::vector<std::string> StableSorted(const std::vector<std::string>& text, Key key) {
    using TKey = decltype(key(text[0]));
    std::vector<std::pair<TKey, size_t>> keyed;
    for (size_t i = 0; i < text.size(); ++i) keyed.emplace_back(key(text[i]), i);
    std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::string> sorted;
    for (const auto& entry : keyed) sorted.push_back(text[entry.second]);
    return sorted;
}

}  // namespace

// One thread and 1, 2, 4 and 8 workers give the same text, the one a
// stable sort by the same keys gives.
TEST_F(SortCommandTest, EachFormGivesTheSameTextOnOneThreadAndOnSeveral) {
    const std::vector<std::string> records = RecordText(200000);
    const std::vector<std::string> numbers = NumberText(200000);
    const struct {
        const char* argument;
        const std::vector<std::string>& text;
        std::vector<std::string> expected;
    } kForms[] = {
        {"", records, StableSorted(records, [](const std::string& s) { return s; })},
        {"num", numbers, StableSorted(numbers, IntegerOf)},
        {"strtok(line, '|', 1)", records, StableSorted(records, SecondField)},
        {"strtok(line, '|', 1) num", records,
         StableSorted(records, [](const std::string& s) { return IntegerOf(SecondField(s)); })},
    };
    for (const auto& form : kForms) {
        for (int workers : {0, 1, 2, 4, 8}) {
            SetLines(*editor, form.text);
            Threads(*editor, workers, workers == 8 ? 777 : 10000);
            // No progress handler: nothing to record per comparison.
            TString argument(form.argument);
            editor->CmdSort(argument);
            EXPECT_TRUE(TextOf(editor->lines) == form.expected) << "sort " << form.argument << ", " << workers << " workers";
            EXPECT_EQ(editor->lines.GetSortRunner(), nullptr);
        }
    }
}

// With multithreading on the user-interface thread only waits: -1, then
// -4 ticks, then -2, never a comparison notice. On one thread each
// comparison is reported.
TEST_F(SortCommandTest, ProgressNoticesFollowTheThreadingMode) {
    const std::vector<std::string> text = RecordText(20000);
    for (const char* argument : {"", "num", "strtok(line, '|', 1)", "strtok(line, '|', 1) num"}) {
        SetLines(*editor, text);
        Threads(*editor, 4, 1000);
        std::vector<std::string> log = Sort(argument);
        ASSERT_GE(log.size(), 2u) << argument;
        EXPECT_EQ(log.front(), "-1") << argument;
        EXPECT_EQ(log.back(), "-2") << argument;
        for (size_t i = 1; i + 1 < log.size(); ++i) EXPECT_EQ(log[i], "-4") << argument << " notice " << i;

        SetLines(*editor, text);
        Threads(*editor, 0);
        log = Sort(argument);
        const auto comparisons = std::count(log.begin(), log.end(), "-3");
        const auto ticks = std::count(log.begin(), log.end(), "-4");
        EXPECT_EQ(log.front(), "-1") << argument;
        EXPECT_EQ(log.back(), "-2") << argument;
        EXPECT_EQ(static_cast<size_t>(comparisons + ticks), log.size() - 2) << argument;
        // A merge sort of n keys compares at least n - 1 and at most n log2 n times.
        EXPECT_GE(comparisons, static_cast<long>(text.size()) - 1) << argument;
        EXPECT_LE(comparisons, 20000L * 15) << argument;
    }
}

// A progress handler that pumps messages while workers sort lets a key, a
// played macro key and a command reach the editor: all are ignored, the
// sort ends as it would have, and input works again afterwards.
TEST_F(SortCommandTest, InputIsIgnoredWhileWorkersSort) {
    std::mt19937 random(3);
    bool ticked = false;
    // Grows the text until the wait lasts a tick on this machine.
    for (int count = 200000; count <= 3200000 && !ticked; count *= 2) {
        std::vector<std::string> text;
        for (int i = 0; i < count; ++i) text.push_back(std::to_string(random()) + "." + std::to_string(i));
        SetLines(*editor, text);
        std::sort(text.begin(), text.end());
        editor->SetCursorPosX(2);
        editor->SetCursorPosY(1);
        Threads(*editor, 1, count);
        editor->keys.clear();
        editor->characters.clear();
        editor->OnProgressChange = [&](TTextEditor*, int, int position) {
            if (position != -4 || ticked) return;
            ticked = true;
            EXPECT_TRUE(editor->IsRunningLineCommand());
            driver.Type("zz");
            driver.Press(VK_DELETE);
            PostMessageA(editor->GetHandle(), WM_USER + 1, 'q', 0);
            driver.PumpUntilIdle();
            TString command("mt off");
            editor->ExecCommand(command);
        };
        TString line("sort");
        editor->ExecCommand(line);
        editor->OnProgressChange = nullptr;
        EXPECT_TRUE(TextOf(editor->lines) == text) << count << " lines";
        if (!ticked) continue;
        EXPECT_TRUE(editor->keys.empty());
        EXPECT_TRUE(editor->characters.empty());
        EXPECT_TRUE(editor->multiThreaded);
        EXPECT_EQ(editor->GetCurCol(), 2);
        EXPECT_EQ(editor->GetCurLine(), 1);
    }
    ASSERT_TRUE(ticked) << "no sort lasted 100 ms";
    EXPECT_FALSE(editor->IsRunningLineCommand());
    driver.Press(VK_RIGHT);
    EXPECT_FALSE(editor->keys.empty());
}

TEST(TextEditorSortItems, ItemsCopyAndCompareByTheirKind) {
    TExprSortItems items;
    items += TExprSortItem(4, TString("b"));
    TExprSortItem* second = items.NewItem();
    second->index = 7;
    second->key = TString("a");
    second->number = -3000000000LL;
    EXPECT_EQ(items.First().index, 4);
    EXPECT_EQ(items.Last().key.str(), "a");
    EXPECT_EQ(items.Mid().index, 7);
    EXPECT_EQ(items.CompareItems(items.GetItem(0), items.GetItem(1)), 1);
    items.numeric = true;
    EXPECT_EQ(items.CompareItems(items.GetItem(0), items.GetItem(1)), 1);
    EXPECT_EQ(items.CompareItems(items.GetItem(1), items.GetItem(1)), 0);
    const TExprSortItem copy(items.Last());
    EXPECT_EQ(copy.index, 7);
    EXPECT_EQ(copy.number, -3000000000LL);
    TExprSortItems assigned;
    assigned = items;
    ASSERT_EQ(assigned.GetCount(), 2);
    EXPECT_EQ(assigned[1].key.str(), "a");
    EXPECT_TRUE(assigned.numeric);
    const TExprSortItem fresh;
    EXPECT_EQ(fresh.index, 0);
    EXPECT_TRUE(fresh.key.IsEmpty());
}

// Prepared keys order as whole keys do: by their first eight bytes, and by
// the rest when those are equal; a shorter key before a longer one.
TEST(TextEditorSortItems, PreparedKeysOrderAsWholeKeys) {
    const std::vector<std::string> keys = {"abcdefgh2", "b", "abcdefgh1", "", "abcdefgh", "abc\xE9", "abcdefgh1",
                                           "abc", std::string("ab\0", 3), "ab"};
    TExprSortItems items;
    for (size_t i = 0; i < keys.size(); ++i) items += TExprSortItem(static_cast<int>(i), TString(keys[i]));
    items.PrepareKeys();
    items.Sort();
    std::vector<std::string> sorted = keys;
    std::stable_sort(sorted.begin(), sorted.end());
    std::vector<std::string> got;
    for (int i = 0; i < items.GetCount(); ++i) got.push_back(items[i].key.str());
    EXPECT_EQ(got, sorted);
    EXPECT_EQ(items[5].index, 2);  // equal keys keep their order
    EXPECT_EQ(items[6].index, 6);
}
