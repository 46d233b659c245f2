// The message box window: layout, painting, keys and mouse, and its modal run.
#include "MessageBox.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "Gdi.h"
#include "Input.h"
#include "LastError.h"
#include "ModalWindows.h"
#include "Paint.h"
#include "Responder.h"
#include "SystemMetrics.h"
#include "Text.h"
#include "Window.h"

namespace {

const char* const boxClassName = "SuiteMessageBox";

struct ButtonKind {
    int identifier;
    const char* caption;
};

// ORDER MB_TYPE: row n is the button set MB_ value n.
const std::vector<ButtonKind> buttonSets[] = {
    {{IDOK, "OK"}},
    {{IDOK, "OK"}, {IDCANCEL, "Cancel"}},
    {{IDABORT, "&Abort"}, {IDRETRY, "&Retry"}, {IDIGNORE, "&Ignore"}},
    {{IDYES, "&Yes"}, {IDNO, "&No"}, {IDCANCEL, "Cancel"}},
    {{IDYES, "&Yes"}, {IDNO, "&No"}},
    {{IDRETRY, "&Retry"}, {IDCANCEL, "Cancel"}},
};

// Geometry, in client pixels.
const int titleHeight = 20;
const int margin = 12;
const int iconSize = 32;
const int buttonWidth = 75;
const int buttonHeight = 23;
const int buttonGap = 6;
const int widestText = 420;

struct BoxState {
    std::string caption;
    std::string text;
    UINT icon = 0;
    std::vector<ButtonKind> buttons;
    std::vector<RECT> buttonRects;
    RECT textRect{0, 0, 0, 0};
    int focused = 0;
    int pressed = -1;
    int result = 0;
    bool finished = false;
};

BoxState* StateOf(HWND window) { return reinterpret_cast<BoxState*>(GetWindowLongPtrA(window, GWLP_USERDATA)); }

void Finish(BoxState& state, int identifier) {
    state.result = identifier;
    state.finished = true;
}

int CancelAnswer(const BoxState& state) {
    for (const ButtonKind& button : state.buttons)
        if (button.identifier == IDCANCEL) return IDCANCEL;
    return state.buttons.size() == 1 ? state.buttons[0].identifier : 0;
}

void DrawIcon(HDC dc, UINT icon, int x, int y) {
    struct IconLook {
        UINT icon;
        COLORREF fill;
        COLORREF mark;
        const char* glyph;
    };
    static const IconLook looks[] = {
        {MB_ICONHAND, RGB(208, 32, 32), RGB(255, 255, 255), "X"},
        {MB_ICONQUESTION, RGB(32, 80, 200), RGB(255, 255, 255), "?"},
        {MB_ICONEXCLAMATION, RGB(240, 200, 0), RGB(0, 0, 0), "!"},
        {MB_ICONASTERISK, RGB(32, 80, 200), RGB(255, 255, 255), "i"},
    };
    for (const IconLook& look : looks) {
        if (look.icon != icon) continue;
        HBRUSH brush = CreateSolidBrush(look.fill);
        HGDIOBJ oldBrush = SelectObject(dc, brush);
        HGDIOBJ oldPen = SelectObject(dc, GetStockObject(NULL_PEN));
        if (icon == MB_ICONEXCLAMATION) {
            const POINT triangle[3] = {{x + iconSize / 2, y}, {x + iconSize, y + iconSize}, {x, y + iconSize}};
            Polygon(dc, triangle, 3);
        } else {
            Ellipse(dc, x, y, x + iconSize, y + iconSize);
        }
        SelectObject(dc, oldPen);
        SelectObject(dc, oldBrush);
        DeleteObject(brush);
        RECT glyph{x, y + (icon == MB_ICONEXCLAMATION ? 6 : 0), x + iconSize, y + iconSize};
        SetTextColor(dc, look.mark);
        DrawTextA(dc, look.glyph, -1, &glyph, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
}

void DrawButton(HDC dc, const BoxState& state, size_t index) {
    RECT rect = state.buttonRects[index];
    FillRect(dc, &rect, GetSysColorBrush(COLOR_BTNFACE));
    FrameRect(dc, &rect, GetSysColorBrush(COLOR_WINDOWFRAME));
    if (int(index) == state.focused) {
        RECT inner{rect.left + 1, rect.top + 1, rect.right - 1, rect.bottom - 1};
        FrameRect(dc, &inner, GetSysColorBrush(COLOR_WINDOWFRAME));
    }
    SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    DrawTextA(dc, state.buttons[index].caption, -1, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void Paint(HWND window, BoxState& state) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    RECT title{0, 0, client.right, titleHeight};
    FillRect(dc, &title, GetSysColorBrush(COLOR_ACTIVECAPTION));
    SetTextColor(dc, GetSysColor(COLOR_CAPTIONTEXT));
    title.left += 6;
    DrawTextA(dc, state.caption.c_str(), -1, &title, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (state.icon != 0) DrawIcon(dc, state.icon, margin, titleHeight + margin);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT text = state.textRect;
    DrawTextA(dc, state.text.c_str(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    for (size_t i = 0; i < state.buttons.size(); ++i) DrawButton(dc, state, i);
    SelectObject(dc, oldFont);
    EndPaint(window, &paint);
}

void MoveFocus(HWND window, BoxState& state, int step) {
    const int count = int(state.buttons.size());
    state.focused = (state.focused + step + count) % count;
    InvalidateRect(window, nullptr, FALSE);
}

void KeyDown(HWND window, BoxState& state, WPARAM key) {
    switch (key) {
        case VK_RETURN:
        case VK_SPACE: Finish(state, state.buttons[state.focused].identifier); break;
        case VK_ESCAPE:
            if (int cancel = CancelAnswer(state)) Finish(state, cancel);
            break;
        case VK_TAB:
            MoveFocus(window, state, GetKeyState(VK_SHIFT) < 0 ? -1 : 1);
            break;
        case VK_RIGHT:
        case VK_DOWN: MoveFocus(window, state, 1); break;
        case VK_LEFT:
        case VK_UP: MoveFocus(window, state, -1); break;
    }
}

void Character(BoxState& state, WPARAM character) {
    const char typed = char(std::tolower(int(character & 0xFF)));
    for (const ButtonKind& button : state.buttons)
        if (typed != '\0' && win32::AcceleratorOf(button.caption) == typed) Finish(state, button.identifier);
}

int ButtonAt(const BoxState& state, LPARAM lParam) {
    const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    for (size_t i = 0; i < state.buttonRects.size(); ++i) {
        const RECT& r = state.buttonRects[i];
        if (point.x >= r.left && point.x < r.right && point.y >= r.top && point.y < r.bottom) return int(i);
    }
    return -1;
}

LRESULT CALLBACK BoxProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    BoxState* state = StateOf(window);
    if (state == nullptr) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
        case WM_PAINT: Paint(window, *state); return 0;
        case WM_ERASEBKGND: return 1;
        case WM_KEYDOWN: KeyDown(window, *state, wParam); return 0;
        // A button's accelerator works alone and with Alt.
        case WM_CHAR:
        case WM_SYSCHAR: Character(*state, wParam); return 0;
        case WM_LBUTTONDOWN:
            state->pressed = ButtonAt(*state, lParam);
            if (state->pressed >= 0) {
                state->focused = state->pressed;
                SetCapture(window);
                InvalidateRect(window, nullptr, FALSE);
            }
            return 0;
        case WM_LBUTTONUP: {
            const int released = ButtonAt(*state, lParam);
            if (GetCapture() == window) ReleaseCapture();
            if (released >= 0 && released == state->pressed) Finish(*state, state->buttons[released].identifier);
            state->pressed = -1;
            return 0;
        }
        case WM_CLOSE:
            if (int cancel = CancelAnswer(*state)) Finish(*state, cancel);
            return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// Measures the text and places text and buttons; returns the client size.
SIZE Layout(HWND window, BoxState& state) {
    HDC dc = GetDC(window);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT measured{0, 0, widestText, 0};
    if (!state.text.empty())
        DrawTextA(dc, state.text.c_str(), -1, &measured,
                  DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    SIZE captionSize{0, 0};
    GetTextExtentPoint32A(dc, state.caption.c_str(), int(state.caption.size()), &captionSize);
    SelectObject(dc, oldFont);
    ReleaseDC(window, dc);

    const int textLeft = margin + (state.icon != 0 ? iconSize + margin : 0);
    const int textTop = titleHeight + margin;
    const int textHeight = std::max<int>(measured.bottom - measured.top, state.icon != 0 ? iconSize : 0);
    state.textRect = RECT{textLeft, textTop, textLeft + (measured.right - measured.left), textTop + textHeight};
    const int count = int(state.buttons.size());
    const int rowWidth = count * buttonWidth + (count - 1) * buttonGap;
    const int width = std::max({int(state.textRect.right) + margin, rowWidth + 2 * margin, int(captionSize.cx) + 24});
    const int buttonTop = state.textRect.bottom + margin + 2;
    int x = (width - rowWidth) / 2;
    for (int i = 0; i < count; ++i, x += buttonWidth + buttonGap)
        state.buttonRects.push_back(RECT{x, buttonTop, x + buttonWidth, buttonTop + buttonHeight});
    return SIZE{width, buttonTop + buttonHeight + margin};
}

POINT CentreOver(HWND owner, SIZE size) {
    RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
    if (owner != nullptr) GetWindowRect(owner, &area);
    return POINT{area.left + (area.right - area.left - size.cx) / 2, area.top + (area.bottom - area.top - size.cy) / 2};
}

win32::ModalInteraction Describe(const BoxState& state, HWND owner, HWND box, UINT type) {
    win32::ModalInteraction interaction;
    interaction.kind = win32::ModalKind::MessageBox;
    interaction.owner = owner;
    interaction.window = box;
    interaction.caption = state.caption;
    interaction.text = state.text;
    interaction.style = type;
    for (size_t i = 0; i < state.buttons.size(); ++i) {
        win32::ModalItem item;
        item.identifier = state.buttons[i].identifier;
        item.text = state.buttons[i].caption;
        item.isDefault = int(i) == state.focused;
        item.rect = state.buttonRects[i];
        interaction.items.push_back(item);
    }
    interaction.defaultAnswer = state.buttons[state.focused].identifier;
    return interaction;
}

bool IsButtonOf(const BoxState& state, int identifier) {
    for (const ButtonKind& button : state.buttons)
        if (button.identifier == identifier) return true;
    return false;
}

}  // namespace

int MessageBoxA(HWND window, LPCSTR text, LPCSTR caption, UINT type) {
    const UINT set = type & MB_TYPEMASK;
    if (set >= sizeof buttonSets / sizeof buttonSets[0]) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    BoxState state;
    state.caption = caption != nullptr ? caption : "Error";
    state.text = text != nullptr ? text : "";
    state.icon = type & MB_ICONMASK;
    if (state.icon > MB_ICONASTERISK) state.icon = 0;
    state.buttons = buttonSets[set];
    state.focused = int((type & MB_DEFMASK) >> 8);
    if (state.focused >= int(state.buttons.size())) state.focused = 0;

    HWND owner = window != nullptr && IsWindow(window) ? GetAncestor(window, GA_ROOT) : nullptr;
    HWND previousFocus = GetFocus();
    win32::RegisterLayerClass(boxClassName, BoxProcedure);
    HWND box = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, boxClassName, state.caption.c_str(),
                               WS_POPUP | WS_BORDER, 0, 0, 200, 200, owner, nullptr, nullptr, nullptr);
    if (box == nullptr) return 0;
    SetWindowLongPtrA(box, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
    const SIZE client = Layout(box, state);
    const SIZE outer = win32::WindowSizeForClient(box, client);
    const POINT place = CentreOver(owner, outer);
    MoveWindow(box, place.x, place.y, outer.cx, outer.cy, FALSE);
    const bool ownerWasEnabled = owner != nullptr && !EnableWindow(owner, FALSE);
    ShowWindow(box, SW_SHOW);
    SetFocus(box);
    UpdateWindow(box);

    const win32::ModalReply reply = win32::AskResponder(Describe(state, owner, box, type));
    if (!reply.run)
        Finish(state, IsButtonOf(state, reply.result) ? reply.result : state.buttons[state.focused].identifier);
    else if (!win32::RunModalLoop(&state.finished))
        Finish(state, state.buttons[state.focused].identifier);

    if (ownerWasEnabled) EnableWindow(owner, TRUE);
    SetWindowLongPtrA(box, GWLP_USERDATA, 0);
    DestroyWindow(box);
    if (previousFocus != nullptr && IsWindow(previousFocus)) SetFocus(previousFocus);
    return state.result;
}
