// Menu items and popup menus over the Win32 subset's menus.
#include "Menus.h"

#include <algorithm>
#include <map>

#include "Exceptions.h"
#include "PropertyTable.h"
#include "Registration.h"

namespace {

const char* const kPopupWindowClass = "TPopupMenuWindow";

LRESULT CALLBACK PopupWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

// The hidden window that popup menus are tracked for; made again when the
// window layer has been reset meanwhile.
HWND PopupWindow() {
    static HWND window = nullptr;
    if (window && IsWindow(window)) return window;
    WNDCLASSA windowClass{};
    if (!GetClassInfoA(nullptr, kPopupWindowClass, &windowClass)) {
        windowClass.lpfnWndProc = PopupWindowProc;
        windowClass.lpszClassName = kPopupWindowClass;
        RegisterClassA(&windowClass);
    }
    window = CreateWindowExA(WS_EX_TOOLWINDOW, kPopupWindowClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             nullptr, nullptr);
    return window;
}

// Builds a menu handle from the visible items; commands number the items.
HMENU BuildMenu(const TMenuItem* parent, std::map<UINT, TMenuItem*>& commands) {
    HMENU menu = CreatePopupMenu();
    for (int i = 0; i < parent->GetCount(); ++i) {
        TMenuItem* item = parent->GetItem(i);
        if (!item->GetVisible()) continue;
        if (item->IsLine()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT state = (item->GetEnabled() ? MF_ENABLED : MF_GRAYED) | (item->GetChecked() ? MF_CHECKED : 0);
        if (item->GetCount() > 0) {
            HMENU submenu = BuildMenu(item, commands);
            AppendMenuA(menu, MF_POPUP | state, reinterpret_cast<UINT_PTR>(submenu), item->GetCaption().c_str());
        } else {
            UINT command = static_cast<UINT>(commands.size() + 1);
            commands[command] = item;
            AppendMenuA(menu, MF_STRING | state, command, item->GetCaption().c_str());
        }
    }
    return menu;
}

}  // namespace

// ---- TMenuItem ----

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner) {}

TMenuItem::~TMenuItem() {
    Destroying();
    // Sub-items that no owner will delete go with their parent item.
    std::vector<TMenuItem*> items = items_;
    for (TMenuItem* item : items) {
        item->parent_ = nullptr;
        if (!item->GetOwner()) delete item;
    }
    if (parent_) parent_->Remove(this);
}

void TMenuItem::Add(TMenuItem* item) { Insert(GetCount(), item); }

TMenuItem* TMenuItem::Add(const std::string& caption, TNotifyEvent onClick) {
    auto* item = new TMenuItem(GetOwner());
    item->SetCaption(caption);
    item->OnClick = std::move(onClick);
    Add(item);
    return item;
}

void TMenuItem::Delete(int index) { delete GetItem(index); }

void TMenuItem::Clear() {
    while (!items_.empty()) delete items_.back();
}

