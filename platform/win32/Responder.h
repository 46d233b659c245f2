// The one place every modal interaction of the layer passes through (message
// boxes, popup and system menus; modal forms and file dialogs of the class
// library). A test installs a responder that sees each interaction as it opens
// and answers it; without one, a headless run answers with the default.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "MessageQueue.h"
#include "Win32Types.h"

namespace win32 {

enum class ModalKind { MessageBox, PopupMenu, SystemMenu, Form, FileDialog };

// A button, menu item or control of an interaction.
struct ModalItem {
    int identifier = 0;     // button id (IDOK...), menu command, control id
    std::string text;       // caption as shown, '&' marks included
    bool enabled = true;
    bool checked = false;
    bool separator = false;
    bool submenu = false;   // a menu item that opens another menu
    bool isDefault = false;
    RECT rect{0, 0, 0, 0};  // in the client coordinates of the interaction's window
};

struct ModalInteraction {
    ModalKind kind = ModalKind::MessageBox;
    HWND owner = nullptr;   // the window it belongs to (may be null)
    HWND window = nullptr;  // the window the layer shows for it
    std::string caption;
    std::string text;
    UINT style = 0;         // MB_ flags, TPM_ flags...
    std::vector<ModalItem> items;
    int defaultAnswer = 0;  // what a headless run without responder answers
};

// The responder's reply: answer at once with a result, or let the interaction
// run and take its input (a test queues it with the test driver, or a user
// acts in a real window).
struct ModalReply {
    bool run = false;
    int result = 0;
    static ModalReply Answer(int result) { return ModalReply{false, result}; }
    static ModalReply Run() { return ModalReply{true, 0}; }
};

using ModalResponder = std::function<ModalReply(const ModalInteraction&)>;

// Installs the responder (an empty one removes it); returns the previous one.
ModalResponder SetModalResponder(ModalResponder responder);

// Asks the responder, if any, about an interaction that just opened. Without
// one: run it when a real display shows it, else answer its default.
ModalReply AskResponder(const ModalInteraction& interaction);

// Runs a modal loop until *finished turns true. Returns false when a headless
// run goes idle first (nothing left that could finish it) or WM_QUIT arrives
// (which is posted again for the outer loop).
bool RunModalLoop(const bool* finished);

// A filter the class library installs so that its dialog keys (Tab, Enter,
// Esc, arrows, Alt+letter) reach its forms in every loop of the layer:
// RunModalLoop, the test driver's pump and PumpMessagesFor offer each message
// to it before they translate and dispatch it. It returns true when it used
// the message, which then goes no further. Set once when the library loads;
// null removes it. Returns the previous filter.
using MessageFilter = bool (*)(const MSG& message);
MessageFilter SetMessageFilter(MessageFilter filter);
// Offers msg to the filter, then translates and dispatches it unless the
// filter used it: the body of every message loop of the layer.
void FilterAndDispatch(const MSG& msg);

// True when the headless back end is in use (a modal loop of its own must then
// end once nothing is left that could finish it, as RunModalLoop does).
bool IsHeadlessDisplay();

// Installs a responder for the life of the object and restores the previous one.
class ScopedResponder {
public:
    explicit ScopedResponder(ModalResponder responder) : previous_(SetModalResponder(std::move(responder))) {}
    ~ScopedResponder() { SetModalResponder(std::move(previous_)); }
    ScopedResponder(const ScopedResponder&) = delete;
    ScopedResponder& operator=(const ScopedResponder&) = delete;

private:
    ModalResponder previous_;
};

}  // namespace win32
