// TComponent: ownership, names, tags, component state and notifications.
#pragma once

#include <any>
#include <cstdint>
#include <string>
#include <vector>

#include "EnumSet.h"
#include "Object.h"

enum TComponentStateFlag { csLoading, csReading, csWriting, csDestroying, csDesigning };

using TComponentState = TEnumSet<TComponentStateFlag>;

enum TOperation { opInsert, opRemove };

// A component owned by another is destroyed with it: components are made with
// new and handed to their owner, which deletes them (latest first) when it is
// destroyed. A component destroyed earlier leaves its owner's list at once.
class TComponent : public TPersistent {
    CLASSLIB_CLASS(TComponent, TPersistent)

public:
    // A null owner leaves the component unowned (the caller deletes it).
    explicit TComponent(TComponent* owner);
    TComponent(const TComponent&) = delete;
    TComponent& operator=(const TComponent&) = delete;
    ~TComponent() override;

    TComponent* GetOwner() const { return owner_; }
    int GetComponentCount() const { return static_cast<int>(components_.size()); }
    // The owned component at index; throws EListError when out of range.
    TComponent* GetComponent(int index) const;
    int GetComponentIndex() const;
    // The owned component with that name, compared without case; null for an
    // empty name or none.
    TComponent* FindComponent(const std::string& name) const;
    // Moves a component from its owner (if any) to this one; null is ignored.
    void InsertComponent(TComponent* component);
    // Drops the component from this owner's list without deleting it.
    void RemoveComponent(TComponent* component);
    // Deletes every owned component, latest first.
    void DestroyComponents();

    const std::string& GetName() const { return name_; }
    // Names are identifiers (letter or '_', then letters, digits, '_') or empty;
    // anything else throws EComponentError, as does a name another component of
    // the same owner has (compared without case).
    virtual void SetName(const std::string& name);
    intptr_t GetTag() const { return tag_; }
    void SetTag(intptr_t tag) { tag_ = tag; }

    TComponentState GetComponentState() const { return state_; }
    // Sets or clears csDesigning here and in every owned component.
    void SetDesigning(bool designing);
    // Marks the component as being loaded (csLoading) until Loaded runs.
    void SetLoading() { state_ << csLoading; }
    // Called once the component's stored properties are read: clears csLoading.
    virtual void Loaded();

    // The event bound to this component's handler called name, for the form
    // loader (a root such as a form answers from its CLASSLIB_HANDLER table,
    // then its base's); an empty std::any when there is none. The base has none.
    virtual std::any FindHandler(const std::string& name) {
        (void)name;
        return {};
    }

    // For form texts: true when a component of this one's owner called name,
    // of class info, is a part that this component makes and keeps itself
    // (as a topic panel makes its scrollers). Texts leave such parts out,
    // and a text written with one in it loads without making it. The base
    // makes no parts.
    virtual bool MakesPart(const std::string& name, const TClassInfo* info) const {
        (void)name;
        (void)info;
        return false;
    }

    // Asks for a Notification(this, opRemove) in other when this component
    // goes, and the other way round. Null is ignored.
    void FreeNotification(TComponent* other);
    void RemoveFreeNotification(TComponent* other);

    // Told when a component joins (opInsert) or leaves (opRemove) this owner,
    // and when a component that asked for free notification goes. The base
    // passes it on to the owned components.
    virtual void Notification(TComponent* component, TOperation operation);

protected:
    // Marks the component (and what it owns) as going; derived destructors
    // call it before they take things apart.
    void Destroying();

private:
    void NotifyFreeNotifiers();
    void ForgetFreeNotifier(TComponent* other);

    TComponent* owner_ = nullptr;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
    std::string name_;
    intptr_t tag_ = 0;
    TComponentState state_;
};
