// Tests of TStringContainer: text files, callbacks, resources and settings.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "MemBuffer.h"
#include "StringContainer.h"

HMODULE ContainersFixtureModule();

namespace {

// A file of this test's own, so tests may run in parallel.
std::string TestFile() {
    return testing::TempDir() + "containers_" + testing::UnitTest::GetInstance()->current_test_info()->name() + ".txt";
}

void WriteBytes(const char* name, const std::string& bytes) {
    FILE* file = std::fopen(name, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

std::string ReadBytes(const char* name) {
    std::string bytes;
    FILE* file = std::fopen(name, "rb");
    if (file == nullptr) return bytes;
    for (int c; (c = std::fgetc(file)) != EOF;) bytes += static_cast<char>(c);
    std::fclose(file);
    return bytes;
}

}  // namespace

TEST(StringContainer, ReadFromFileLineEnds) {
    const std::string file = TestFile();
    const char* kFile = file.c_str();
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"a\r\nb\r\n", "a|b"},
        {"a\nb", "a|b"},
        {"a\n\nb\n", "a||b"},
        {"", ""},
        {"\r\n", ""},
        {"x\ry\n", "x\ry"},
    };
    for (const auto& c : cases) {
        WriteBytes(kFile, c.first);
        TStringContainer lines;
        lines.Add("replaced");
        lines.ReadFromFile(kFile);
        EXPECT_EQ(lines.GetText("|").str(), c.second);
    }
    std::remove(kFile);
    TStringContainer lines;
    EXPECT_THROW(lines.ReadFromFile("no/such/file.txt"), TSDPPFileException);
}

TEST(StringContainer, ReadCallbacksAndTruncation) {
    const std::string file = TestFile();
    const char* kFile = file.c_str();
    std::string content;
    for (int i = 0; i < 20000; ++i) content += "line " + std::to_string(i) + "\n";
    content += std::string(300, 'x') + "\n";
    WriteBytes(kFile, content);
    struct Progress {
        int calls = 0;
        int lastDone = 0;
        int total = 0;
    } progress;
    TStringContainer lines;
    const int longest = lines.ReadFromFileCallback(kFile, [](int total, int done, bool&, void* context) {
        Progress* p = static_cast<Progress*>(context);
        ++p->calls;
        p->lastDone = done;
        p->total = total;
    }, &progress);
    EXPECT_EQ(longest, 300);
    EXPECT_EQ(lines.GetCount(), 20001);
    EXPECT_EQ(progress.calls, 20001);  // one notice per line
    EXPECT_EQ(progress.lastDone, static_cast<int>(content.size()));
    EXPECT_EQ(progress.total, static_cast<int>(content.size()));
    EXPECT_FALSE(lines.GetReading());

    // Stopping ends the read after the line just reported, here the third,
    // which lies in the first chunk, and the 5000th, which lies in another.
    for (int limit : {3, 5000}) {
        struct Limit {
            int limit, seen = 0, done = 0;
        } stopAt{limit};
        TStringContainer stopped;
        stopped.ReadFromFileCallback(kFile, [](int, int done, bool& stop, void* context) {
            Limit* l = static_cast<Limit*>(context);
            l->done = done;
            stop = ++l->seen == l->limit;
        }, &stopAt);
        EXPECT_EQ(stopped.GetCount(), limit);
        EXPECT_EQ(stopped.Last().str(), "line " + std::to_string(limit - 1));
        EXPECT_EQ(stopAt.done, static_cast<int>(content.find("line " + std::to_string(limit) + "\n")));
    }
    WriteBytes(kFile, "a\nlast");  // a last line without a line feed is reported too
    int reports = 0;
    lines.ReadFromFileCallback(kFile, [](int total, int done, bool&, void* context) {
        ++*static_cast<int*>(context);
        EXPECT_LE(done, total);
    }, &reports);
    EXPECT_EQ(reports, 2);
    WriteBytes(kFile, content);

    struct Collected {
        int count = 0;
        std::string last;
    } collected;
    TStringContainer unused;
    unused.SetMaxLineLength(10);
    unused.ReadFromFileCallback(kFile, nullptr, &collected, [](const TString& line, int, void* context) {
        Collected* c = static_cast<Collected*>(context);
        ++c->count;
        c->last = line.str();
    });
    EXPECT_EQ(unused.GetCount(), 0);
    EXPECT_EQ(collected.count, 20001);
    EXPECT_EQ(collected.last, std::string(10, 'x'));
    EXPECT_TRUE(unused.GetTruncated());
    std::remove(kFile);
}

