// Shift states of mouse and key messages.
#include "Events.h"

namespace {
bool KeyIsDown(int virtualKey) { return (GetKeyState(virtualKey) & 0x8000) != 0; }
}  // namespace

TShiftState KeysToShiftState(WORD keys) {
    TShiftState shift;
    if (keys & MK_SHIFT) shift << ssShift;
    if (keys & MK_CONTROL) shift << ssCtrl;
    if (keys & MK_LBUTTON) shift << ssLeft;
    if (keys & MK_RBUTTON) shift << ssRight;
    if (keys & MK_MBUTTON) shift << ssMiddle;
    if (KeyIsDown(VK_MENU)) shift << ssAlt;
    return shift;
}

TShiftState KeyDataToShiftState(LPARAM keyData) {
    TShiftState shift;
    if (KeyIsDown(VK_SHIFT)) shift << ssShift;
    if (KeyIsDown(VK_CONTROL)) shift << ssCtrl;
    if (static_cast<DWORD>(keyData) & 0x20000000u) shift << ssAlt;
    return shift;
}
