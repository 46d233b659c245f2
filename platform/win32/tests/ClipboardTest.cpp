// The clipboard: open/close discipline, CF_TEXT and CF_DIB round trips in
// global memory, ownership of blocks, and the desktop text exchange.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>

#include "Win32.h"

namespace {

HGLOBAL TextBlock(const std::string& text) {
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    std::memcpy(GlobalLock(block), text.data(), text.size());
    GlobalUnlock(block);
    return block;
}

std::string BlockText(HGLOBAL block) {
    const char* bytes = static_cast<const char*>(GlobalLock(block));
    std::string text = bytes != nullptr ? bytes : "<bad>";
    GlobalUnlock(block);
    return text;
}

class ClipboardTest : public ::testing::Test {
protected:
    void SetUp() override { win32::ResetClipboard(); }
    void TearDown() override {
        win32::ConnectDesktopClipboard(nullptr);
        win32::ResetClipboard();
    }
    void Put(UINT format, HGLOBAL block) {
        ASSERT_TRUE(OpenClipboard(nullptr));
        ASSERT_TRUE(EmptyClipboard());
        ASSERT_EQ(SetClipboardData(format, block), block);
        ASSERT_TRUE(CloseClipboard());
    }
};

TEST_F(ClipboardTest, TextRoundTripsAndTheClipboardOwnsTheBlock) {
    const std::string text = "first\r\nsecond \x8A\x9A\r\n";  // code-page bytes survive
    HGLOBAL block = TextBlock(text);
    Put(CF_TEXT, block);
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL held = GetClipboardData(CF_TEXT);
    EXPECT_EQ(held, block);
    EXPECT_EQ(BlockText(held), text);
    EXPECT_EQ(GetClipboardData(CF_DIB), nullptr);
    // Emptying frees what the clipboard held.
    EXPECT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalSize(block), 0u);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CloseClipboard());
    EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(ClipboardTest, DibRoundTripsByteForByteBesideText) {
    // A 2x1 24-bit packed DIB: 40-byte header and one padded row.
    unsigned char dib[48] = {40, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0, 1, 0, 24, 0};
    for (int i = 40; i < 46; ++i) dib[i] = static_cast<unsigned char>(i);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof dib);
    std::memcpy(GlobalLock(block), dib, sizeof dib);
    GlobalUnlock(block);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_DIB, block);
    SetClipboardData(CF_TEXT, TextBlock("caption"));
    CloseClipboard();
    EXPECT_EQ(CountClipboardFormats(), 2);
    ASSERT_TRUE(OpenClipboard(nullptr));
    HGLOBAL held = GetClipboardData(CF_DIB);
    ASSERT_EQ(GlobalSize(held), sizeof dib);
    EXPECT_EQ(std::memcmp(GlobalLock(held), dib, sizeof dib), 0);
    GlobalUnlock(held);
    // Replacing a format frees only the block it held.
    HGLOBAL replacement = TextBlock("other");
    SetClipboardData(CF_TEXT, replacement);
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "other");
    EXPECT_EQ(GetClipboardData(CF_DIB), block);
    CloseClipboard();
}

TEST_F(ClipboardTest, CallsNeedTheClipboardOpenAndRejectBadBlocks) {
    HGLOBAL block = TextBlock("x");
    EXPECT_EQ(SetClipboardData(CF_TEXT, block), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLIPBOARD_NOT_OPEN));
    EXPECT_FALSE(EmptyClipboard());
    EXPECT_FALSE(CloseClipboard());
    EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    EXPECT_EQ(SetClipboardData(0, block), nullptr);
    int notABlock = 0;
    EXPECT_EQ(SetClipboardData(CF_TEXT, &notABlock), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_PARAMETER));
    CloseClipboard();
    GlobalFree(block);  // refused blocks stay the caller's
}

TEST_F(ClipboardTest, AnotherThreadCannotOpenItWhileOpen) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_TRUE(OpenClipboard(nullptr));  // again on the same thread
    BOOL openedElsewhere = TRUE;
    DWORD error = 0;
    std::thread other([&] {
        openedElsewhere = OpenClipboard(nullptr);
        error = GetLastError();
    });
    other.join();
    EXPECT_FALSE(openedElsewhere);
    EXPECT_EQ(error, DWORD(ERROR_ACCESS_DENIED));
    CloseClipboard();
}

class FakeDesktop : public win32::DesktopClipboard {
public:
    bool ReadText(std::string* utf8) override {
        *utf8 = text;
        return !text.empty();
    }
    void WriteText(const std::string& utf8) override {
        text = utf8;
        ++writes;
    }
    std::string text;
    int writes = 0;
};

TEST_F(ClipboardTest, DesktopExchangesTextAsUtf8WithItsOwnLineEnds) {
    FakeDesktop desktop;
    win32::ConnectDesktopClipboard(&desktop);
    Put(CF_TEXT, TextBlock("\x8A\x9A\r\nline"));  // Š š in the code page
    EXPECT_EQ(desktop.writes, 1);
    EXPECT_EQ(desktop.text, "\xC5\xA0\xC5\xA1\nline");
    // Reading back our own text changes nothing.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "\x8A\x9A\r\nline");
    CloseClipboard();
    EXPECT_EQ(desktop.writes, 1);
    // Another program's text replaces ours, DIB included.
    Put(CF_DIB, GlobalAlloc(GMEM_MOVEABLE, 40));
    desktop.text = "a\nb \xE2\x82\xAC";  // euro sign: 0x80 in the code page
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(nullptr));
    EXPECT_EQ(BlockText(GetClipboardData(CF_TEXT)), "a\r\nb \x80");
    CloseClipboard();
}

}  // namespace
