// Menu items and popup menus over the Win32 subset's menus.
#pragma once

#include <string>
#include <vector>

#include "Component.h"
#include "Events.h"

class TPopupMenu;

// A menu item: a caption ('&' marks the access key, "-" is a separator), an
// OnClick handler and items of its own (a submenu). A hidden item is left out
// of the menu shown; a disabled one is shown gray and cannot be chosen.
class TMenuItem : public TComponent {
    CLASSLIB_CLASS(TMenuItem, TComponent)

public:
    explicit TMenuItem(TComponent* owner);
    ~TMenuItem() override;

    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& caption) { caption_ = caption; }
    bool GetEnabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool GetChecked() const { return checked_; }
    void SetChecked(bool checked) { checked_ = checked; }
    bool GetVisible() const { return visible_; }
    void SetVisible(bool visible) { visible_ = visible; }
    bool IsLine() const { return caption_ == "-"; }

    // Sub-items. Add takes an item out of its previous parent item; null is
    // ignored. GetItem and Delete throw EListError out of range.
    void Add(TMenuItem* item);
    // A new item with that caption and handler, owned by this item's owner.
    TMenuItem* Add(const std::string& caption, TNotifyEvent onClick = TNotifyEvent());
    void Insert(int index, TMenuItem* item);
    void Remove(TMenuItem* item);
    // Deletes the sub-item (and so its own sub-items).
    void Delete(int index);
    // Deletes every sub-item.
    void Clear();
    int IndexOf(const TMenuItem* item) const;
    int GetCount() const { return static_cast<int>(items_.size()); }
    TMenuItem* GetItem(int index) const;
    TMenuItem* GetParent() const { return parent_; }
    // The popup menu whose items this item is among (at any depth); null when none.
    TPopupMenu* GetMenu() const;

    // Where a form resource puts the item: the name of the popup menu or menu
    // item it belongs to. While loading the name is kept until Loaded and
    // looked up among the owner's components then; otherwise at once. An
    // unknown name (or empty) takes the item out of its parent.
    std::string GetParentMenu() const;
    void SetParentMenu(const std::string& name);
    void Loaded() override;

    // Fires OnClick when the item is enabled.
    virtual void Click();
    TNotifyEvent OnClick;

private:
    friend class TPopupMenu;
    std::vector<TMenuItem*> items_;
    TMenuItem* parent_ = nullptr;
    TPopupMenu* rootOf_ = nullptr;  // set on the root item of a popup menu
    std::string pendingParentMenu_;
    std::string caption_;
    bool enabled_ = true;
    bool checked_ = false;
    bool visible_ = true;
};

// A menu shown at a screen point; the item chosen gets Click.
class TPopupMenu : public TComponent {
    CLASSLIB_CLASS(TPopupMenu, TComponent)

public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // The root item whose sub-items are the menu.
    TMenuItem* GetItems() const { return items_; }
    // The component the menu was last opened for (a control sets itself).
    TComponent* GetPopupComponent() const { return popupComponent_; }
    void SetPopupComponent(TComponent* component) { popupComponent_ = component; }
    // Off: a right click does not open the menu by itself (Popup still does).
    bool GetAutoPopup() const { return autoPopup_; }
    void SetAutoPopup(bool autoPopup) { autoPopup_ = autoPopup; }

    // Fires OnPopup, shows the menu at the screen point and waits for a
    // choice; the chosen item's Click runs after the menu has closed. A menu
    // without visible items shows nothing but still counts as opened.
    virtual void Popup(int x, int y);
    // How many times Popup has run; controls use it to open a menu only once
    // per right click.
    unsigned GetPopupCount() const { return popupCount_; }

    TNotifyEvent OnPopup;

    // The menu items by the names of their captions without '&' (compared
    // without case); null when none, searched depth first.
    TMenuItem* FindItemByCaption(const std::string& caption) const;

    void Notification(TComponent* component, TOperation operation) override;

private:
    TMenuItem* items_;
    TComponent* popupComponent_ = nullptr;
    bool autoPopup_ = true;
    unsigned popupCount_ = 0;
};

// The property tables of the menu classes (called by the library's start-up).
void RegisterMenuProperties();