// Tabs are expanded after the cut to the maximum line length, in files, in
// text blocks and in the lines handed to a line callback, and the longest
// line reported is the expanded one.
TEST(StringContainer, ReadingExpandsTabsAfterTheCut) {
    const std::string file = TestFile();
    WriteBytes(file.c_str(), "a\tb\n\tc\r\nxy\tz\n");
    TStringContainer lines;
    lines.SetTabExpansion(4);
    EXPECT_EQ(lines.ReadFromFileCallback(file.c_str(), nullptr, nullptr), 5);
    EXPECT_EQ(lines.GetText("|").str(), "a   b|    c|xy  z");
    lines.SetMaxLineLength(2);
    EXPECT_EQ(lines.ReadFromFileCallback(file.c_str(), nullptr, nullptr), 5);
    EXPECT_EQ(lines.GetText("|").str(), "a   |    c|xy");
    EXPECT_TRUE(lines.GetTruncated());
    lines.SetMaxLineLength(0);
    lines.SetTabExpansion(1);
    lines.SetText("\t\tx\ny", 5);
    EXPECT_EQ(lines.GetText("|").str(), "  x|y");
    std::vector<std::string> handed;
    lines.SetTabExpansion(8);
    lines.ReadFromFileCallback(file.c_str(), nullptr, &handed, [](const TString& line, int, void* context) {
        static_cast<std::vector<std::string>*>(context)->push_back(line.str());
    });
    EXPECT_EQ(handed, (std::vector<std::string>{"a       b", "        c", "xy      z"}));
    lines.SetTabExpansion(0);
    lines.ReadFromFile(file.c_str());
    EXPECT_EQ(lines.GetText("|").str(), "a\tb|\tc|xy\tz");
    std::remove(file.c_str());
}

// A read fills the lines it recycles in place of new ones, with the
// container's capacity rule, and deletes those it does not fill (the address
// sanitizer's leak check sees any it loses); a text block reads the same way.
TEST(StringContainer, RecycledLinesAreFilledAgain) {
    const std::string file = TestFile();
    WriteBytes(file.c_str(), "one\ntwo\nthree\n");
    TStringContainer lines;
    for (int i = 0; i < 6; ++i) lines.Add(TString(std::string(200 + i, 'a' + i)));
    lines.Sort(0, 5, [](const TString* a, const TString* b, void*) { return -a->Compare(*b); }, nullptr);
    lines.SetReduceCapacity(false);
    lines.Recycle();
    EXPECT_EQ(lines.GetCount(), 0);
    lines.ReadFromFile(file.c_str());
    EXPECT_EQ(lines.GetText("|").str(), "one|two|three");
    for (int i = 0; i < lines.GetCount(); ++i) EXPECT_FALSE(lines[i].GetReduceCapacity());
    lines.SetText("x\ny\nz\nw\nv", 9);  // more lines than it held
    EXPECT_EQ(lines.GetText("|").str(), "x|y|z|w|v");
    lines.Recycle();
    EXPECT_THROW(lines.ReadFromFile("no/such/file.txt"), TSDPPFileException);
    EXPECT_EQ(lines.GetCount(), 0);
    lines.Add("kept until the end");
    lines.Recycle();  // and never read into
    std::remove(file.c_str());
}

// A container that only lends its lines neither fills nor frees them.
TEST(StringContainer, LentLinesAreNotRecycled) {
    TString lent("lent");
    TStringContainer lines;
    lines.SetFreeItems(false);
    lines.TContainer::Add(&lent);
    lines.Recycle();
    EXPECT_EQ(lines.GetCount(), 0);
    lines.SetText("new", 3);
    ASSERT_EQ(lines.GetCount(), 1);
    EXPECT_NE(&lines[0], &lent);
    EXPECT_EQ(lent.str(), "lent");
    delete &lines[0];
    lines.DeleteAll(false);
}

