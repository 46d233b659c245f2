// The message queue: posted and input messages, cross-thread sends, WM_QUIT,
// and the generated WM_PAINT and WM_TIMER messages.
#include "MessageQueue.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>

#include "Input.h"
#include "MessageClock.h"
#include "WindowHooks.h"
#include "display/DisplayBackEnd.h"

namespace win32 {
namespace {

struct QueuedMessage {
    MSG msg;
    bool input = false;
    std::string characters;
};

struct SentMessage {
    HWND window;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LRESULT result = 0;
    bool done = false;
};

struct Queue {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<QueuedMessage> posted;
    std::deque<SentMessage*> sent;
    bool quitPosted = false;
    int quitCode = 0;
    unsigned wakeCount = 0;
};

Queue& TheQueue() {
    static Queue* queue = new Queue;  // outlives every thread that may still post at exit
    return *queue;
}

thread_local int runningSentMessage = 0;

// The last key-down retrieved, with its characters, for TranslateMessage.
struct RetrievedKey {
    MSG msg{};
    std::string characters;
    bool valid = false;
};
thread_local RetrievedKey lastKey;
thread_local MSG lastRetrieved{};

POINT CurrentCursor() {
    POINT point{0, 0};
    GetCursorPos(&point);
    return point;
}

bool InRange(UINT message, UINT filterMin, UINT filterMax) {
    if (filterMin == 0 && filterMax == 0) return true;
    return message >= filterMin && message <= filterMax;
}

bool MatchesWindow(HWND filter, HWND window) {
    return filter == nullptr || filter == window || IsChild(filter, window);
}

void RunSentMessages() {
    Queue& queue = TheQueue();
    for (;;) {
        SentMessage* sent = nullptr;
        {
            std::lock_guard<std::mutex> lock(queue.mutex);
            if (queue.sent.empty()) return;
            sent = queue.sent.front();
            queue.sent.pop_front();
        }
        LRESULT result = 0;
        if (Window* window = FindWindowQuietly(sent->window)) {
            ++runningSentMessage;
            result = CallProcedure(*window, sent->message, sent->wParam, sent->lParam);
            --runningSentMessage;
        }
        std::lock_guard<std::mutex> lock(queue.mutex);
        sent->result = result;
        sent->done = true;
        queue.changed.notify_all();
    }
}

bool IsMouseMessage(UINT message) {
    return (message >= WM_MOUSEFIRST && message <= WM_MOUSELAST) ||
           (message >= WM_NCMOUSEMOVE && message <= WM_NCLBUTTONDBLCLK);
}

// The window under the pointer chooses the cursor shape before it sees the mouse message.
void SendSetCursor(const MSG& msg) {
    if (msg.hwnd == nullptr || GetCapture() != nullptr || !IsMouseMessage(msg.message)) return;
    const WORD hit = msg.message >= WM_MOUSEFIRST ? WORD(HTCLIENT) : WORD(msg.wParam);
    SendMessageA(msg.hwnd, WM_SETCURSOR, WPARAM(msg.hwnd), MAKELPARAM(hit, WORD(msg.message)));
}

void NoteRetrieved(const QueuedMessage& entry) {
    lastRetrieved = entry.msg;
    if (!entry.input) return;
    SendSetCursor(entry.msg);
    ApplyInputToKeyState(entry.msg.message, entry.msg.wParam, entry.msg.lParam);
    if (entry.msg.message == WM_KEYDOWN || entry.msg.message == WM_SYSKEYDOWN) {
        lastKey.msg = entry.msg;
        lastKey.characters = entry.characters;
        lastKey.valid = true;
    }
}

bool IsKeyboardMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_SYSKEYDOWN || message == WM_SYSKEYUP ||
           message == WM_CHAR;
}

// Keyboard input goes to the window that has the focus when it is retrieved,
// not when it was typed: keys typed ahead of a focus change (Tab, then text,
// faster than the loop runs) reach the control the focus moved to.
void AddressKeyboardInput(std::deque<QueuedMessage>& posted, HWND keyboardTarget) {
    if (keyboardTarget == nullptr) return;
    for (QueuedMessage& entry : posted) {
        if (entry.input && IsKeyboardMessage(entry.msg.message)) entry.msg.hwnd = keyboardTarget;
        if (entry.input) return;  // later input waits until this one has been handled
    }
}

bool TakePosted(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
    Queue& queue = TheQueue();
    QueuedMessage taken;
    HWND keyboardTarget = GetFocus();
    if (keyboardTarget == nullptr) keyboardTarget = GetActiveWindow();
    {
        std::lock_guard<std::mutex> lock(queue.mutex);
        AddressKeyboardInput(queue.posted, keyboardTarget);
        auto entry = queue.posted.begin();
        for (; entry != queue.posted.end(); ++entry)
            if (InRange(entry->msg.message, filterMin, filterMax) && MatchesWindow(filter, entry->msg.hwnd)) break;
        if (entry == queue.posted.end()) {
            if (!queue.quitPosted || !queue.posted.empty() || !InRange(WM_QUIT, filterMin, filterMax)) return false;
            *msg = MSG{nullptr, WM_QUIT, WPARAM(queue.quitCode), 0, MessageClockNow(), CurrentCursor()};
            if (remove) queue.quitPosted = false;
            return true;
        }
        *msg = entry->msg;
        if (!remove) return true;
        taken = std::move(*entry);
        queue.posted.erase(entry);
    }
    NoteRetrieved(taken);
    return true;
}

// A window whose frame alone needs drawing gets WM_NCPAINT here; one with an
// invalid client area gets WM_PAINT.
bool TakePaint(MSG* msg, HWND filter, UINT filterMin, UINT filterMax) {
    if (!InRange(WM_PAINT, filterMin, filterMax)) return false;
    while (Window* window = NextWindowToPaint()) {
        if (!MatchesWindow(filter, window->handle)) return false;
        if (window->updateRegion.Empty()) {
            window->nonClientDirty = false;
            CallProcedure(*window, WM_NCPAINT, 1, 0);
            continue;
        }
        *msg = MSG{window->handle, WM_PAINT, 0, 0, MessageClockNow(), CurrentCursor()};
        return true;
    }
    return false;
}

bool Retrieve(MSG* msg, HWND filter, UINT filterMin, UINT filterMax, bool remove) {
    CurrentDisplay().PollEvents();
    RunSentMessages();
    if (TakePosted(msg, filter, filterMin, filterMax, remove)) return true;
    RunInternalTicks(MessageClockNow());
    if (TakePaint(msg, filter, filterMin, filterMax)) return true;
    if (TakeDueTimer(filter, filterMin, filterMax, remove, msg)) {
        if (remove) lastRetrieved = *msg;
        return true;
    }
    return false;
}

// Earliest moment something generated (timer, caret blink, bar repeat) falls due.
bool NextDue(uint32_t* due) {
    bool any = EarliestTimerDue(due);
    const uint32_t tick = NextInternalTickDue();
    if (tick != 0 && (!any || int32_t(tick - *due) < 0)) {
        *due = tick;
        any = true;
    }
    return any;
}

void WaitForWork() {
    Queue& queue = TheQueue();
    std::unique_lock<std::mutex> lock(queue.mutex);
    if (!queue.posted.empty() || !queue.sent.empty() || queue.quitPosted) return;
    const unsigned wakeCount = queue.wakeCount;
    lock.unlock();
    uint32_t due = 0;
    const bool hasDue = NextDue(&due);
    lock.lock();
    auto ready = [&] {
        return !queue.posted.empty() || !queue.sent.empty() || queue.quitPosted || queue.wakeCount != wakeCount;
    };
    if (hasDue && !UsingTestClock()) {
        const int32_t wait = int32_t(due - MessageClockNow());
        if (wait <= 0) return;
        queue.changed.wait_for(lock, std::chrono::milliseconds(wait), ready);
    } else {
        queue.changed.wait(lock, ready);
    }
}

}  // namespace

