// Runs a drawing script in the Paint of a real window and saves the window as
// a 24-bit BMP file (argument 1) for looking at; not a test.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "Compiler.h"
#include "DrawingRuntime.h"
#include "Interpreter.h"
#include "Win32.h"

namespace {

// A house under the sun, a rainbow, a pie and a caption: every shape statement once.
const char* const kPicture =
    "const SKY = 135 + 206 * 256 + 235 * 65536\n"
    "const GRASS = 60 + 170 * 256 + 70 * 65536\n"
    "const YELLOW = 255 + 215 * 256\n"
    "setpencolor SKY\n"
    "setbrushcolor SKY\n"
    "fillrect 0, 0, 399, 169\n"
    "setpencolor GRASS\n"
    "setbrushcolor GRASS\n"
    "fillrect 0, 170, 399, 299\n"
    "// A rainbow of three arcs from the right over the top to the left.\n"
    "int band\n"
    "for band = 0; band < 3; band += 1\n"
    "  setpencolor 255 * (band == 0) + 160 * 256 * (band == 1) + 200 * 65536 * (band == 2)\n"
    "  arc 180, 170, 170 - band, 130 - band, pi, 0\n"
    "end\n"
    "setpencolor YELLOW\n"
    "setbrushcolor YELLOW\n"
    "fillcircle 300, 50, 22\n"
    "int ray\n"
    "for ray = 0; ray < 12; ray += 1\n"
    "  line 300 + 27 * cos(ray * pi / 6), 50 + 27 * sin(ray * pi / 6), 300 + 38 * cos(ray * pi / 6), 50 + 38 * sin(ray * pi / 6)\n"
    "end\n"
    "setpencolor 0\n"
    "setbrushcolor 150 + 90 * 256 + 50 * 65536\n"
    "fillrect 70, 130, 170, 215\n"
    "setbrushcolor 190 + 40 * 256 + 40 * 65536\n"
    "point roof[] = {{60, 130}, {120, 80}, {180, 130}}\n"
    "polygon roof\n"
    "setbrushcolor 90 + 50 * 256 + 20 * 65536\n"
    "fillrect to_point(105, 170), to_point(130, 215)\n"
    "setbrushcolor 250 + 240 * 256 + 160 * 65536\n"
    "fillrect 80, 145, 98, 162\n"
    "rect 142, 145, 160, 162\n"
    "line 151, 145, 151, 162\n"
    "setbrushcolor 40 + 120 * 256 + 40 * 65536\n"
    "fillellipse 270, 160, 30, 40\n"
    "setbrushcolor 100 + 60 * 256 + 30 * 65536\n"
    "fillrect 265, 195, 275, 225\n"
    "setbrushcolor 255 + 255 * 256 + 255 * 65536\n"
    "fillcircle 215, 225, 22\n"
    "setbrushcolor 240 + 140 * 256\n"
    "pie 215, 225, 22, 22, 0, pi / 2\n"
    "setbrushcolor 200 * 65536\n"
    "chord 215, 225, 22, 22, pi, 3 * pi / 2\n"
    "circle 215, 225, 26\n"
    "ellipse 40, 225, 25, 10\n"
    "point path[] = {{10, 250}, {30, 240}, {50, 250}, {70, 240}, {90, 250}}\n"
    "polyline path\n"
    "setpencolor 128 * 65536\n"
    "setfont 'Arial', 1, 22, 0\n"
    "text 12, 8, 'KRO drawing'\n"
    "setfont 'Arial', 2, 14, 0.3\n"
    "text to_point(12, 60), 'tilted'\n";

TProgram* picture = nullptr;

LRESULT CALLBACK PictureWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_PAINT) {
        PAINTSTRUCT paint;
        KRO_OutDC = BeginPaint(window, &paint);
        KRO_InitGraph();
        if (picture != nullptr) KRO_Run(*picture, true);
        EndPaint(window, &paint);
        KRO_OutDC = nullptr;
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunMessagesFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG message;
    while (GetTickCount() < end) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(10);
    }
}

void PutLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The whole window, frame included, as a bottom-up 24-bit BMP.
bool SaveWindow(HWND window, const char* path) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> file = {'B', 'M'};
    PutLittleEndian(file, 54 + stride * height, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, width, 4);
    PutLittleEndian(file, height, 4);
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    for (int i = 0; i < 6; ++i) PutLittleEndian(file, 0, 4);
    HDC dc = GetWindowDC(window);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF pixel = GetPixel(dc, x, y);
            file.push_back(GetBValue(pixel));
            file.push_back(GetGValue(pixel));
            file.push_back(GetRValue(pixel));
        }
        for (int pad = width * 3; pad < stride; ++pad) file.push_back(0);
    }
    ReleaseDC(window, dc);
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "kro.bmp";
    TStringContainer source;
    std::string script = kPicture;
    for (size_t start = 0, end; start < script.size(); start = end + 1) {
        end = script.find('\n', start);
        source.Add(TString(script.substr(start, end - start)));
    }
    TProgram program;
    TStringContainer directories;
    TUnitSubsList units;
    if (!KRO_Compile(source, program, directories, units)) {
        std::printf("line %d: %s\n", KRO_ErrorLine, KRO_GetErrorMessage(KRO_ErrorCode).c_str());
        return 1;
    }
    picture = &program;

    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = PictureWindowProc;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = "KroPicture";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, "KroPicture", "KRO drawing", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 376,
                                  299, nullptr, nullptr, nullptr, nullptr);
    RunMessagesFor(800);
    const bool saved = SaveWindow(window, path);
    DestroyWindow(window);
    picture = nullptr;
    std::printf("%s %s\n", saved ? "saved" : "could not save", path);
    return saved ? 0 : 1;
}