// Removed lines are kept for the next read, which fills them again (the
// address sanitizer's leak check sees any that go astray), in the order of
// their places in memory whatever the order of the text they came from: a
// few runs (lines removed here and there) and a text in any order (sorted,
// shuffled) alike.
TEST(StringContainer, RemovedLinesAreRecycledInMemoryOrder) {
    const auto numbered = [](int count) {
        std::string text;
        for (int i = 0; i < count; ++i) text += "a line of the text numbered " + std::to_string(i) + "\n";
        return text;
    };
    for (int count : {1000, 70000}) {
        TStringContainer lines;
        const std::string text = numbered(count);
        lines.SetText(text.data(), static_cast<int>(text.size()));
        std::vector<const TString*> held;
        for (int i = 0; i < count; ++i) held.push_back(&lines[i]);
        std::sort(held.begin(), held.end());
        lines.Shuffle(0, count - 1);
        lines.RecycleSection(count / 3, count / 2);
        lines.RecycleSection(-5, 2);
        lines.RecycleSection(count, count + 5);  // outside the list: nothing
        EXPECT_EQ(lines.GetCount(), count - (count / 2 - count / 3 + 1) - 3);
        lines.SetText(text.data(), static_cast<int>(text.size()));
        ASSERT_EQ(lines.GetCount(), count);
        EXPECT_EQ(lines[count - 1].str(), "a line of the text numbered " + std::to_string(count - 1));
        std::vector<const TString*> filled;
        for (int i = 0; i < count; ++i) filled.push_back(&lines[i]);
        EXPECT_EQ(filled, held) << count;  // the same lines, in memory order

        // A few runs: the last third removed, then the middle third, then
        // the rest recycled by the read.
        lines.RecycleSection(2 * count / 3, count - 1);
        lines.RecycleSection(count / 3, 2 * count / 3 - 1);
        lines.SetText(text.data(), static_cast<int>(text.size()));
        filled.clear();
        for (int i = 0; i < count; ++i) filled.push_back(&lines[i]);
        EXPECT_EQ(filled, held) << count;
    }
    TString lent("lent");
    TStringContainer lending;
    lending.SetFreeItems(false);
    lending.TContainer::Add(&lent);
    lending.RecycleSection(0, 0);
    EXPECT_EQ(lending.GetCount(), 0);
    lending.SetText("new", 3);
    EXPECT_NE(&lending[0], &lent);
    delete &lending[0];
    lending.DeleteAll(false);
}

// A line read gets all the room its heap block holds, so that a few
// characters more keep it in place.
TEST(StringContainer, ReadLinesGrowInPlaceByAFewCharacters) {
    TStringContainer lines;
    const std::string text = std::string(65, 'r') + "\n" + std::string(40, 's');
    lines.SetText(text.data(), static_cast<int>(text.size()));
    for (int i = 0; i < lines.GetCount(); ++i) {
        const char* storage = lines[i].c_str();
        lines[i] += ';';
        EXPECT_EQ(lines[i].c_str(), storage) << i;
    }
    EXPECT_EQ(lines.GetText("|").str(), std::string(65, 'r') + ";|" + std::string(40, 's') + ";");
}

TEST(StringContainer, WriteToFileLineEnds) {
    const std::string file = TestFile();
    const char* kFile = file.c_str();
    TStringContainer lines;
    lines.Add("a");
    lines.Add("");
    lines.Add("\xE1");
    lines.WriteToFile(kFile);
    EXPECT_EQ(ReadBytes(kFile), "a\r\n\r\n\xE1\r\n");
    lines.SetDosLineEnds(false);
    int calls = 0;
    lines.WriteToFileCallback(kFile, [](int total, int done, void* context) {
        EXPECT_EQ(total, 3);
        *static_cast<int*>(context) = done;
    }, &calls);
    EXPECT_EQ(calls, 3);
    EXPECT_EQ(ReadBytes(kFile), "a\n\n\xE1\n");
    std::remove(kFile);
    EXPECT_THROW(lines.WriteToFile("no/such/folder/out.txt"), TSDPPFileException);
    EXPECT_THROW(lines.WriteToFileCallback("no/such/folder/out.txt", nullptr, nullptr), TSDPPFileException);
}