int TMenuItem::IndexOf(const TMenuItem* item) const {
    auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

TPopupMenu* TMenuItem::GetMenu() const {
    const TMenuItem* root = this;
    while (root->parent_) root = root->parent_;
    return root->rootOf_;
}

std::string TMenuItem::GetParentMenu() const {
    if (!parent_) return pendingParentMenu_;
    if (parent_->rootOf_) return parent_->rootOf_->GetName();
    return parent_->GetName();
}

void TMenuItem::SetParentMenu(const std::string& name) {
    if (GetComponentState().Contains(csLoading)) {
        pendingParentMenu_ = name;
        return;
    }
    pendingParentMenu_.clear();
    TComponent* found = GetOwner() && !name.empty() ? GetOwner()->FindComponent(name) : nullptr;
    if (auto* menu = dynamic_cast<TPopupMenu*>(found)) {
        menu->GetItems()->Add(this);
    } else if (auto* item = dynamic_cast<TMenuItem*>(found); item && item != this) {
        item->Add(this);
    } else if (parent_) {
        parent_->Remove(this);
    }
}

void TMenuItem::Loaded() {
    TComponent::Loaded();
    std::string pending = pendingParentMenu_;
    if (!pending.empty()) SetParentMenu(pending);
}

void TMenuItem::Insert(int index, TMenuItem* item) {
    if (!item) return;
    if (index < 0 || index > GetCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    for (TMenuItem* ancestor = this; ancestor; ancestor = ancestor->parent_)
        if (ancestor == item) throw EInvalidOperation("A menu item cannot contain itself");
    if (item->parent_) item->parent_->Remove(item);
    items_.insert(items_.begin() + index, item);
    item->parent_ = this;
}

void TMenuItem::Remove(TMenuItem* item) {
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end()) return;
    items_.erase(found);
    item->parent_ = nullptr;
}

TMenuItem* TMenuItem::GetItem(int index) const {
    if (index < 0 || index >= GetCount()) throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return items_[static_cast<size_t>(index)];
}

void TMenuItem::Click() {
    if (enabled_ && OnClick) OnClick(this);
}

// ---- TPopupMenu ----

TPopupMenu::TPopupMenu(TComponent* owner) : TComponent(owner), items_(new TMenuItem(nullptr)) {
    items_->rootOf_ = this;
}

TPopupMenu::~TPopupMenu() {
    Destroying();
    delete items_;
}

void TPopupMenu::Popup(int x, int y) {
    ++popupCount_;
    if (OnPopup) OnPopup(this);
    std::map<UINT, TMenuItem*> commands;
    HMENU menu = BuildMenu(items_, commands);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_RETURNCMD | TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, PopupWindow(), nullptr));
    DestroyMenu(menu);
    auto found = commands.find(chosen);
    if (found != commands.end()) found->second->Click();
}

namespace {

std::string WithoutAccelerators(const std::string& caption) {
    std::string plain;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size()) ++i;
        plain += caption[i];
    }
    return plain;
}

TMenuItem* FindByCaption(const TMenuItem* parent, const std::string& caption) {
    for (int i = 0; i < parent->GetCount(); ++i) {
        TMenuItem* item = parent->GetItem(i);
        if (SameIdentifier(WithoutAccelerators(item->GetCaption()), caption)) return item;
        if (TMenuItem* inner = FindByCaption(item, caption)) return inner;
    }
    return nullptr;
}

}  // namespace

TMenuItem* TPopupMenu::FindItemByCaption(const std::string& caption) const {
    return FindByCaption(items_, WithoutAccelerators(caption));
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == popupComponent_) popupComponent_ = nullptr;
}

// ---- Published properties ----

namespace {

const TPropertyInfo menuItemProperties[] = {
    CLASSLIB_STRING_PROPERTY(TMenuItem, ParentMenu, ""),
    CLASSLIB_STRING_PROPERTY(TMenuItem, Caption, ""),
    CLASSLIB_BOOLEAN_PROPERTY(TMenuItem, Checked, false),
    CLASSLIB_BOOLEAN_PROPERTY(TMenuItem, Enabled, true),
    CLASSLIB_BOOLEAN_PROPERTY(TMenuItem, Visible, true),
    CLASSLIB_EVENT_PROPERTY(TMenuItem, OnClick, TNotifyEvent),
};

const TPropertyInfo popupMenuProperties[] = {
    CLASSLIB_BOOLEAN_PROPERTY(TPopupMenu, AutoPopup, true),
    CLASSLIB_EVENT_PROPERTY(TPopupMenu, OnPopup, TNotifyEvent),
};

}  // namespace

void RegisterMenuProperties() {
    RegisterPropertyTable(TMenuItem::StaticClassInfo(), menuItemProperties);
    RegisterPropertyTable(TPopupMenu::StaticClassInfo(), popupMenuProperties);
    RegisterClass<TMenuItem>();
    RegisterClass<TPopupMenu>();
}
