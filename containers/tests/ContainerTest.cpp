// Tests of TContainer: list operations, sorting, conditions and the storage form
// of nested containers.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <new>
#include <random>
#include <sstream>
#include <thread>
#include <vector>

#include "MemBuffer.h"
#include "ObjectContainer.h"
#include "StringContainer.h"
#include "ValueContainers.h"

namespace {

// Byte images written independently of the code under test.
struct Bytes : std::vector<unsigned char> {
    Bytes& U32(uint32_t v) {
        for (int k = 0; k < 4; ++k) push_back(static_cast<unsigned char>(v >> (8 * k)));
        return *this;
    }
    Bytes& Raw(std::initializer_list<unsigned char> bytes) {
        insert(end(), bytes);
        return *this;
    }
    Bytes& Text(const std::string& text) {
        U32(static_cast<uint32_t>(text.size()));
        push_back(1);
        insert(end(), text.begin(), text.end());
        return *this;
    }
    Bytes& PatchU32(size_t at, uint32_t v) {
        for (int k = 0; k < 4; ++k) (*this)[at + static_cast<size_t>(k)] = static_cast<unsigned char>(v >> (8 * k));
        return *this;
    }
};

std::vector<unsigned char> Image(const TMemBuffer& buffer) {
    const unsigned char* block = static_cast<const unsigned char*>(buffer.GetBlock());
    return std::vector<unsigned char>(block, block + buffer.GetSize());
}

const std::initializer_list<unsigned char> kListFlags = {0, 1, 1, 0, 0, 0, 0, 1, 1, 0, 0, 0};

// A help topic: its names and its source, as the topic index stores them.
class TTopic : public TContainerItem {
public:
    TStringContainer Names;
    TString Source;
    void Assign(const TContainerItem& source) override {
        const TTopic& topic = static_cast<const TTopic&>(source);
        Names = topic.Names;
        Source = topic.Source;
    }
    void WriteToMemBuffer(TMemBuffer& buffer) const override {
        Names.WriteToMemBuffer(buffer);
        Source.WriteToMemBuffer(buffer);
    }
    bool ReadFromMemBuffer(TMemBuffer& buffer) override {
        return Names.ReadFromMemBuffer(buffer) && Source.ReadFromMemBuffer(buffer);
    }
};
using TTopics = TObjectContainer<TTopic>;

// An image link area: a polygon, a target and a target panel.
class TImageLink : public TContainerItem {
public:
    TPointContainer Polygon;
    TString Target, Panel;
    void WriteToMemBuffer(TMemBuffer& buffer) const override {
        Polygon.WriteToMemBuffer(buffer);
        Target.WriteToMemBuffer(buffer);
        Panel.WriteToMemBuffer(buffer);
    }
    bool ReadFromMemBuffer(TMemBuffer& buffer) override {
        return Polygon.ReadFromMemBuffer(buffer) && Target.ReadFromMemBuffer(buffer) && Panel.ReadFromMemBuffer(buffer);
    }
};

// A plain object container with its class's own settings: default flags, increment 8.
class TImageLinks : public TContainer {
public:
    TImageLinks() { SetIncrement(8); }
    void* CreateItem(int) override { return static_cast<TContainerItem*>(new TImageLink); }
    TImageLink& operator[](int i) const { return static_cast<TImageLink&>(*static_cast<TContainerItem*>(GetItem(i))); }
};

std::vector<int> Values(const TIntContainer& list) {
    std::vector<int> values;
    for (int i = 0; i < list.GetCount(); ++i) values.push_back(list[i]);
    return values;
}

TIntContainer IntsOf(std::initializer_list<int> values) {
    TIntContainer list;
    for (int v : values) list.Add(v);
    return list;
}

// Runs the stages on a background thread, each stage's jobs on threads of their own.
class TThreadSortRunner : public TContainerSortRunner {
public:
    ~TThreadSortRunner() override { Wait(); }
    void RunStages(int group, std::vector<std::vector<TJob>> stages) override {
        lastGroup = group;
        worker = std::thread([stages = std::move(stages)] {
            for (const auto& stage : stages) {
                std::vector<std::thread> threads;
                for (const auto& job : stage) threads.emplace_back(job);
                for (auto& thread : threads) thread.join();
            }
        });
    }
    void Wait() {
        if (worker.joinable()) worker.join();
    }
    int lastGroup = -1;
    std::thread worker;
};

}  // namespace

