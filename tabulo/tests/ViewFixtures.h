// Shared by the statistics views' tests: a character table in which every
// printable character has a glyph of its own (so that a picture shows which
// text was written), a form fixture that reads it as "arial" 10, and readers
// of a view's buffer and of its state record.
#pragma once

#include <cstdint>
#include <iterator>
#include <string>
#include <vector>

#include "CHRText.h"
#include "MemBuffer.h"
#include "TabuloFixtures.h"

// Height 5, width 4 (the fourth column empty) for '!' to '~': the top-left
// dot is always set and the character's seven bits fill the next seven dots
// row by row. A space is 2 wide without dots.
inline TCHRTable CodeTable() {
    TCHRTable table;
    table.SetHeight(5);
    for (int c = '!'; c <= '~'; ++c) {
        std::vector<uint8_t> dots(4 * 5, 0);
        dots[0] = 1;
        for (int bit = 0; bit < 7; ++bit) {
            const int cell = bit + 1, row = cell / 3, column = cell % 3;
            dots[size_t(row * 4 + column)] = uint8_t((c >> bit) & 1);
        }
        table.AddGlyph(uint8_t(c), 4, dots);
    }
    table.SetCharWidthOnly(' ', 2);
    return table;
}

// Every dot of the rectangle, both corners included.
inline Dots Rect(int left, int top, int right, int bottom) {
    Dots dots;
    for (int y = top; y <= bottom; ++y)
        for (int x = left; x <= right; ++x) dots.insert({x, y});
    return dots;
}
inline Dots Joined(Dots a, const Dots& b) {
    a.insert(b.begin(), b.end());
    return a;
}
inline Dots Without(Dots a, const Dots& b) {
    for (const auto& dot : b) a.erase(dot);
    return a;
}

// The dots of the outline of a width x height rectangle at (0, 0).
inline Dots Outline(int width, int height) {
    return Joined(Joined(Rect(0, 0, width - 1, 0), Rect(0, height - 1, width - 1, height - 1)),
                  Joined(Rect(0, 0, 0, height - 1), Rect(width - 1, 0, width - 1, height - 1)));
}

// TabuloTest with the code table as every view's "arial" 10.
class ViewTest : public TabuloTest {
protected:
    // The dots of text drawn at (x, y) with the code table on a canvas the
    // size of the view (rotation 1 reads upwards).
    template <class View>
    Dots TextDots(View* view, int x, int y, const std::string& text, uint8_t rotation = chrRotate0) {
        return DrawnDots(view->GetWidth(), view->GetHeight(), [&](const TSetIDPixel& setter) {
            DrawCHRText(table, x, y, text.c_str(), setter, rotation, 0, 1, 1, 0);
        });
    }
    // The view's buffer dots of one colour.
    template <class View>
    static Dots ViewDots(View* view, TColor colour) {
        TBitmap copy;
        view->GetBuffer(&copy);
        return PixelsOfColour(&copy, colour);
    }
    template <class View>
    static TColor ViewPixel(View* view, int x, int y) {
        TBitmap copy;
        view->GetBuffer(&copy);
        return BufferPixel(&copy, x, y);
    }
    // Moves the mouse to a point of a control on the form.
    void MoveOver(TControl* control, int x, int y) {
        driver.MoveMouse(form->GetHandle(), control->GetLeft() + x, control->GetTop() + y);
    }

    const TCHRTable table = CodeTable();
    TinyTableFolder codeTables{table};
};

