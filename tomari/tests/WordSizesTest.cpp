// Tests of TWordSizes: words kept by font and characters, growth, limits.
#include <gtest/gtest.h>

#include <string>

#include "WordSizes.h"

namespace {

HFONT Font(uintptr_t n) { return reinterpret_cast<HFONT>(n); }

TEST(WordSizes, KeepsEachWordByFontAndCharacters) {
    TWordSizes sizes;
    EXPECT_EQ(sizes.Find(Font(1), "word", 4), nullptr);
    sizes.Add(Font(1), "word", 4, SIZE{30, 13});
    sizes.Add(Font(2), "word", 4, SIZE{35, 16});
    sizes.Add(Font(1), "wor", 3, SIZE{22, 13});
    sizes.Add(Font(1), "", 0, SIZE{0, 13});
    // A word kept again keeps its first size.
    sizes.Add(Font(1), "word", 4, SIZE{99, 99});
    ASSERT_NE(sizes.Find(Font(1), "words", 4), nullptr);
    EXPECT_EQ(sizes.Find(Font(1), "words", 4)->cx, 30);
    EXPECT_EQ(sizes.Find(Font(2), "word", 4)->cx, 35);
    EXPECT_EQ(sizes.Find(Font(1), "word", 3)->cx, 22);
    EXPECT_EQ(sizes.Find(Font(1), "x", 0)->cy, 13);
    EXPECT_EQ(sizes.Find(Font(3), "word", 4), nullptr);
    EXPECT_EQ(sizes.Find(Font(1), "Word", 4), nullptr);
    EXPECT_EQ(sizes.Find(nullptr, "word", 4), nullptr);
    sizes.Clear();
    EXPECT_EQ(sizes.Find(Font(1), "word", 4), nullptr);
}

// Words of every length up to past the longest kept differ from those
// with any one character changed.
TEST(WordSizes, EveryCharacterOfAWordCounts) {
    for (int length = 1; length <= TWordSizes::kLongestWord; ++length) {
        TWordSizes sizes;
        std::string word;
        for (int i = 0; i < length; ++i) word += char('a' + i % 26);
        sizes.Add(Font(1), word.data(), length, SIZE{length, 1});
        ASSERT_NE(sizes.Find(Font(1), word.data(), length), nullptr) << length;
        for (int i = 0; i < length; ++i) {
            std::string other = word;
            other[size_t(i)] = '\xE1';
            EXPECT_EQ(sizes.Find(Font(1), other.data(), length), nullptr) << length << " " << i;
        }
    }
}

TEST(WordSizes, GrowsAndDropsAllWhenFull) {
    TWordSizes sizes;
    const int count = int(TWordSizes::kMostWords);
    for (int i = 0; i < count; ++i) {
        const std::string word = "w" + std::to_string(i);
        sizes.Add(Font(1), word.data(), int(word.size()), SIZE{i, 1});
    }
    for (int i = 0; i < count; i += 97) {
        const std::string word = "w" + std::to_string(i);
        const SIZE* kept = sizes.Find(Font(1), word.data(), int(word.size()));
        ASSERT_NE(kept, nullptr) << word;
        EXPECT_EQ(kept->cx, i);
    }
    sizes.Add(Font(1), "last", 4, SIZE{7, 1});
    EXPECT_EQ(sizes.Find(Font(1), "w0", 2), nullptr);
    ASSERT_NE(sizes.Find(Font(1), "last", 4), nullptr);
    // Long words are measured each time.
    const std::string longWord(TWordSizes::kLongestWord + 1, 'x');
    sizes.Add(Font(1), longWord.data(), int(longWord.size()), SIZE{1, 1});
    EXPECT_EQ(sizes.Find(Font(1), longWord.data(), int(longWord.size())), nullptr);
}

}  // namespace