bool NextClockDue(uint32_t* due) { return NextDue(due); }

void PostInputMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam, const std::string& characters) {
    Queue& queue = TheQueue();
    QueuedMessage entry{MSG{window, message, wParam, lParam, MessageClockNow(), CurrentCursor()}, true, characters};
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.posted.push_back(std::move(entry));
    queue.changed.notify_all();
}

void WakeMessageLoop() {
    Queue& queue = TheQueue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    ++queue.wakeCount;
    queue.changed.notify_all();
}

void ClearMessageQueue() {
    Queue& queue = TheQueue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.posted.clear();
    for (SentMessage* sent : queue.sent) sent->done = true;
    queue.sent.clear();
    queue.quitPosted = false;
    queue.changed.notify_all();
    lastKey.valid = false;
}

void ForgetMessagesOf(HWND window) {
    Queue& queue = TheQueue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    for (auto entry = queue.posted.begin(); entry != queue.posted.end();)
        entry = entry->msg.hwnd == window ? queue.posted.erase(entry) : entry + 1;
    for (auto sent = queue.sent.begin(); sent != queue.sent.end();) {
        if ((*sent)->window == window) {
            (*sent)->done = true;
            sent = queue.sent.erase(sent);
        } else {
            ++sent;
        }
    }
    queue.changed.notify_all();
    if (lastKey.msg.hwnd == window) lastKey.valid = false;
}

