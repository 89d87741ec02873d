#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/component.h"

namespace kelmar {

namespace {

// Records what it is told and when it is freed.
class Recorder : public TComponent {
 public:
  Recorder(TComponent* owner, std::string name, std::vector<std::string>& log)
      : TComponent(owner, std::move(name)), log_(log) {}
  ~Recorder() override { log_.push_back("free " + Name()); }
  void Notification(TComponent* component, TOperation operation) override {
    if (operation == TOperation::opRemove) log_.push_back(Name() + " told " + component->Name() + " goes");
  }

 private:
  std::vector<std::string>& log_;
};

}  // namespace

TEST(Component, AFreedComponentIsAnnouncedToTheOthersOfItsOwner) {
  std::vector<std::string> log;
  auto* owner = new TComponent(nullptr, "form");
  auto* data = new Recorder(owner, "data", log);
  new Recorder(owner, "frame", log);
  EXPECT_EQ(owner->FindComponent("data"), data);
  delete data;
  EXPECT_EQ(log, (std::vector<std::string>{"free data", "frame told data goes"}));
  EXPECT_EQ(owner->FindComponent("data"), nullptr);
  EXPECT_EQ(owner->Components().size(), 1u);
}

// Last created first; the others are told in creation order.
TEST(Component, TheOwnerFreesItsComponentsLastCreatedFirst) {
  std::vector<std::string> log;
  auto* owner = new TComponent(nullptr, "form");
  new Recorder(owner, "a", log);
  new Recorder(owner, "b", log);
  new Recorder(owner, "c", log);
  delete owner;
  EXPECT_EQ(log, (std::vector<std::string>{"free c", "a told c goes", "b told c goes", "free b", "a told b goes",
                                           "free a"}));
}

}  // namespace kelmar
