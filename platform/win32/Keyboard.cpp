// Keyboard input: key state, key messages with their flags, the built-in US
// layout, and TranslateMessage.
#include <atomic>
#include <cstring>
#include <mutex>

#include "Input.h"
#include "InputSink.h"
#include "MessageQueue.h"
#include "WindowHooks.h"

namespace win32 {
namespace {

// State seen by message handlers (updated when each input message is retrieved).
BYTE queueKeyState[256];
// State at this moment (updated when input arrives).
std::atomic<uint8_t> asyncKeyState[256];
std::atomic<uint8_t> asyncPressedSinceQuery[256];

struct KeyCharacters {
    UINT virtualKey;
    char plain;
    char shifted;
};
// ORDER: none; the built-in US layout for keys other than letters.
const KeyCharacters layoutTable[] = {
    {'0', '0', ')'},        {'1', '1', '!'},         {'2', '2', '@'},        {'3', '3', '#'},
    {'4', '4', '$'},        {'5', '5', '%'},         {'6', '6', '^'},        {'7', '7', '&'},
    {'8', '8', '*'},        {'9', '9', '('},         {VK_SPACE, ' ', ' '},   {VK_RETURN, '\r', '\r'},
    {VK_BACK, '\b', '\b'},  {VK_TAB, '\t', '\t'},    {VK_ESCAPE, 27, 27},    {VK_OEM_1, ';', ':'},
    {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'}, {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'},
    {VK_OEM_2, '/', '?'},   {VK_OEM_3, '`', '~'},    {VK_OEM_4, '[', '{'},   {VK_OEM_5, '\\', '|'},
    {VK_OEM_6, ']', '}'},   {VK_OEM_7, '\'', '"'},   {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'},
    {VK_SUBTRACT, '-', '-'}, {VK_DIVIDE, '/', '/'},
};

struct ScanCode {
    UINT virtualKey;
    BYTE scan;
    bool extended;
};
// Scan codes tell left and right modifiers apart inside a message's lParam.
const ScanCode scanTable[] = {
    {VK_LSHIFT, 0x2A, false},  {VK_RSHIFT, 0x36, false}, {VK_LCONTROL, 0x1D, false}, {VK_RCONTROL, 0x1D, true},
    {VK_LMENU, 0x38, false},   {VK_RMENU, 0x38, true},   {VK_INSERT, 0x52, true},    {VK_DELETE, 0x53, true},
    {VK_HOME, 0x47, true},     {VK_END, 0x4F, true},     {VK_PRIOR, 0x49, true},     {VK_NEXT, 0x51, true},
    {VK_LEFT, 0x4B, true},     {VK_UP, 0x48, true},      {VK_RIGHT, 0x4D, true},     {VK_DOWN, 0x50, true},
    {VK_RETURN, 0x1C, false},  {VK_ESCAPE, 0x01, false}, {VK_BACK, 0x0E, false},     {VK_TAB, 0x0F, false},
    {VK_SPACE, 0x39, false},   {VK_CAPITAL, 0x3A, false}, {VK_NUMLOCK, 0x45, false}, {VK_SCROLL, 0x46, false},
};

bool AsyncDown(UINT key) { return (asyncKeyState[key & 0xFF] & 0x80) != 0; }

// The generic key a message carries for a side-specific one.
UINT GenericKey(UINT key) {
    switch (key) {
        case VK_LSHIFT: case VK_RSHIFT: return VK_SHIFT;
        case VK_LCONTROL: case VK_RCONTROL: return VK_CONTROL;
        case VK_LMENU: case VK_RMENU: return VK_MENU;
        default: return key;
    }
}

UINT SideSpecificKey(UINT key) {
    switch (key) {
        case VK_SHIFT: return VK_LSHIFT;
        case VK_CONTROL: return VK_LCONTROL;
        case VK_MENU: return VK_LMENU;
        default: return key;
    }
}

const ScanCode* ScanOf(UINT key) {
    for (const ScanCode& entry : scanTable)
        if (entry.virtualKey == key) return &entry;
    return nullptr;
}

// The side-specific key of a message, from its generic key and scan code.
UINT KeyOfMessage(WPARAM wParam, LPARAM lParam) {
    const UINT generic = UINT(wParam & 0xFF);
    const BYTE scan = BYTE((lParam >> 16) & 0xFF);
    const bool extended = (lParam & (1L << 24)) != 0;
    switch (generic) {
        case VK_SHIFT: return scan == 0x36 ? VK_RSHIFT : VK_LSHIFT;
        case VK_CONTROL: return extended ? VK_RCONTROL : VK_LCONTROL;
        case VK_MENU: return extended ? VK_RMENU : VK_LMENU;
        default: return generic;
    }
}

void SetDown(BYTE* state, UINT key, bool down) {
    if (down) {
        if ((state[key] & 0x80) == 0) state[key] ^= 0x01;
        state[key] |= 0x80;
    } else {
        state[key] &= BYTE(~0x80);
    }
}

// Keeps a generic modifier down while either side is down.
void UpdateGeneric(BYTE* state, UINT generic, UINT left, UINT right) {
    const bool down = ((state[left] | state[right]) & 0x80) != 0;
    if (down != ((state[generic] & 0x80) != 0)) SetDown(state, generic, down);
}

void UpdateKey(BYTE* state, UINT key, bool down) {
    SetDown(state, key, down);
    UpdateGeneric(state, VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
    UpdateGeneric(state, VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
    UpdateGeneric(state, VK_MENU, VK_LMENU, VK_RMENU);
}

void UpdateAsyncKey(UINT key, bool down) {
    BYTE state[256];
    for (int i = 0; i < 256; ++i) state[i] = asyncKeyState[i];
    UpdateKey(state, key, down);
    for (int i = 0; i < 256; ++i) {
        if ((state[i] & 0x80) != 0 && (asyncKeyState[i] & 0x80) == 0) asyncPressedSinceQuery[i] = 1;
        asyncKeyState[i] = state[i];
    }
}

// Characters of a key-down on the built-in layout with the given modifier state.
std::string LayoutCharacters(UINT key, bool shift, bool control, bool alt, bool capsLock) {
    if (control && alt) return std::string();  // AltGr: nothing on the US layout
    if (control) {
        if (key >= 'A' && key <= 'Z') return std::string(1, char(key - 'A' + 1));
        if (key == VK_OEM_4) return "\x1B";
        if (key == VK_OEM_5) return "\x1C";
        if (key == VK_OEM_6) return "\x1D";
        if (key == VK_RETURN) return "\n";
        if (key == VK_BACK) return "\x7F";
        return std::string();
    }
    if (key >= 'A' && key <= 'Z') return std::string(1, char(shift != capsLock ? key : key - 'A' + 'a'));
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) return std::string(1, char('0' + key - VK_NUMPAD0));
    for (const KeyCharacters& entry : layoutTable)
        if (entry.virtualKey == key) return std::string(1, shift ? entry.shifted : entry.plain);
    return std::string();
}

}  // namespace

void ApplyInputToKeyState(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_KEYDOWN: case WM_SYSKEYDOWN: UpdateKey(queueKeyState, KeyOfMessage(wParam, lParam), true); break;
        case WM_KEYUP: case WM_SYSKEYUP: UpdateKey(queueKeyState, KeyOfMessage(wParam, lParam), false); break;
        case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: SetDown(queueKeyState, VK_LBUTTON, true); break;
        case WM_LBUTTONUP: SetDown(queueKeyState, VK_LBUTTON, false); break;
        case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: SetDown(queueKeyState, VK_RBUTTON, true); break;
        case WM_RBUTTONUP: SetDown(queueKeyState, VK_RBUTTON, false); break;
        case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: SetDown(queueKeyState, VK_MBUTTON, true); break;
        case WM_MBUTTONUP: SetDown(queueKeyState, VK_MBUTTON, false); break;
        default: break;
    }
}

void KeyInput(UINT virtualKey, bool down, const std::string* characters) {
    const UINT key = SideSpecificKey(virtualKey & 0xFF);
    const bool wasDown = AsyncDown(key);
    if (!down && !wasDown) return;
    UpdateAsyncKey(key, down);
    const bool alt = AsyncDown(VK_MENU), control = AsyncDown(VK_CONTROL);
    const UINT generic = GenericKey(key);
    const bool system = (alt && !control) || generic == VK_F10 || (generic == VK_MENU && !control);
    const UINT message = down ? (system ? WM_SYSKEYDOWN : WM_KEYDOWN) : (system ? WM_SYSKEYUP : WM_KEYUP);
    const ScanCode* scan = ScanOf(key);
    LPARAM lParam = 1;
    if (scan != nullptr) lParam |= LPARAM(scan->scan) << 16 | (scan->extended ? LPARAM(1) << 24 : 0);
    if (alt && !control) lParam |= LPARAM(1) << 29;
    if (wasDown) lParam |= LPARAM(1) << 30;
    if (!down) lParam |= LPARAM(1) << 31;
    HWND target = GetFocus();
    if (target == nullptr) target = GetActiveWindow();
    if (target == nullptr) return;
    std::string text;
    if (down)
        text = characters ? *characters
                          : LayoutCharacters(generic, AsyncDown(VK_SHIFT), control, alt,
                                             (asyncKeyState[VK_CAPITAL] & 1) != 0);
    PostInputMessage(target, message, generic, LPARAM(int32_t(uint32_t(lParam))), text);
}

void TextInput(const std::string& codePageText) {
    // A desktop sends text for Alt+key as well: that key's character is the
    // system character of its key-down, never a typed one. AltGr (Ctrl+Alt) types.
    if (AsyncDown(VK_MENU) && !AsyncDown(VK_CONTROL)) return;
    HWND target = GetFocus();
    if (target == nullptr) return;
    for (unsigned char byte : codePageText) PostInputMessage(target, WM_CHAR, byte, 1, "");
}

void ResetKeyboardState() {
    std::memset(queueKeyState, 0, sizeof queueKeyState);
    for (int i = 0; i < 256; ++i) {
        asyncKeyState[i] = 0;
        asyncPressedSinceQuery[i] = 0;
    }
}

}  // namespace win32

using namespace win32;

SHORT GetKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    const BYTE state = queueKeyState[virtualKey];
    return SHORT(((state & 0x80) ? 0x8000 : 0) | (state & 0x01));
}

