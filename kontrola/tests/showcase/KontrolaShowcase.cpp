// Shows a form with the five Kontrola controls on the real display, starts a
// splitter drag so its line and hint show, and saves the form's window as a
// 24-bit BMP file (argument 1) for looking at.
#include <cstdio>
#include <string>

#include "ArrowScroller.h"
#include "Form.h"
#include "FormSplitter.h"
#include "GraphObjectComboBox.h"
#include "Label.h"
#include "ProcessBar.h"
#include "RALabel.h"
#include "display/WindowPicture.h"

namespace {

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
    win32::PumpMessagesFor(800);
    // Start dragging the splitter below the bars, as a press on its line does.
    HWND window = form->GetHandle();
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200, 215));
    PostMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(230, 215));
    win32::PumpMessagesFor(800);
    bool saved = win32::SaveWindowPicture(window, path);
    // The dropped lists of the three combo boxes, each in a file of its own.
    for (int i = 0; i < 3; ++i) {
        combos[i]->SetDroppedDown(true);
        win32::PumpMessagesFor(300);
        if (TWinControl* list = combos[i]->GetDropList())
            saved = win32::SaveWindowPicture(list->GetHandle(), (std::string(path) + ".list" + std::to_string(i) + ".bmp").c_str()) && saved;
        combos[i]->SetDroppedDown(false);
    }
    const int position = splitter->GetPosition();
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    const POINT client = form->ScreenToClient(cursor);
    std::printf("pointer at client %ld, %ld\n", static_cast<long>(client.x), static_cast<long>(client.y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(230, 215));
    win32::PumpMessagesFor(100);
    delete form;
    std::printf("%s %s; splitter at %d\n", saved ? "saved" : "could not save", path, position);
    return saved ? 0 : 1;
}
