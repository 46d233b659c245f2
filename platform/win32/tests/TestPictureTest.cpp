// The test driver's picture helper: the file is named after the running test,
// goes to the folder SUITE_TEST_PICTURES names, and holds the whole top-level
// window with its children.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "TemporaryFolder.h"
#include "Win32.h"
#include "display/TestDriver.h"
#include "display/TestPicture.h"

namespace {

uint32_t Field(const std::vector<unsigned char>& bytes, size_t at) {
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

LRESULT CALLBACK PaintBlue(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_PAINT) return DefWindowProcA(window, message, wParam, lParam);
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    FillRect(dc, &paint.rcPaint, blue);
    DeleteObject(blue);
    EndPaint(window, &paint);
    return 0;
}

TEST(TestPicture, SavesTheTopLevelWindowUnderTheTestsNameInTheChosenFolder) {
    win32::TestDriver driver;
    kernel_tests::TemporaryFolder folder;
    setenv("SUITE_TEST_PICTURES", (folder / "pictures").c_str(), 1);
    WNDCLASSA blueClass{};
    blueClass.lpfnWndProc = PaintBlue;
    blueClass.lpszClassName = "TestPictureBlue";
    RegisterClassA(&blueClass);
    WNDCLASSA whiteClass{};
    whiteClass.lpfnWndProc = DefWindowProcA;
    whiteClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    whiteClass.lpszClassName = "TestPictureWhite";
    RegisterClassA(&whiteClass);
    HWND window = CreateWindowExA(0, "TestPictureWhite", "", WS_POPUP | WS_VISIBLE, 10, 10, 40, 30,
                                  nullptr, nullptr, nullptr, nullptr);
    HWND child = CreateWindowExA(0, "TestPictureBlue", "", WS_CHILD | WS_VISIBLE, 20, 10, 10, 10, window, nullptr,
                                 nullptr, nullptr);
    driver.PumpUntilIdle();

    const std::string path = win32::SaveTestPicture(child, "child/given");
    unsetenv("SUITE_TEST_PICTURES");
    EXPECT_EQ(path, folder / ("pictures/TestPicture.SavesTheTopLevelWindowUnderTheTestsNameInTheChosenFolder"
                              ".child_given.bmp"));
    std::ifstream file(path, std::ios::binary);
    const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
    ASSERT_GE(bytes.size(), 54u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Field(bytes, 18), 40u);  // the top-level window's size, not the child's
    EXPECT_EQ(Field(bytes, 22), 30u);
    // Row 12 from the top (bottom-up rows of 120 bytes), column 25: inside the blue child.
    const size_t pixel = Field(bytes, 10) + (30 - 1 - 12) * 120 + 25 * 3;
    ASSERT_LT(pixel + 2, bytes.size());
    EXPECT_EQ(bytes[pixel], 255);  // blue, green, red
    EXPECT_EQ(bytes[pixel + 1], 0);
    EXPECT_EQ(bytes[pixel + 2], 0);

    EXPECT_EQ(win32::SaveTestPicture(nullptr), "");
    DestroyWindow(window);
}

}  // namespace
