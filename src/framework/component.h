#pragma once
// Components: named parts of a form, owned by it and freed with it. When a
// component is freed, every other component of the same owner is told
// (Notification with opRemove) so it can drop references to it.
#include <string>
#include <vector>

namespace kelmar {

enum class TOperation { opInsert, opRemove };

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
};

}  // namespace kelmar
