// The responder slot and the modal loop shared by the layer's modal interactions.
#include "Responder.h"

#include <atomic>
#include <cstring>

#include "MessageQueue.h"
#include "display/DisplayBackEnd.h"

namespace win32 {
namespace {

ModalResponder& Slot() {
    static ModalResponder responder;
    return responder;
}

std::atomic<MessageFilter> installedFilter{nullptr};

bool Headless() { return std::strcmp(CurrentDisplay().Name(), "headless") == 0; }

}  // namespace

bool IsHeadlessDisplay() { return Headless(); }

ModalResponder SetModalResponder(ModalResponder responder) {
    ModalResponder previous = std::move(Slot());
    Slot() = std::move(responder);
    return previous;
}

ModalReply AskResponder(const ModalInteraction& interaction) {
    if (Slot()) {
        // A copy: the responder may replace itself while it runs.
        ModalResponder responder = Slot();
        return responder(interaction);
    }
    if (Headless()) return ModalReply::Answer(interaction.defaultAnswer);
    return ModalReply::Run();
}

MessageFilter SetMessageFilter(MessageFilter filter) { return installedFilter.exchange(filter); }

void FilterAndDispatch(const MSG& msg) {
    MessageFilter filter = installedFilter.load();
    if (filter && filter(msg)) return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

bool RunModalLoop(const bool* finished) {
    MSG msg{};
    while (!*finished) {
        if (Headless() && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) return false;
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(int(msg.wParam));
            return false;
        }
        if (got < 0) return false;
        FilterAndDispatch(msg);
    }
    return true;
}

}  // namespace win32