// Lines longer than a write block and texts of many blocks come out whole;
// the result is the longest line's length; a progress handler that removes
// lines meanwhile ends the write at the new end of the list.
TEST(StringContainer, WriteToFileInBlocks) {
    const std::string file = TestFile();
    const char* kFile = file.c_str();
    TStringContainer lines;
    lines.SetDosLineEnds(false);
    std::string expected;
    for (int i = 0; i < 30000; ++i) {
        const std::string line = i == 7000 ? std::string(700000, 'w') : "line " + std::to_string(i);
        lines.Add(TString(line));
        expected += line + "\n";
    }
    EXPECT_EQ(lines.WriteToFileCallback(kFile, nullptr, nullptr), 700000);
    EXPECT_EQ(ReadBytes(kFile), expected);
    lines.WriteToFileCallback(kFile, [](int total, int done, void* context) {
        auto* list = static_cast<TStringContainer*>(context);
        EXPECT_EQ(total, list->GetCount());
        if (done == 3) list->DeleteSection(4, list->GetCount() - 1, true);
    }, &lines);
    EXPECT_EQ(ReadBytes(kFile), "line 0\nline 1\nline 2\nline 3\n");
    std::remove(kFile);
}

TEST(StringContainer, InsertListsAndDeleteSections) {
    TStringContainer lines, block;
    for (const char* s : {"1", "2", "3"}) lines.Add(s);
    block.Add("a");
    block.Add("b");
    lines.Insert(1, block);
    EXPECT_EQ(lines.GetText(",").str(), "1,a,b,2,3");
    lines.Insert(100, lines);  // inserting a list into itself at the end
    EXPECT_EQ(lines.GetCount(), 10);
    lines.Insert(-5, block);  // a position below 0 inserts at the front
    EXPECT_EQ(lines.GetText(",").str(), "a,b,1,a,b,2,3,1,a,b,2,3");
    lines.DeleteSection(0, 1, true);
    lines.DeleteSection(3, 9, true);
    EXPECT_EQ(lines.GetText(",").str(), "1,a,b");
    lines.DeleteSection(2, 1, true);
    EXPECT_EQ(lines.GetCount(), 3);
    lines.DeleteAll(true);
    EXPECT_EQ(lines.GetCount(), 0);
}

TEST(StringContainer, StringListBytes) {
    TStringContainer lines;
    lines.Add("ab");
    lines.Add("");
    TMemBuffer buffer;
    lines.WriteToMemBuffer(buffer);
    const std::vector<unsigned char> expected = {
        40, 0, 0, 0, 2, 0, 0, 0, 0, 1, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0,
        1, 0, 2, 0, 0, 0, 1, 'a', 'b', 1, 0, 0, 0, 0, 0, 1};
    ASSERT_EQ(buffer.GetSize(), 40);
    const unsigned char* block = static_cast<const unsigned char*>(buffer.GetBlock());
    EXPECT_EQ(std::vector<unsigned char>(block, block + 40), std::vector<unsigned char>(expected.begin(), expected.end()));
}

TEST(StringContainer, LoadFromResource) {
    TStringContainer lines;
    ASSERT_TRUE(lines.LoadFromResource(ContainersFixtureModule(), "HelpText"));
    ASSERT_EQ(lines.GetCount(), 4);
    EXPECT_EQ(lines[0].str(), "First line");
    EXPECT_EQ(lines[1].str(), "Second line \xE1rv\xEDzt\xFBr\xF5");
    EXPECT_EQ(lines[2].str(), "");
    EXPECT_EQ(lines[3].str(), "Last line without end");
    EXPECT_FALSE(lines.LoadFromResource(ContainersFixtureModule(), "Missing"));
    EXPECT_EQ(lines.GetCount(), 0);
}

TEST(StringContainer, KeepsCapacityWhenAsked) {
    TStringContainer lines;
    lines.SetReduceCapacity(false);
    lines.Add(TString(std::string(500, 'x')));
    lines[0].Delete(1, 499);
    EXPECT_GE(lines[0].GetCapacity(), 500);
}
