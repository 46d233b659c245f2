// Tests of TEvalStack: growth, text ownership on push and pop, buffered strings, separators and the buffer pool.
#include <gtest/gtest.h>

#include <ctime>
#include <vector>

#include "EvalStack.h"

namespace {

EXPRESSION_ITEM OwnedText(TString* text) {
    EXPRESSION_ITEM item = MakeItem(ekOwnedText);
    item.value.text.text = text;
    return item;
}

TEST(EvalStackTest, GrowsByDoublingAndKeepsItems) {
    TEvalStack stack;
    EXPECT_EQ(stack.GetCapacity(), 32);
    for (int i = 0; i < 70; ++i) stack.Push(MakeIntegerItem(i), false);
    EXPECT_EQ(stack.GetCapacity(), 128);
    EXPECT_EQ(stack.GetCount(), 70);
    for (int i = 0; i < 70; ++i) EXPECT_EQ(stack.Top(i)->value.integer, 69 - i);
}

TEST(EvalStackTest, PushingItsOwnTopAcrossGrowth) {
    TEvalStack stack;
    stack.Push(OwnedText(new TString("t")), false);
    for (int i = 0; i < 40; ++i) stack.Push(*stack.Top(0), true);
    EXPECT_EQ(stack.GetCount(), 41);
    EXPECT_NE(stack.Top(0)->value.text.text, stack.Top(1)->value.text.text);
    EXPECT_EQ(*stack.Top(40)->value.text.text, TString("t"));
    stack.Pop(41);
}

TEST(EvalStackTest, OwnedTextIsCopiedOrTakenOver) {
    TEvalStack stack;
    TString mine("mine");
    stack.Push(OwnedText(&mine), true);
    EXPRESSION_ITEM popped;
    stack.Pop(popped);
    ASSERT_NE(popped.value.text.text, &mine);
    EXPECT_EQ(*popped.value.text.text, mine);
    delete popped.value.text.text;

    TString* given = new TString("given");
    stack.Push(OwnedText(given), false);
    stack.Pop(popped);
    EXPECT_EQ(popped.value.text.text, given);
    delete given;
}

TEST(EvalStackTest, NullTextNeverReachesTheStack) {
    TEvalStack stack;
    for (bool copy : {true, false}) {
        stack.Push(OwnedText(nullptr), copy);
        ASSERT_NE(stack.Top(0)->value.text.text, nullptr);
        EXPECT_TRUE(stack.Top(0)->value.text.text->IsEmpty());
        stack.Pop(1);
    }
}

TEST(EvalStackTest, PopCountReleasesOwnedAndBufferedTexts) {
    TEvalStack stack;
    TString borrowed("borrowed");
    EXPRESSION_ITEM item19 = MakeItem(ekBorrowedText);
    item19.value.text.text = &borrowed;
    stack.Push(item19, false);
    stack.Push(OwnedText(new TString("owned")), false);
    EXPRESSION_ITEM item20 = MakeItem(ekBufferedText);
    item20.value.text.slot = stack.GetBufferedString(item20.value.text.text);
    *item20.value.text.text = "buffered";
    stack.Push(item20, false);
    EXPECT_EQ(stack.GetLentStringCount(), 1);
    stack.Pop(10);  // more than there are: empties the stack (the owned text is freed, as ASan checks)
    EXPECT_EQ(stack.GetCount(), 0);
    EXPECT_EQ(stack.GetLentStringCount(), 0);
    EXPECT_EQ(borrowed, TString("borrowed"));
}

TEST(EvalStackTest, EmptyStackGivesErrorItems) {
    TEvalStack stack;
    EXPRESSION_ITEM popped = MakeIntegerItem(5);
    stack.Pop(popped);
    EXPECT_EQ(popped.kind, ekError);
    EXPECT_EQ(stack.GetCount(), 0);
    EXPECT_EQ(stack.Top(0)->kind, ekError);
    stack.Push(MakeIntegerItem(1), false);
    EXPECT_EQ(stack.Top(1)->kind, ekError);
    EXPECT_EQ(stack.Top(-1)->kind, ekError);
    stack.SetNoVar();
    EXPECT_EQ(stack.Top(0)->ref.index, -1);
}

TEST(EvalStackTest, StringHeapGrowsBeyondSixteenSlots) {
    TEvalStack stack;
    std::vector<int> slots;
    std::vector<TString*> texts;
    for (int i = 0; i < 40; ++i) {
        TString* text = nullptr;
        slots.push_back(stack.GetBufferedString(text));
        ASSERT_NE(text, nullptr);
        *text = TString(i);
        texts.push_back(text);
    }
    for (int i = 0; i < 40; ++i) EXPECT_EQ(texts[i]->ToInt(), i);
    for (int slot : slots) stack.ReleaseBufferedString(slot);
    stack.ReleaseBufferedString(slots[0]);  // twice: ignored
    EXPECT_EQ(stack.GetLentStringCount(), 0);
}

TEST(EvalStackTest, SeparatorsAndWordSeparators) {
    TEvalStack stack;
    int count = 0;
    for (int c = 0; c < 256; ++c) count += stack.IsSeparator(static_cast<unsigned char>(c));
    EXPECT_EQ(count, 32);
    for (char c : {' ', '\t', '\n', '\r', '"', '\'', '[', ']', '@', '~'}) EXPECT_TRUE(stack.IsSeparator(c)) << c;
    for (char c : {'a', '_', '0', '|', '\\', '`'}) EXPECT_FALSE(stack.IsSeparator(c)) << c;
    EXPECT_FALSE(stack.IsWordSeparator(' '));
    stack.SetWordSeparator(' ', true);
    EXPECT_TRUE(stack.IsWordSeparator(' '));
    stack.ClearWordSeparators();
    EXPECT_FALSE(stack.IsWordSeparator(' '));
}

TEST(EvalStackTest, BufferPoolLendsByCapacity) {
    TEvalStack stack;
    TMemBuffer* first = nullptr;
    TMemBuffer* second = nullptr;
    EXPECT_EQ(stack.GetBuffer(100, first), 0);
    EXPECT_EQ(stack.GetBuffer(100, second), 1);
    EXPECT_NE(first, second);
    EXPECT_GE(first->GetCapacity(), 100);
    first->AddInt(7);
    stack.ReleaseBuffer(first);
    // Large enough: the released buffer comes back, emptied, and the pool does not grow.
    for (int round = 0; round < 3; ++round) {
        TMemBuffer* again = nullptr;
        EXPECT_EQ(stack.GetBuffer(50, again), 0);
        EXPECT_EQ(again, first);
        EXPECT_EQ(again->GetSize(), 0);
        stack.ReleaseBuffer(again);
    }
    EXPECT_EQ(stack.GetBufferPoolSize(), 2);
    // Too small for the request: a new buffer.
    TMemBuffer* big = nullptr;
    EXPECT_EQ(stack.GetBuffer(100000, big), 2);
    EXPECT_NE(big, first);
    stack.ReleaseBuffer(nullptr);
    stack.ReleaseBuffer(second);
    stack.ReleaseBuffer(big);
}

TEST(EvalStackTest, StacksMadeInTheSameSecondStartTheSameSequence) {
    // Retried when the clock ticks over between the two constructions.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::time_t before = std::time(nullptr);
        uint32_t first = 0;
        {
            TEvalStack stack;
            first = stack.FirstRandom().Next();
        }
        TEvalStack other;
        const uint32_t second = other.SecondRandom().Next();
        if (std::time(nullptr) != before) continue;
        EXPECT_EQ(first, second);
        return;
    }
}

}  // namespace