TEST(Container, NestedTopicIndexBytesUseAbsoluteEndOffsets) {
    TTopics topics;
    TTopic* first = topics.NewItem();
    first->Names.Add("About");
    first->Names.Add("  Start");
    first->Source = "index.vgt";
    TTopic* second = topics.NewItem();
    second->Names.Add("Grid");
    second->Source = "grid.vgt";
    TMemBuffer buffer;
    topics.WriteToMemBuffer(buffer);

    Bytes expected;
    expected.U32(0).U32(2).U32(16).Raw(kListFlags);
    expected.Raw({1, 0});
    const size_t names1 = expected.size();
    expected.U32(0).U32(2).U32(256).Raw(kListFlags).Raw({1, 0}).Text("About").Raw({1, 0}).Text("  Start");
    expected.PatchU32(names1, static_cast<uint32_t>(expected.size()));
    expected.Text("index.vgt");
    expected.Raw({1, 0});
    const size_t names2 = expected.size();
    expected.U32(0).U32(1).U32(256).Raw(kListFlags).Raw({1, 0}).Text("Grid");
    expected.PatchU32(names2, static_cast<uint32_t>(expected.size()));
    expected.Text("grid.vgt");
    expected.PatchU32(0, static_cast<uint32_t>(expected.size()));
    EXPECT_EQ(Image(buffer), expected);

    TTopics back;
    ASSERT_TRUE(back.ReadFromMemBuffer(buffer));
    ASSERT_EQ(back.GetCount(), 2);
    EXPECT_EQ(back[0].Names[1].str(), "  Start");
    EXPECT_EQ(back[1].Source.str(), "grid.vgt");
}

TEST(Container, ImageLinksFileUsesTheMemoryForm) {
    TImageLinks links;
    TImageLink* link = new TImageLink;
    link->Polygon.Add(POINT{43, 31}, POINT{449, 31}, POINT{449, 49}, POINT{45, 49});
    link->Target = "mainwindow_expression.vgt";
    link->Panel = "main_window_elements_panel";
    links.Add(static_cast<TContainerItem*>(link));

    Bytes expected;
    expected.U32(0).U32(1).U32(8).Raw({0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0}).Raw({1, 0});
    const size_t polygon = expected.size();
    expected.U32(0).U32(4).U32(16).Raw({1, 0, 1, 8, 0, 0, 0, 1, 1, 0, 0, 0});
    expected.U32(43).U32(31).U32(449).U32(31).U32(449).U32(49).U32(45).U32(49);
    expected.PatchU32(polygon, static_cast<uint32_t>(expected.size()));
    expected.Text("mainwindow_expression.vgt").Text("main_window_elements_panel");
    expected.PatchU32(0, static_cast<uint32_t>(expected.size()));

    const std::string path = testing::TempDir() + "containers_links_test.ald";
    const char* name = path.c_str();
    links.SaveToFile(name);
    FILE* file = std::fopen(name, "rb");
    ASSERT_NE(file, nullptr);
    std::vector<unsigned char> stored(expected.size() + 10);
    stored.resize(std::fread(stored.data(), 1, stored.size(), file));
    std::fclose(file);
    EXPECT_EQ(stored, expected);

    TImageLinks back;
    back.ReadFromFile(name);
    std::remove(name);
    ASSERT_EQ(back.GetCount(), 1);
    EXPECT_EQ(back[0].Polygon[2].x, 449);
    EXPECT_EQ(back[0].Panel.str(), "main_window_elements_panel");
    EXPECT_THROW(back.ReadFromFile("no/such/file.ald"), TSDPPFileException);
}

TEST(Container, DamagedFormsFailAndKeepWhatWasRead) {
    TStringContainer lines;
    lines.Add("one");
    lines.Add("two");
    TMemBuffer buffer;
    lines.WriteToMemBuffer(buffer);
    const std::vector<unsigned char> good = Image(buffer);
    struct Case {
        const char* name;
        size_t at;
        unsigned char value;
        int kept;
    };
    const std::vector<Case> cases = {
        {"end offset too small", 0, 3, 0},
        {"count beyond what remains", 5, 0x10, 0},
        {"value mode flag", 12, 1, 0},
        {"bad item mark", 24 + 10, 7, 1},
        {"string longer than the block", 24 + 2 + 8 + 2, 200, 1},
        // 00 00 marks a null item, which a string list never holds (it was
        // kept and crashed whoever read the line).
        {"null line", 24 + 10, 0, 1},
    };
    for (const Case& c : cases) {
        std::vector<unsigned char> bytes = good;
        bytes[c.at] = c.value;
        TMemBuffer source;
        source.Add(bytes.data(), static_cast<int>(bytes.size()));
        TStringContainer back;
        EXPECT_FALSE(back.ReadFromMemBuffer(source)) << c.name;
        EXPECT_EQ(back.GetCount(), c.kept) << c.name;
    }
    TIntContainer wrongKind;
    buffer.SeekRead(0);
    EXPECT_FALSE(wrongKind.ReadFromMemBuffer(buffer));

    // An object container hands its items out as references: no null item either.
    Bytes nullTopic;
    nullTopic.U32(0).U32(1).U32(16).Raw(kListFlags).Raw({0, 0});
    nullTopic.PatchU32(0, static_cast<uint32_t>(nullTopic.size()));
    TMemBuffer topicSource;
    topicSource.Add(nullTopic.data(), static_cast<int>(nullTopic.size()));
    TTopics topics;
    EXPECT_FALSE(topics.ReadFromMemBuffer(topicSource));
    EXPECT_EQ(topics.GetCount(), 0);
}

