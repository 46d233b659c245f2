// TComponent: ownership, names, tags, component state and notifications.
#include "Component.h"

#include <algorithm>
#include <cctype>

#include "Exceptions.h"

namespace {

bool SameText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

bool IsIdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IsIdentifierPart(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

bool IsValidIdentifier(const std::string& name) {
    if (name.empty() || !IsIdentifierStart(name[0])) return false;
    return std::all_of(name.begin(), name.end(), IsIdentifierPart);
}

void Erase(std::vector<TComponent*>& list, TComponent* component) {
    list.erase(std::remove(list.begin(), list.end(), component), list.end());
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    NotifyFreeNotifiers();
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

TComponent* TComponent::GetComponent(int index) const {
    if (index < 0 || index >= GetComponentCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    return components_[static_cast<size_t>(index)];
}

int TComponent::GetComponentIndex() const {
    if (!owner_) return -1;
    const auto& list = owner_->components_;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

TComponent* TComponent::FindComponent(const std::string& name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : components_)
        if (SameText(component->name_, name)) return component;
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (!component || component->owner_ == this) return;
    if (!component->name_.empty() && FindComponent(component->name_))
        throw EComponentError("A component named " + component->name_ + " already exists");
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (!component || component->owner_ != this) return;
    Notification(component, opRemove);
    Erase(components_, component);
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) {
        TComponent* last = components_.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::SetName(const std::string& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdentifier(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw EComponentError("A component named " + name + " already exists");
    }
    name_ = name;
}

void TComponent::SetDesigning(bool designing) {
    if (designing)
        state_ << csDesigning;
    else
        state_ >> csDesigning;
    for (TComponent* component : components_) component->SetDesigning(designing);
}

void TComponent::Loaded() { state_ >> csLoading; }

void TComponent::FreeNotification(TComponent* other) {
    if (!other || other == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), other) == freeNotifies_.end())
        freeNotifies_.push_back(other);
    if (std::find(other->freeNotifies_.begin(), other->freeNotifies_.end(), this) == other->freeNotifies_.end())
        other->freeNotifies_.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* other) {
    if (!other) return;
    ForgetFreeNotifier(other);
    other->ForgetFreeNotifier(this);
}

void TComponent::ForgetFreeNotifier(TComponent* other) { Erase(freeNotifies_, other); }

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component) RemoveFreeNotification(component);
    // A copy: a handler may remove components while we walk the list.
    std::vector<TComponent*> owned = components_;
    for (TComponent* child : owned)
        if (child != component) child->Notification(component, operation);
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_ << csDestroying;
    for (TComponent* component : components_) component->Destroying();
}

void TComponent::NotifyFreeNotifiers() {
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->ForgetFreeNotifier(this);
        other->Notification(this, opRemove);
    }
}
