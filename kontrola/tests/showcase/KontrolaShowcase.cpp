// Shows a form with the five Kontrola controls on the real display, starts a
// splitter drag so its line and hint show, and saves the form's window as a
// 24-bit BMP file (argument 1) for looking at.
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "ArrowScroller.h"
#include "Form.h"
#include "FormSplitter.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "ProcessBar.h"
#include "RALabel.h"

namespace {

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

// Copies the pixels of window (frame included) into a picture of the
// top-level window's size, at the window's place in it; each window's DC
// leaves out its children, so the children are copied after their parent.
void CopyWindowPixels(HWND window, const RECT& topFrame, std::vector<COLORREF>& pixels) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int pictureWidth = topFrame.right - topFrame.left;
    const int pictureHeight = topFrame.bottom - topFrame.top;
    HDC dc = GetWindowDC(window);
    for (int y = 0; y < frame.bottom - frame.top; ++y) {
        for (int x = 0; x < frame.right - frame.left; ++x) {
            const int px = frame.left - topFrame.left + x;
            const int py = frame.top - topFrame.top + y;
            if (px < 0 || py < 0 || px >= pictureWidth || py >= pictureHeight) continue;
            const COLORREF pixel = GetPixel(dc, x, y);
            if (pixel != CLR_INVALID) pixels[py * pictureWidth + px] = pixel;
        }
    }
    ReleaseDC(window, dc);
}

void CopyControlTree(TWinControl* control, const RECT& topFrame, std::vector<COLORREF>& pixels) {
    if (!control->HandleAllocated() || !IsWindowVisible(control->GetHandle())) return;
    CopyWindowPixels(control->GetHandle(), topFrame, pixels);
    for (int i = 0; i < control->GetControlCount(); ++i)
        if (auto* child = dynamic_cast<TWinControl*>(control->GetControl(i))) CopyControlTree(child, topFrame, pixels);
}

// A window with its child windows as a bottom-up 24-bit BMP.
bool SaveForm(TWinControl* form, const char* path) {
    RECT frame{};
    GetWindowRect(form->GetHandle(), &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    std::vector<COLORREF> pixels(static_cast<size_t>(width) * height, 0);
    CopyControlTree(form, frame, pixels);
    const int stride = (width * 3 + 3) & ~3;
    std::vector<uint8_t> file;
    file.push_back('B');
    file.push_back('M');
    PutLittleEndian(file, 54 + stride * height, 4);
    PutLittleEndian(file, 0, 4);
    PutLittleEndian(file, 54, 4);
    PutLittleEndian(file, 40, 4);
    PutLittleEndian(file, width, 4);
    PutLittleEndian(file, height, 4);
    PutLittleEndian(file, 1, 2);
    PutLittleEndian(file, 24, 2);
    for (int i = 0; i < 6; ++i) PutLittleEndian(file, 0, 4);
    for (int y = height - 1; y >= 0; --y) {
        for (int x = 0; x < width; ++x) {
            const COLORREF pixel = pixels[y * width + x];
            file.push_back(GetBValue(pixel));
            file.push_back(GetGValue(pixel));
            file.push_back(GetRValue(pixel));
        }
        for (int pad = width * 3; pad < stride; ++pad) file.push_back(0);
    }
    FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    return std::fclose(out) == 0 && written;
}

template <class T>
T* Place(TForm* form, int left, int top, int width, int height) {
    T* control = new T(form);
    control->SetBounds(left, top, width, height);
    control->SetParent(form);
    return control;
}

}  // namespace

int main(int argc, char** argv) {
    const char* path = argc > 1 ? argv[1] : "kontrola.bmp";
    auto* form = new TForm(nullptr, 1);
    form->SetText("Kontrola controls");
    form->SetBounds(40, 40, 420, 260);

    Place<TLabel>(form, 16, 10, 60, 13)->SetText("Process:");
    auto* bar = Place<TProcessBar>(form, 96, 8, 177, 20);
    bar->SetMax(100);
    bar->SetPosColor(clNavy);
    bar->SetTextColor(clWhite);
    bar->SetBkColor(clGray);
    bar->SetCaptionColor(clWhite);
    bar->SetPos(40);
    Place<TLabel>(form, 16, 36, 80, 13)->SetText("Arrow scrollers:");
    auto* across = Place<TArrowScroller>(form, 96, 32, 89, 24);
    auto* down = Place<TArrowScroller>(form, 248, 32, 25, 105);
    down->SetDirection(asdLeft);
    across->OnChange = [bar](TObject* sender) { bar->SetPos(static_cast<TArrowScroller*>(sender)->GetPosition()); };
    down->OnChange = across->OnChange;

    const char* names[] = {"Color:", "Pen style:", "Brush style:"};
    const TGraphObjectComboStyle styles[] = {gocsColor, gocsPenStyle, gocsBrushStyle};
    TGraphObjectComboBox* combos[3];
    for (int i = 0; i < 3; ++i) {
        Place<TLabel>(form, 8, 66 + 24 * i, 60, 13)->SetText(names[i]);
        combos[i] = Place<TGraphObjectComboBox>(form, 96, 62 + 24 * i, 145, 22);
        combos[i]->SetStyle(styles[i]);
    }
    auto* right = Place<TRALabel>(form, 200, 150, 10, 13);
    right->SetText("Right-aligned label");
    right->SetLeft(392 - right->GetWidth());

    auto* left = Place<TProcessBar>(form, 8, 180, 186, 24);
    left->SetPos(75);
    left->SetText("Left");
    auto* rightBar = Place<TProcessBar>(form, 206, 180, 186, 24);
    rightBar->SetPos(25);
    rightBar->SetPercentPos(ptpRight);
    auto* splitter = new TFormSplitter(form);
    splitter->SetPosition(200);
    splitter->SetLineType(fslChecked);
    splitter->SetShowPosition(true);
    splitter->SetShowPercentage(true);
    splitter->AddLowerObject(left);
    splitter->AddUpperObject(rightBar);

    form->Show();
    RunMessagesFor(800);
    // Start dragging the splitter below the bars, as a press on its line does.
    HWND window = form->GetHandle();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 215));
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(230, 215));
    RunMessagesFor(800);
    bool saved = SaveForm(form, path);
    // The dropped lists of the three combo boxes, each in a file of its own.
    for (int i = 0; i < 3; ++i) {
        combos[i]->SetDroppedDown(true);
        RunMessagesFor(300);
        if (TWinControl* list = combos[i]->GetDropList())
            saved = SaveForm(list, (std::string(path) + ".list" + std::to_string(i) + ".bmp").c_str()) && saved;
        combos[i]->SetDroppedDown(false);
    }
    const int position = splitter->GetPosition();
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    const POINT client = form->ScreenToClient(cursor);
    std::printf("pointer at client %ld, %ld\n", static_cast<long>(client.x), static_cast<long>(client.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(230, 215));
    RunMessagesFor(100);
    delete form;
    std::printf("%s %s; splitter at %d\n", saved ? "saved" : "could not save", path, position);
    return saved ? 0 : 1;
}