TEST(Container, DeletionAndRanges) {
    TIntContainer list = IntsOf({0, 1, 2, 3, 4, 5});
    list.DeleteSection(4, 2);  // inverted: nothing
    EXPECT_EQ(list.GetCount(), 6);
    list.DeleteSection(4, 100);
    EXPECT_EQ(Values(list), (std::vector<int>{0, 1, 2, 3}));
    list.DeleteFirst();
    list.DeleteLast();
    list.Delete(10);
    EXPECT_EQ(Values(list), (std::vector<int>{1, 2}));
    EXPECT_THROW(list.GetItem(2), TSDPPBadIndex);
    EXPECT_THROW(list[-1], TSDPPBadIndex);

    TIntContainer ranges = IntsOf({0, 1, 2, 3, 4, 5, 6});
    ranges.Exchange(5, 6, 0, 1);
    EXPECT_EQ(Values(ranges), (std::vector<int>{5, 6, 2, 3, 4, 0, 1}));
    ranges.Exchange(0, 3, 3, 4);  // overlapping: nothing
    ranges.Exchange(0, 6);
    EXPECT_EQ(Values(ranges), (std::vector<int>{1, 6, 2, 3, 4, 0, 5}));
}

TEST(Container, ObjectItemsAreFreedOnlyWhenAsked) {
    TStringContainer lines;
    lines.Add("a");
    lines.Add("b");
    TString* kept = &lines[0];
    lines.Delete(0, false);  // not freed: the caller owns it now
    EXPECT_EQ(kept->str(), "a");
    delete kept;
    EXPECT_TRUE(lines.DeleteItem(&lines[0], true));
    EXPECT_EQ(lines.GetCount(), 0);
    EXPECT_FALSE(lines.DeleteItem(nullptr, true));
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Emptying a container, as its destructor does, asks for no memory: one
// filled until the memory ran out still goes. Run in a child whose address
// space is limited (the sanitizers need theirs whole).
TEST(Container, EmptyingNeedsNoMemory) {
    const auto inLimitedChild = [] {
        rlimit limit{};
        getrlimit(RLIMIT_AS, &limit);
        limit.rlim_cur = 512ul * 1024ul * 1024ul;
        setrlimit(RLIMIT_AS, &limit);
        int count = 0;
        {
            TStringContainer lines;
            const TString line(std::string(1000, 'x'));
            try {
                for (;;) lines.Add(line);
            } catch (const std::bad_alloc&) {
            }
            count = lines.GetCount();
        }
        std::exit(count > 1000 ? 0 : 1);
    };
    EXPECT_EXIT(inLimitedChild(), ::testing::ExitedWithCode(0), "");
}
#endif

TEST(Container, SwapConcatAndAssign) {
    TStringContainer a, b;
    a.Add("a1");
    b.Add("b1");
    b.Add("b2");
    EXPECT_TRUE(a.Swap(b));
    EXPECT_EQ(a.GetCount(), 2);
    EXPECT_EQ(b[0].str(), "a1");
    a += a;  // concatenating with itself doubles it
    EXPECT_EQ(a.GetText(",").str(), "b1,b2,b1,b2");
    TStringContainer copy(a);
    a[0] = "changed";
    EXPECT_EQ(copy[0].str(), "b1");
    TIntContainer ints;
    EXPECT_FALSE(ints.Swap(a));
    EXPECT_FALSE(ints.Concat(a));
}

TEST(Container, RearrangeAndShuffle) {
    TStringContainer lines;
    for (const char* s : {"a", "b", "c", "d"}) lines.Add(s);
    const int order[] = {2, 0, 3, 1};
    EXPECT_TRUE(lines.Rearrange(order));
    EXPECT_EQ(lines.GetText(",").str(), "c,a,d,b");
    const int repeated[] = {0, 0, 1, 2};
    EXPECT_FALSE(lines.Rearrange(repeated));
    const int outside[] = {0, 1, 2, 4};
    EXPECT_FALSE(lines.Rearrange(outside));
    EXPECT_EQ(lines.GetText(",").str(), "c,a,d,b");

    TIntContainer ints;
    for (int i = 0; i < 100; ++i) ints.Add(i);
    ints.Shuffle(10, 89);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(ints[i], i);
    for (int i = 90; i < 100; ++i) EXPECT_EQ(ints[i], i);
    ints.Sort();
    for (int i = 0; i < 100; ++i) EXPECT_EQ(ints[i], i);
}

TEST(Container, SortIsStableOverARange) {
    TStringContainer lines;
    for (const char* s : {"z", "b2", "a", "b1", "c", "y"}) lines.Add(s);
    // Compare by the first character only, so b2 and b1 are equal keys.
    lines.Sort(1, 4, [](const TString* a, const TString* b, void*) {
        return static_cast<int>(static_cast<unsigned char>((*a)[0])) - static_cast<unsigned char>((*b)[0]);
    }, nullptr);
    EXPECT_EQ(lines.GetText(",").str(), "z,a,b2,b1,c,y");
    lines.Sort();
    EXPECT_EQ(lines.GetText(",").str(), "a,b1,b2,c,y,z");
}

TEST(Container, SortThroughARunnerMatchesThePlainSort) {
    std::mt19937 random(7);
    TIntPairContainer pairs, expected;
    for (int i = 0; i < 5000; ++i) {
        const TIntPair pair{static_cast<int>(random() % 50), i};
        pairs.Add(pair);
        expected.Add(pair);
    }
    // Compare by first only: stability shows in the second members.
    auto byFirst = [](const void* a, const void* b, void*) {
        return static_cast<const TIntPair*>(a)->first - static_cast<const TIntPair*>(b)->first;
    };
    expected.Sort(0, 4999, byFirst, nullptr);
    TThreadSortRunner runner;
    pairs.SetSortRunner(&runner, 300);
    pairs.Sort(0, 4999, byFirst, nullptr);
    runner.Wait();
    EXPECT_EQ(runner.lastGroup, 0);
    for (int i = 0; i < 5000; ++i) {
        ASSERT_EQ(pairs[i].first, expected[i].first) << i;
        ASSERT_EQ(pairs[i].second, expected[i].second) << i;
    }
}

TEST(Container, GetItemsIfAndRemoveIfConditions) {
    const TIntContainer list = IntsOf({5, 1, 5, 9, 3});
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {icEqual, {0, 2}},        {icNotEqual, {1, 3, 4}},   {icLess, {1, 4}},
        {icLessOrEqual, {0, 1, 2, 4}}, {icGreater, {3}}, {icGreaterOrEqual, {0, 2, 3}}, {99, {}},
    };
    for (const auto& c : cases) {
        TIntContainer found;
        EXPECT_EQ(list.GetItemsIf(5, c.first, found), static_cast<int>(c.second.size()));
        EXPECT_EQ(Values(found), c.second) << c.first;
    }
    TIntContainer removable = IntsOf({5, 1, 5, 9, 3});
    TIntContainer removed;
    EXPECT_EQ(removable.RemoveIf(5, icGreaterOrEqual, removed), 3);
    EXPECT_EQ(Values(removable), (std::vector<int>{1, 3}));
    EXPECT_EQ(Values(removed), (std::vector<int>{0, 2, 3}));
}

TEST(Container, IndexOfUsesTheItemComparison) {
    TStringContainer lines;
    lines.Add("x");
    lines.Add("y");
    EXPECT_EQ(lines.IndexOf(TString("y")), 1);
    EXPECT_EQ(lines.IndexOf(TString("q")), -1);
    TDoubleContainer doubles;
    doubles.Add(0.5, 1.5);
    EXPECT_EQ(doubles.IndexOf(1.5), 1);
    EXPECT_EQ(doubles.IndexOf(2.5), -1);
}

TEST(Container, StandardStreamsCarryTheFileForm) {
    TStringContainer first, second;
    first.Add("one");
    second.Add("two");
    second.Add("three");
    std::stringstream stream;
    first.WriteToStdStream(stream);
    second.WriteToStdStream(stream);
    TStringContainer a, b, c;
    EXPECT_TRUE(a.ReadFromStdStream(stream));
    EXPECT_TRUE(b.ReadFromStdStream(stream));
    EXPECT_FALSE(c.ReadFromStdStream(stream));
    EXPECT_EQ(a.GetText(",").str(), "one");
    EXPECT_EQ(b.GetText(",").str(), "two,three");
}
