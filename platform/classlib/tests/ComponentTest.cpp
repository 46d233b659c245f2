// Ownership, names, tags, component state and notifications of TComponent.
#include <gtest/gtest.h>

#include <vector>

#include "Component.h"
#include "Exceptions.h"

namespace {

// Records its destruction and the notifications it receives.
class TProbe : public TComponent {
    CLASSLIB_CLASS(TProbe, TComponent)

public:
    TProbe(TComponent* owner, std::vector<TProbe*>* destroyed = nullptr) : TComponent(owner), destroyed_(destroyed) {}
    ~TProbe() override {
        if (destroyed_) destroyed_->push_back(this);
    }
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        notifications.push_back({component, operation});
    }
    struct Note {
        TComponent* component;
        TOperation operation;
    };
    std::vector<Note> notifications;

private:
    std::vector<TProbe*>* destroyed_;
};

TEST(Component, OwnerDeletesOwnedComponentsLatestFirst) {
    std::vector<TProbe*> destroyed;
    auto* owner = new TProbe(nullptr);
    auto* first = new TProbe(owner, &destroyed);
    auto* second = new TProbe(owner, &destroyed);
    auto* grandchild = new TProbe(first, &destroyed);
    EXPECT_EQ(owner->GetComponentCount(), 2);
    EXPECT_EQ(owner->GetComponent(1), second);
    EXPECT_EQ(first->GetOwner(), owner);
    EXPECT_EQ(second->GetComponentIndex(), 1);
    EXPECT_THROW(owner->GetComponent(2), EListError);
    EXPECT_THROW(owner->GetComponent(-1), EListError);

    delete owner;
    // A destructor body runs before the components it owns go.
    EXPECT_EQ(destroyed, (std::vector<TProbe*>{second, first, grandchild}));
}

TEST(Component, AComponentDeletedFirstLeavesItsOwnerAndIsAnnounced) {
    TProbe owner(nullptr);
    auto* child = new TProbe(&owner);
    ASSERT_EQ(owner.notifications.size(), 1u);
    EXPECT_EQ(owner.notifications[0].operation, opInsert);
    delete child;
    EXPECT_EQ(owner.GetComponentCount(), 0);
    ASSERT_EQ(owner.notifications.size(), 2u);
    EXPECT_EQ(owner.notifications[1].component, child);
    EXPECT_EQ(owner.notifications[1].operation, opRemove);
}

TEST(Component, InsertComponentMovesBetweenOwners) {
    TComponent first(nullptr), second(nullptr);
    auto* child = new TComponent(&first);
    second.InsertComponent(child);
    EXPECT_EQ(first.GetComponentCount(), 0);
    EXPECT_EQ(second.GetComponentCount(), 1);
    EXPECT_EQ(child->GetOwner(), &second);
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
    TComponent owner(nullptr);
    auto* button = new TComponent(&owner);
    auto* label = new TComponent(&owner);
    button->SetName("OkButton");
    EXPECT_EQ(owner.FindComponent("okbutton"), button);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    EXPECT_EQ(owner.FindComponent("Missing"), nullptr);
    EXPECT_THROW(label->SetName("OKBUTTON"), EComponentError);
    for (const char* bad : {"1st", "with space", "dash-ed", "point."})
        EXPECT_THROW(label->SetName(bad), EComponentError) << bad;
    label->SetName("_Label1");
    label->SetName("");  // empty is allowed, and may repeat
    button->SetName("");
    EXPECT_EQ(owner.FindComponent("OkButton"), nullptr);
}

TEST(Component, InsertingANameClashThrowsAndKeepsTheOldOwner) {
    TComponent first(nullptr), second(nullptr);
    auto* a = new TComponent(&first);
    auto* b = new TComponent(&second);
    a->SetName("Same");
    b->SetName("Same");
    EXPECT_THROW(second.InsertComponent(a), EComponentError);
    EXPECT_EQ(a->GetOwner(), &first);
}

TEST(Component, TagAndClassName) {
    TComponent component(nullptr);
    EXPECT_EQ(component.GetTag(), 0);
    component.SetTag(-42);
    EXPECT_EQ(component.GetTag(), -42);
    EXPECT_STREQ(component.ClassName(), "TComponent");
    EXPECT_TRUE(component.InheritsFrom<TPersistent>());
}

TEST(Component, DesigningReachesOwnedComponentsAndNewcomers) {
    TComponent owner(nullptr);
    auto* before = new TComponent(&owner);
    owner.SetDesigning(true);
    auto* after = new TComponent(&owner);
    EXPECT_TRUE(before->GetComponentState().Contains(csDesigning));
    EXPECT_TRUE(after->GetComponentState().Contains(csDesigning));
    owner.SetDesigning(false);
    EXPECT_FALSE(after->GetComponentState().Contains(csDesigning));
}

TEST(Component, LoadedClearsLoading) {
    TComponent component(nullptr);
    component.SetLoading();
    EXPECT_TRUE(component.GetComponentState().Contains(csLoading));
    component.Loaded();
    EXPECT_FALSE(component.GetComponentState().Contains(csLoading));
}

TEST(Component, FreeNotificationTellsTheOtherComponentOnce) {
    TProbe watcher(nullptr);
    auto* watched = new TComponent(nullptr);
    watched->FreeNotification(&watcher);
    watched->FreeNotification(&watcher);
    delete watched;
    ASSERT_EQ(watcher.notifications.size(), 1u);
    EXPECT_EQ(watcher.notifications[0].component, watched);
    EXPECT_EQ(watcher.notifications[0].operation, opRemove);

    // Both ways: the watcher going first leaves nothing dangling behind.
    auto* watcher2 = new TProbe(nullptr);
    TComponent watched2(nullptr);
    watched2.FreeNotification(watcher2);
    delete watcher2;
}

}  // namespace
