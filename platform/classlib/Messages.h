// TMessage, the typed views of its parameters (message records), the class
// library's own CM_ messages and the per-class message maps.
#pragma once

#include <cstddef>

#include "Win32.h"

// A window message as the class library passes it around; handlers set Result.
struct TMessage {
    UINT Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;

    WORD WParamLo() const { return LOWORD(WParam); }
    WORD WParamHi() const { return HIWORD(WParam); }
    WORD LParamLo() const { return LOWORD(LParam); }
    WORD LParamHi() const { return HIWORD(LParam); }
};

// Mouse messages: key flags and the signed client point.
struct TWMMouse {
    explicit TWMMouse(TMessage& message)
        : Msg(message.Msg),
          Keys(static_cast<WORD>(message.WParam)),
          XPos(GET_X_LPARAM(message.LParam)),
          YPos(GET_Y_LPARAM(message.LParam)),
          Result(message.Result) {}
    UINT Msg;
    WORD Keys;
    int XPos;
    int YPos;
    LRESULT& Result;
};

// WM_KEYDOWN, WM_KEYUP, WM_CHAR and their system forms.
struct TWMKey {
    explicit TWMKey(TMessage& message)
        : Msg(message.Msg), CharCode(static_cast<WORD>(message.WParam)), KeyData(message.LParam),
          Result(message.Result) {}
    UINT Msg;
    WORD CharCode;
    LPARAM KeyData;
    LRESULT& Result;
};

// WM_SIZE: the kind of change and the new client size.
struct TWMSize {
    explicit TWMSize(TMessage& message)
        : SizeType(static_cast<UINT>(message.WParam)), Width(message.LParamLo()), Height(message.LParamHi()),
          Result(message.Result) {}
    UINT SizeType;
    int Width;
    int Height;
    LRESULT& Result;
};

// WM_PAINT: a DC in WParam when a parent paints a control into its own DC.
struct TWMPaint {
    explicit TWMPaint(TMessage& message) : DC(reinterpret_cast<HDC>(message.WParam)), Result(message.Result) {}
    HDC DC;
    LRESULT& Result;
};

// WM_CONTEXTMENU: the window and the screen point (-1, -1 from the keyboard).
struct TWMContextMenu {
    explicit TWMContextMenu(TMessage& message)
        : Window(reinterpret_cast<HWND>(message.WParam)),
          XPos(GET_X_LPARAM(message.LParam)),
          YPos(GET_Y_LPARAM(message.LParam)),
          Result(message.Result) {}
    HWND Window;
    int XPos;
    int YPos;
    LRESULT& Result;
};

// ORDER CM: the class library's own messages, numbered from CM_BASE as the
// components expect; never renumber.
#define CM_BASE 0xB000
#define CM_ACTIVATE (CM_BASE + 0)
#define CM_DEACTIVATE (CM_BASE + 1)
#define CM_GOTFOCUS (CM_BASE + 2)
#define CM_LOSTFOCUS (CM_BASE + 3)
#define CM_CANCELMODE (CM_BASE + 4)
#define CM_DIALOGKEY (CM_BASE + 5)
#define CM_DIALOGCHAR (CM_BASE + 6)
#define CM_FOCUSCHANGED (CM_BASE + 7)
#define CM_PARENTFONTCHANGED (CM_BASE + 8)
#define CM_PARENTCOLORCHANGED (CM_BASE + 9)
#define CM_HITTEST (CM_BASE + 10)
#define CM_VISIBLECHANGED (CM_BASE + 11)
#define CM_ENABLEDCHANGED (CM_BASE + 12)
#define CM_COLORCHANGED (CM_BASE + 13)
#define CM_FONTCHANGED (CM_BASE + 14)
#define CM_CURSORCHANGED (CM_BASE + 15)
#define CM_CTL3DCHANGED (CM_BASE + 16)
#define CM_PARENTCTL3DCHANGED (CM_BASE + 17)
#define CM_TEXTCHANGED (CM_BASE + 18)
#define CM_MOUSEENTER (CM_BASE + 19)
#define CM_MOUSELEAVE (CM_BASE + 20)
static_assert(CM_MOUSEENTER == 0xB013 && CM_MOUSELEAVE == 0xB014, "CM_ numbers are fixed");

// One row of a class's message map: a message and the member that handles it.
template <class Handler>
struct TMessageMapEntry {
    UINT message;
    void (Handler::*handler)(TMessage& message);
};

// Runs the row for message.Msg; false when the map has none (the caller then
// passes the message to its base class's Dispatch).
template <class Handler, std::size_t Count>
bool DispatchThroughMap(Handler* self, const TMessageMapEntry<Handler> (&map)[Count], TMessage& message) {
    for (const TMessageMapEntry<Handler>& entry : map) {
        if (entry.message == message.Msg) {
            (self->*entry.handler)(message);
            return true;
        }
    }
    return false;
}

// Declares a class's message map inside its body, as its Dispatch override;
// every message without a row goes to BaseType::Dispatch:
//   CLASSLIB_MESSAGE_MAP(TMyControl, TCustomControl,
//       {WM_SIZE, &TMyControl::WMSize}, {WM_TIMER, &TMyControl::WMTimer})
#define CLASSLIB_MESSAGE_MAP(ClassType, BaseType, ...)                                \
public:                                                                               \
    void Dispatch(TMessage& message) override {                                       \
        static const TMessageMapEntry<ClassType> messageMap[] = {__VA_ARGS__};        \
        if (!DispatchThroughMap(this, messageMap, message)) BaseType::Dispatch(message); \
    }                                                                                 \
                                                                                      \
private:
