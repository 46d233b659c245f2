// Window creation and destruction and the parent/child tree.
#include <algorithm>
#include <cstring>

#include "LastError.h"
#include "MessageQueue.h"
#include "SystemMetrics.h"
#include "WindowHooks.h"
#include "display/DisplayBackEnd.h"

namespace win32 {
namespace {

const int defaultWidth = 640;
const int defaultHeight = 480;

void RemoveFromSiblings(Window& window) {
    std::vector<Window*>& siblings = window.parent ? window.parent->children : TopLevelList();
    siblings.erase(std::remove(siblings.begin(), siblings.end(), &window), siblings.end());
}

// New children go below their siblings, new top-level windows on top of their band.
void InsertAmongSiblings(Window& window) {
    if (window.parent != nullptr) {
        window.parent->children.push_back(&window);
        return;
    }
    std::vector<Window*>& list = TopLevelList();
    auto place = list.begin();
    if ((window.exStyle & WS_EX_TOPMOST) == 0)
        while (place != list.end() && ((*place)->exStyle & WS_EX_TOPMOST) != 0) ++place;
    list.insert(place, &window);
}

std::vector<HWND> ChildHandles(const Window& window) {
    std::vector<HWND> handles;
    for (const Window* child : window.children) handles.push_back(child->handle);
    return handles;
}

void SendDestroyMessages(Window& window) {
    const std::vector<HWND> children = ChildHandles(window);
    CallProcedure(window, WM_DESTROY, 0, 0);
    for (HWND child : children)
        if (Window* record = FindWindowQuietly(child)) SendDestroyMessages(*record);
}

void FreeWindow(Window& window) {
    for (HWND child : ChildHandles(window))
        if (Window* record = FindWindowQuietly(child)) FreeWindow(*record);
    CallProcedure(window, WM_NCDESTROY, 0, 0);
    ForgetCaretOf(window.handle);
    ForgetTimersOf(window.handle);
    ForgetMessagesOf(window.handle);
    ForgetScrollTrackingOf(window.handle);
    RemoveFromSiblings(window);
    for (Window* other : TopLevelList())
        if (other->owner == &window) other->owner = nullptr;
    window.windowClass->windowCount--;
    if (!window.IsChild()) CurrentDisplay().TopLevelDestroyed(window.handle);
    ForgetWindowRecord(&window);
}

std::vector<Window*> OwnedWindows(const Window& owner) {
    std::vector<Window*> owned;
    for (Window* window : TopLevelList())
        if (window->owner == &owner) owned.push_back(window);
    return owned;
}

}  // namespace

bool Window::IsScrollBarControl() const {
    return windowClass != nullptr && (windowClass->name == "SCROLLBAR" || windowClass->name == "ScrollBar");
}

LRESULT CallProcedure(Window& window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window.procedure == nullptr) return 0;
    return window.procedure(window.handle, message, wParam, lParam);
}

Window* TopLevelOf(Window* window) {
    while (window != nullptr && window->IsChild()) window = window->parent;
    return window;
}

void SendSizeMessage(Window& window) {
    const WPARAM kind = window.minimized ? SIZE_MINIMIZED : window.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED;
    CallProcedure(window, WM_SIZE, kind, MAKELPARAM(ClientWidth(window), ClientHeight(window)));
}

void SendMoveMessage(Window& window) {
    const RECT client = ClientAreaInWindow(window);
    CallProcedure(window, WM_MOVE, 0, MAKELPARAM(window.rect.left + client.left, window.rect.top + client.top));
}

void MatchSurfaceToWindow(Window& window) {
    if (window.IsChild()) return;
    const int width = std::max<int>(0, window.rect.right - window.rect.left);
    const int height = std::max<int>(0, window.rect.bottom - window.rect.top);
    if (window.surface && window.surface->Width() == width && window.surface->Height() == height) return;
    auto surface = std::make_unique<Surface>(width, height);
    surface->Fill(0xFFFFFF);
    if (window.surface) {
        const int rows = std::min(height, window.surface->Height());
        const int columns = std::min(width, window.surface->Width());
        for (int y = 0; y < rows; ++y)
            std::memcpy(surface->Row(y), window.surface->Row(y), sizeof(uint32_t) * size_t(std::max(0, columns)));
    }
    window.surface = std::move(surface);
}

}  // namespace win32

using namespace win32;

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int width,
                     int height, HWND parentHandle, HMENU menuOrId, HINSTANCE instance, LPVOID parameter) {
    WindowClass* windowClass = FindWindowClass(className);
    if (windowClass == nullptr) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    Window* parent = parentHandle ? FindWindowRecord(parentHandle) : nullptr;
    if (parentHandle != nullptr && parent == nullptr) return nullptr;
    if ((style & WS_CHILD) != 0 && parent == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto record = std::make_unique<Window>();
    Window& window = *record;
    window.windowClass = windowClass;
    window.procedure = windowClass->record.lpfnWndProc;
    window.style = style & ~DWORD(WS_VISIBLE);
    window.exStyle = exStyle;
    window.instance = instance;
    window.text = windowName ? windowName : "";
    window.identifier = reinterpret_cast<LONG_PTR>(menuOrId);
    window.extraSlots.assign(size_t(windowClass->record.cbWndExtra + 7) / 8, 0);
    window.thread = std::this_thread::get_id();
    if ((style & WS_CHILD) != 0) {
        window.parent = parent;
    } else {
        window.owner = parent ? TopLevelOf(parent) : nullptr;
        if (x == CW_USEDEFAULT) x = y = 0;
        if (width == CW_USEDEFAULT) {
            width = defaultWidth;
            height = defaultHeight;
        }
    }
    if (x == CW_USEDEFAULT) x = y = 0;
    if (width == CW_USEDEFAULT) width = height = 0;
    width = std::max(width, 0);
    height = std::max(height, 0);
    windowClass->windowCount++;
    HWND handle = RegisterWindowRecord(std::move(record));
    InsertAmongSiblings(window);
    ClampToMinMax(window, width, height);
    window.rect = RECT{x, y, x + width, y + height};
    MatchSurfaceToWindow(window);

    CREATESTRUCTA create{parameter, instance, menuOrId, parentHandle, height, width, y, x, LONG(style),
                         windowName, className, exStyle};
    if (!CallProcedure(window, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&create))) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!WindowStillExists(handle)) return nullptr;
    if (CallProcedure(window, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if (!WindowStillExists(handle)) return nullptr;
    window.created = true;
    SendSizeMessage(window);
    SendMoveMessage(window);
    if (!WindowStillExists(handle)) return nullptr;
    if ((style & WS_VISIBLE) != 0) ShowWindow(handle, SW_SHOW);
    return WindowStillExists(handle) ? handle : nullptr;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr || window->destroying) return window != nullptr;
    window->destroying = true;
    for (Window* owned : OwnedWindows(*window)) DestroyWindow(owned->handle);
    if (!WindowStillExists(handle)) return TRUE;
    const bool wasVisible = IsVisibleWithAncestors(*window);
    const RECT rect = window->rect;
    if (wasVisible) {
        window->style &= ~DWORD(WS_VISIBLE);
        if (window->IsChild()) InvalidateParentArea(*window, rect);
    }
    ForgetFocusOf(*window);
    SendDestroyMessages(*window);
    if (!WindowStillExists(handle)) return TRUE;
    const bool wasTopLevel = !window->IsChild();
    FreeWindow(*window);
    if (wasTopLevel) ActivateAnotherWindow(nullptr);
    return TRUE;
}

BOOL IsWindow(HWND handle) { return handle != nullptr && WindowStillExists(handle); }

BOOL IsChild(HWND parentHandle, HWND handle) {
    Window* parent = FindWindowQuietly(parentHandle);
    Window* window = FindWindowQuietly(handle);
    if (parent == nullptr || window == nullptr) return FALSE;
    for (Window* step = window; step->IsChild(); step = step->parent)
        if (step->parent == parent) return TRUE;
    return FALSE;
}

