#pragma once
// Components: named parts of a form, owned by it and freed with it. When a
// component is freed, every other component of the same owner is told
// (Notification with opRemove) so it can drop references to it. A component
// referenced from elsewhere (another form's component, say) is held through
// TComponentRef, which becomes null by itself when the component is freed.
#include <functional>
#include <string>
#include <vector>

namespace kelmar {

enum class TOperation { opInsert, opRemove };

class TComponent;

// Told when a component it watches is being freed.
class TFreeNotifyTarget {
 public:
  virtual void ComponentFreed(TComponent* component) = 0;

 protected:
  ~TFreeNotifyTarget() = default;
};

class TComponent {
 public:
  explicit TComponent(TComponent* owner, std::string name = {});
  virtual ~TComponent();
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }
  const std::vector<TComponent*>& Components() const { return components_; }
  TComponent* FindComponent(const std::string& name) const;

  // Called on every component of the owner when `component` is inserted or is
  // about to be freed.
  virtual void Notification(TComponent* component, TOperation operation) {}

  // Watchers of this component, told when it is being freed (before its owner's
  // other components hear of it).
  void FreeNotification(TFreeNotifyTarget* target);
  void RemoveFreeNotification(TFreeNotifyTarget* target);

 protected:
  // Frees the owned components (last created first). Derived destructors that
  // must outlive their components call it themselves.
  void DestroyComponents();

 private:
  void Insert(TComponent* c);
  void Remove(TComponent* c);

  TComponent* owner_ = nullptr;
  std::string name_;
  std::vector<TComponent*> components_;
  std::vector<TFreeNotifyTarget*> watchers_;
};

// A reference to a component that clears itself when the component is freed,
// and then runs OnCleared (when set). Not copyable: it is registered by address.
template <typename T>
class TComponentRef : private TFreeNotifyTarget {
 public:
  TComponentRef() = default;
  explicit TComponentRef(std::function<void()> onCleared) : OnCleared(std::move(onCleared)) {}
  TComponentRef(const TComponentRef&) = delete;
  TComponentRef& operator=(const TComponentRef&) = delete;
  ~TComponentRef() { Set(nullptr); }

  void Set(T* component) {
    if (component == target_) return;
    if (target_) static_cast<TComponent*>(target_)->RemoveFreeNotification(this);
    target_ = component;
    if (target_) static_cast<TComponent*>(target_)->FreeNotification(this);
  }
  TComponentRef& operator=(T* component) {
    Set(component);
    return *this;
  }
  T* Get() const { return target_; }
  T* operator->() const { return target_; }
  operator T*() const { return target_; }
  explicit operator bool() const { return target_ != nullptr; }

  std::function<void()> OnCleared;

 private:
  void ComponentFreed(TComponent*) override {
    target_ = nullptr;
    if (OnCleared) OnCleared();
  }
  T* target_ = nullptr;
};

}  // namespace kelmar
