#include "framework/component.h"

#include <algorithm>

namespace kelmar {

TComponent::TComponent(TComponent* owner, std::string name) : owner_(owner), name_(std::move(name)) {
  if (owner_) owner_->Insert(this);
}

TComponent::~TComponent() {
  // Watchers first: a watcher may be a component of the same owner that would
  // otherwise see a half-freed object in its Notification.
  while (!watchers_.empty()) {
    TFreeNotifyTarget* w = watchers_.back();
    watchers_.pop_back();
    w->ComponentFreed(this);
  }
  DestroyComponents();
  if (owner_) owner_->Remove(this);
}

TComponent* TComponent::FindComponent(const std::string& name) const {
  for (TComponent* c : components_)
    if (c->Name() == name) return c;
  return nullptr;
}

void TComponent::DestroyComponents() {
  while (!components_.empty()) delete components_.back();
}

void TComponent::FreeNotification(TFreeNotifyTarget* target) {
  if (std::find(watchers_.begin(), watchers_.end(), target) == watchers_.end()) watchers_.push_back(target);
}

void TComponent::RemoveFreeNotification(TFreeNotifyTarget* target) {
  watchers_.erase(std::remove(watchers_.begin(), watchers_.end(), target), watchers_.end());
}

void TComponent::Insert(TComponent* c) {
  components_.push_back(c);
  for (TComponent* other : components_)
    if (other != c) other->Notification(c, TOperation::opInsert);
}

void TComponent::Remove(TComponent* c) {
  components_.erase(std::remove(components_.begin(), components_.end(), c), components_.end());
  // Copy: a notified component may not free others, but keep iteration safe.
  std::vector<TComponent*> others = components_;
  for (TComponent* other : others) other->Notification(c, TOperation::opRemove);
  Notification(c, TOperation::opRemove);
}

}  // namespace kelmar