HWND SetParent(HWND handle, HWND newParentHandle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return nullptr;
    Window* newParent = newParentHandle ? FindWindowRecord(newParentHandle) : nullptr;
    if (newParentHandle != nullptr && newParent == nullptr) return nullptr;
    for (Window* step = newParent; step != nullptr; step = step->parent)
        if (step == window) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return nullptr;
        }
    Window* oldParent = window->parent;
    HWND previous = oldParent ? oldParent->handle : GetDesktopWindow();
    const bool visible = IsVisibleWithAncestors(*window);
    if (visible && window->IsChild()) InvalidateParentArea(*window, window->rect);
    // Keep the window's place on screen as seen from the new parent's client area.
    POINT origin = WindowOriginOnScreen(*window);
    RemoveFromSiblings(*window);
    window->parent = newParent;
    if (newParent != nullptr) {
        const POINT client = ClientOriginOnScreen(*newParent);
        origin.x -= client.x;
        origin.y -= client.y;
        window->style |= WS_CHILD;
        window->style &= ~DWORD(WS_POPUP);
        window->surface.reset();
        window->owner = nullptr;
    } else {
        window->style &= ~DWORD(WS_CHILD);
    }
    const LONG width = window->rect.right - window->rect.left;
    const LONG height = window->rect.bottom - window->rect.top;
    window->rect = RECT{origin.x, origin.y, origin.x + width, origin.y + height};
    // A child keeps its z-order at the top when it moves to a new parent.
    if (newParent != nullptr)
        newParent->children.insert(newParent->children.begin(), window);
    else
        InsertAmongSiblings(*window);
    MatchSurfaceToWindow(*window);
    if (IsVisibleWithAncestors(*window)) InvalidateWholeWindow(*window);
    return previous;
}

HWND GetParent(HWND handle) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return nullptr;
    if (window->IsChild()) return window->parent->handle;
    return window->owner ? window->owner->handle : nullptr;
}

HWND GetAncestor(HWND handle, UINT flags) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return nullptr;
    if (flags == GA_PARENT) return window->IsChild() ? window->parent->handle : GetDesktopWindow();
    Window* root = TopLevelOf(window);
    if (flags == GA_ROOTOWNER)
        while (root->owner != nullptr) root = root->owner;
    return root->handle;
}

HWND GetWindow(HWND handle, UINT relation) {
    Window* window = FindWindowRecord(handle);
    if (window == nullptr) return nullptr;
    if (relation == GW_CHILD) return window->children.empty() ? nullptr : window->children.front()->handle;
    if (relation == GW_OWNER) return window->owner ? window->owner->handle : nullptr;
    const std::vector<Window*>& siblings = window->IsChild() ? window->parent->children : TopLevelList();
    auto place = std::find(siblings.begin(), siblings.end(), window);
    if (place == siblings.end()) return nullptr;
    switch (relation) {
        case GW_HWNDFIRST: return siblings.front()->handle;
        case GW_HWNDLAST: return siblings.back()->handle;
        case GW_HWNDNEXT: return place + 1 == siblings.end() ? nullptr : (*(place + 1))->handle;
        case GW_HWNDPREV: return place == siblings.begin() ? nullptr : (*(place - 1))->handle;
        default: SetLastError(ERROR_INVALID_PARAMETER); return nullptr;
    }
}

HWND GetTopWindow(HWND parentHandle) {
    if (parentHandle == nullptr) return TopLevelList().empty() ? nullptr : TopLevelList().front()->handle;
    return GetWindow(parentHandle, GW_CHILD);
}

// The desktop is not a window of the tree; a fixed handle stands for it.
HWND GetDesktopWindow() { return reinterpret_cast<HWND>(uintptr_t(0x10000)); }

int GetDlgCtrlID(HWND handle) {
    Window* window = FindWindowRecord(handle);
    return window && window->IsChild() ? int(window->identifier) : 0;
}

HWND GetDlgItem(HWND parentHandle, int identifier) {
    Window* parent = FindWindowRecord(parentHandle);
    if (parent == nullptr) return nullptr;
    for (Window* child : parent->children)
        if (int(child->identifier) == identifier) return child->handle;
    return nullptr;
}