// A memory device context with a 32-bit picture selected, freed with it.
class MemoryPicture {
public:
    MemoryPicture(int width, int height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous_ = SelectObject(dc_, bitmap_);
    }
    ~MemoryPicture() {
        SelectObject(dc_, previous_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    TColor Pixel(int x, int y) const { return TColor(GetPixel(dc_, x, y)); }

private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
};

// The bytes of a memory buffer.
inline std::vector<uint8_t> BufferBytes(const TMemBuffer& buffer) {
    const auto* block = static_cast<const uint8_t*>(buffer.GetBlock());
    return block == nullptr ? std::vector<uint8_t>() : std::vector<uint8_t>(block, block + buffer.GetSize());
}

// A memory buffer holding the bytes, read position 0.
inline void FillBuffer(TMemBuffer& buffer, const std::vector<uint8_t>& bytes) {
    buffer.Clear();
    buffer.Add(bytes.data(), int(bytes.size()));
}

// A small random number generator of the tests' own, so that every run
// mutates state records the same way.
class TestRandom {
public:
    explicit TestRandom(uint32_t seed) : state_(seed ? seed : 1) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    int Below(int limit) { return int(Next() % uint32_t(limit)); }

private:
    uint32_t state_;
};

// Damaged forms of a state record: every truncation, and a bounded number
// of copies with bytes flipped or ints at random places set to telling
// values (negative, huge, one past what remains).
inline std::vector<std::vector<uint8_t>> DamagedRecords(const std::vector<uint8_t>& record, int mutations) {
    std::vector<std::vector<uint8_t>> damaged;
    for (size_t length = 0; length < record.size(); ++length)
        damaged.emplace_back(record.begin(), record.begin() + std::ptrdiff_t(length));
    TestRandom random(12345);
    const int32_t telling[] = {-1, INT32_MIN, INT32_MAX, 0x10000000, int32_t(record.size()), 0, 1};
    for (int m = 0; m < mutations && !record.empty(); ++m) {
        std::vector<uint8_t> copy = record;
        const int changes = 1 + random.Below(3);
        for (int c = 0; c < changes; ++c) {
            const size_t at = size_t(random.Below(int(copy.size())));
            if (random.Below(2) == 0 || at + 4 > copy.size()) {
                copy[at] = uint8_t(random.Next());
            } else {
                const int32_t value = telling[random.Below(int(std::size(telling)))];
                for (int b = 0; b < 4; ++b) copy[at + size_t(b)] = uint8_t(uint32_t(value) >> (8 * b));
            }
        }
        damaged.push_back(copy);
    }
    return damaged;
}

// Every pixel of a view's buffer, row by row.
template <class View>
std::vector<TColor> BufferPixels(View* view) {
    TBitmap copy;
    view->GetBuffer(&copy);
    std::vector<TColor> pixels;
    for (int y = 0; y < copy.GetHeight(); ++y)
        for (int x = 0; x < copy.GetWidth(); ++x) pixels.push_back(BufferPixel(&copy, x, y));
    return pixels;
}

// The source's state record, read by the target, leaves nothing unread,
// writes the same record again and gives the same picture.
template <class View>
void ExpectStateRoundTrip(View* source, View* target) {
    TMemBuffer record;
    source->GetState(record);
    ASSERT_TRUE(target->SetState(record));
    EXPECT_EQ(record.GetRemaining(), 0);
    TMemBuffer again;
    target->GetState(again);
    EXPECT_EQ(BufferBytes(again), BufferBytes(record));
    EXPECT_EQ(BufferPixels(target), BufferPixels(source));
    EXPECT_FALSE(BufferPixels(target).empty());
}

// Offers the view every damaged form of the record: each one it refuses
// must leave its state record and the buffer's read position as they were;
// each one it takes must pass consistent(view), after which the view gets
// its first state back. Counts of both, so that a test sees both happen.
struct TDamageOutcome {
    int refused = 0, restored = 0;
};
template <class View, class Consistent>
TDamageOutcome OfferDamagedRecords(View* view, const TMemBuffer& record, Consistent consistent) {
    TMemBuffer before;
    view->GetState(before);
    TDamageOutcome outcome;
    for (const std::vector<uint8_t>& bytes : DamagedRecords(BufferBytes(record), 3000)) {
        TMemBuffer damaged;
        FillBuffer(damaged, bytes);
        if (!view->SetState(damaged)) {
            ++outcome.refused;
            EXPECT_EQ(damaged.GetReadPosition(), 0);
            TMemBuffer now;
            view->GetState(now);
            EXPECT_EQ(BufferBytes(now), BufferBytes(before));
            continue;
        }
        ++outcome.restored;
        consistent(view);
        TMemBuffer reset;
        FillBuffer(reset, BufferBytes(before));
        EXPECT_TRUE(view->SetState(reset));
    }
    return outcome;
}