SHORT GetAsyncKeyState(int virtualKey) {
    if (virtualKey < 0 || virtualKey > 255) return 0;
    const bool down = (asyncKeyState[virtualKey] & 0x80) != 0;
    const bool pressed = asyncPressedSinceQuery[virtualKey].exchange(0) != 0;
    return SHORT((down ? 0x8000 : 0) | (pressed ? 1 : 0));
}

BOOL GetKeyboardState(LPBYTE keyState) {
    if (keyState == nullptr) return FALSE;
    std::memcpy(keyState, queueKeyState, sizeof queueKeyState);
    return TRUE;
}

BOOL SetKeyboardState(LPBYTE keyState) {
    if (keyState == nullptr) return FALSE;
    std::memcpy(queueKeyState, keyState, sizeof queueKeyState);
    return TRUE;
}

BOOL TranslateMessage(const MSG* msg) {
    if (msg == nullptr || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
    std::string characters;
    if (!CharactersOfRetrievedKey(*msg, &characters)) {
        const UINT key = UINT(msg->wParam & 0xFF);
        const bool shift = (queueKeyState[VK_SHIFT] & 0x80) != 0, control = (queueKeyState[VK_CONTROL] & 0x80) != 0;
        const bool alt = (queueKeyState[VK_MENU] & 0x80) != 0;
        characters = LayoutCharacters(key, shift, control, alt, (queueKeyState[VK_CAPITAL] & 1) != 0);
    }
    if (characters.empty()) return FALSE;
    const UINT message = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    // Front insertion reverses order, so post the last character first.
    for (auto byte = characters.rbegin(); byte != characters.rend(); ++byte)
        PostCharacterMessage(msg->hwnd, message, WPARAM(static_cast<unsigned char>(*byte)), msg->lParam);
    return TRUE;
}
