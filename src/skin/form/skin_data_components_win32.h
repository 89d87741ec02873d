#pragma once
// The stored skin and the skin model as components of a form: thin framework
// wrappers around TksCompressedStoredSkin and TksSkinData. The form owns them;
// the skin data sends its skin messages to the application's forms as window
// messages and drops its reference to a stored skin that is freed.
#include <cstdint>
#include <string>
#include <vector>

#include "framework/component.h"
#include "skin/data/compressed_stored_skin.h"
#include "skin/data/skin_data.h"

namespace kelmar {

class TksCompressedStoredSkinComponent : public TComponent, public TksCompressedStoredSkin {
 public:
  TksCompressedStoredSkinComponent(TComponent* owner, std::string name);
};

class TksSkinDataComponent : public TComponent, public TksSkinData {
 public:
  // When the owner is a form, its window receives the skin messages first.
  TksSkinDataComponent(TComponent* owner, std::string name);

  TksCompressedStoredSkinComponent* CompressedStoredSkin() const { return storedSkin_; }
  // Stores the reference and, when it is not null, loads its package at once.
  void SetCompressedStoredSkin(TksCompressedStoredSkinComponent* skin);

  void Notification(TComponent* component, TOperation operation) override;

 private:
  TksCompressedStoredSkinComponent* storedSkin_ = nullptr;
  // The same as a component, taken when it was set: a removal notice arrives
  // while the component is being destroyed, when only this address can still
  // be compared.
  const TComponent* storedSkinComponent_ = nullptr;
};

// The deflated package that the running program carries as the RCDATA
// resource KELMAR_SKIN; empty when the module has none.
std::vector<uint8_t> EmbeddedSkinPackage();

}  // namespace kelmar