bool CharactersOfRetrievedKey(const MSG& msg, std::string* characters) {
    if (!lastKey.valid || lastKey.msg.hwnd != msg.hwnd || lastKey.msg.message != msg.message ||
        lastKey.msg.wParam != msg.wParam || lastKey.msg.lParam != msg.lParam || lastKey.msg.time != msg.time)
        return false;
    *characters = lastKey.characters;
    return true;
}

// A character message goes to the front, so it follows its key-down before any later input.
void PostCharacterMessage(HWND window, UINT message, WPARAM character, LPARAM lParam) {
    Queue& queue = TheQueue();
    QueuedMessage entry{MSG{window, message, character, lParam, MessageClockNow(), CurrentCursor()}, false, ""};
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.posted.push_front(std::move(entry));
    queue.changed.notify_all();
}

}  // namespace win32

using namespace win32;

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && !WindowStillExists(window)) {
        FindWindowRecord(window);  // sets the last error
        return FALSE;
    }
    Queue& queue = TheQueue();
    QueuedMessage entry{MSG{window, message, wParam, lParam, MessageClockNow(), CurrentCursor()}, false, ""};
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.posted.push_back(std::move(entry));
    queue.changed.notify_all();
    return TRUE;
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    std::thread::id owner;
    if (!WindowThreadOf(handle, &owner)) {
        FindWindowRecord(handle);
        return 0;
    }
    if (owner == std::this_thread::get_id()) {
        Window* window = FindWindowQuietly(handle);
        return window ? CallProcedure(*window, message, wParam, lParam) : 0;
    }
    Queue& queue = TheQueue();
    SentMessage sent{handle, message, wParam, lParam};
    std::unique_lock<std::mutex> lock(queue.mutex);
    queue.sent.push_back(&sent);
    queue.changed.notify_all();
    queue.changed.wait(lock, [&] { return sent.done; });
    return sent.result;
}

void PostQuitMessage(int exitCode) {
    Queue& queue = TheQueue();
    std::lock_guard<std::mutex> lock(queue.mutex);
    queue.quitPosted = true;
    queue.quitCode = exitCode;
    queue.changed.notify_all();
}

BOOL GetMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax) {
    if (msg == nullptr) return -1;
    while (!Retrieve(msg, window, filterMin, filterMax, true)) WaitForWork();
    return msg->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PeekMessageA(LPMSG msg, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    MSG scratch;
    return Retrieve(msg ? msg : &scratch, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0);
}

BOOL WaitMessage() {
    MSG scratch;
    while (!Retrieve(&scratch, nullptr, 0, 0, false)) WaitForWork();
    return TRUE;
}

LRESULT DispatchMessageA(const MSG* msg) {
    if (msg == nullptr) return 0;
    if (msg->message == WM_TIMER && msg->lParam != 0) {
        if (!IsTimerProcedure(msg->hwnd, msg->wParam, msg->lParam)) return 0;
        reinterpret_cast<void (*)(HWND, UINT, UINT_PTR, DWORD)>(msg->lParam)(msg->hwnd, WM_TIMER, msg->wParam,
                                                                           msg->time);
        return 0;
    }
    if (msg->hwnd == nullptr) return 0;
    Window* window = FindWindowRecord(msg->hwnd);
    if (window == nullptr) return 0;
    return CallProcedure(*window, msg->message, msg->wParam, msg->lParam);
}

LONG GetMessageTime() { return LONG(lastRetrieved.time); }

DWORD GetMessagePos() { return DWORD(MAKELONG(WORD(lastRetrieved.pt.x), WORD(lastRetrieved.pt.y))); }

BOOL InSendMessage() { return runningSentMessage > 0; }
