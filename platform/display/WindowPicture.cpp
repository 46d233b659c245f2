// Pictures of real windows: a window and its visible children read through
// their window DCs, written as a 24-bit BMP field by field.
#include "display/WindowPicture.h"

#include <cstdint>
#include <cstdio>
#include <vector>

#include "Gdi.h"
#include "MessageQueue.h"
#include "Paint.h"
#include "Responder.h"
#include "System.h"
#include "Threads.h"
#include "Window.h"

namespace win32 {
namespace {

// Pixels of the top-level window's rectangle, row by row from the top.
struct TPicture {
    RECT frame{};
    int width = 0;
    int height = 0;
    std::vector<COLORREF> pixels;
};

// Copies window's own pixels (its frame included) into the picture; a window
// DC reads CLR_INVALID where a child window lies, which leaves those alone.
void CopyWindowPixels(HWND window, TPicture& picture) {
    RECT frame{};
    GetWindowRect(window, &frame);
    HDC dc = GetWindowDC(window);
    if (dc == nullptr) return;
    for (int y = 0; y < frame.bottom - frame.top; ++y) {
        const int py = frame.top - picture.frame.top + y;
        if (py < 0 || py >= picture.height) continue;
        for (int x = 0; x < frame.right - frame.left; ++x) {
            const int px = frame.left - picture.frame.left + x;
            if (px < 0 || px >= picture.width) continue;
            const COLORREF pixel = GetPixel(dc, x, y);
            if (pixel != CLR_INVALID) picture.pixels[size_t(py) * size_t(picture.width) + size_t(px)] = pixel;
        }
    }
    ReleaseDC(window, dc);
}

// The window, then its visible children from the bottom of the order up.
void CopyWindowTree(HWND window, TPicture& picture) {
    CopyWindowPixels(window, picture);
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    for (auto child = children.rbegin(); child != children.rend(); ++child)
        if (IsWindowVisible(*child)) CopyWindowTree(*child, picture);
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// File header and a 40-byte information header for an uncompressed 24-bit picture.
std::vector<uint8_t> BitmapHeaders(int width, int height, int stride) {
    std::vector<uint8_t> file = {'B', 'M'};
    PutLittleEndian(file, 54 + uint32_t(stride) * uint32_t(height), 4);
    PutLittleEndian(file, 0, 4);   // reserved
    PutLittleEndian(file, 54, 4);  // offset of the pixels
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, uint32_t(width), 4);
    PutLittleEndian(file, uint32_t(height), 4);
    PutLittleEndian(file, 1, 2);   // planes
    PutLittleEndian(file, 24, 2);  // bits per pixel
    for (int i = 0; i < 6; ++i) PutLittleEndian(file, 0, 4);  // no compression, sizes, resolutions, colours
    return file;
}

std::vector<uint8_t> BitmapFile(const TPicture& picture) {
    const int stride = (picture.width * 3 + 3) & ~3;
    std::vector<uint8_t> file = BitmapHeaders(picture.width, picture.height, stride);
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const COLORREF pixel = picture.pixels[size_t(y) * size_t(picture.width) + size_t(x)];
            file.push_back(GetBValue(pixel));
            file.push_back(GetGValue(pixel));
            file.push_back(GetRValue(pixel));
        }
        for (int pad = picture.width * 3; pad < stride; ++pad) file.push_back(0);
    }
    return file;
}

}  // namespace

void PumpMessagesFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) FilterAndDispatch(message);
        Sleep(10);
    }
}

bool SaveWindowPicture(HWND window, const char* path) {
    TPicture picture;
    if (!GetWindowRect(window, &picture.frame)) return false;
    picture.width = picture.frame.right - picture.frame.left;
    picture.height = picture.frame.bottom - picture.frame.top;
    if (picture.width <= 0 || picture.height <= 0) return false;
    picture.pixels.assign(size_t(picture.width) * size_t(picture.height), 0);
    CopyWindowTree(window, picture);
    const std::vector<uint8_t> file = BitmapFile(picture);
    FILE* out = std::fopen(path, "wb");
    if (out == nullptr) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace win32
