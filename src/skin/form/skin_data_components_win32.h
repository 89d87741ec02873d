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

// The skin model as a component. The model is a member, not a base: skin
// messages carry the model's address (Skin()), and that one address is what
// the frame and the controls compare with.
class TksSkinDataComponent : public TComponent {
 public:
  // When the owner is a form, its window receives the skin messages first.
  TksSkinDataComponent(TComponent* owner, std::string name);

  TksSkinData& Skin() { return skin_; }
  const TksSkinData& Skin() const { return skin_; }
  // Whether a skin message's first parameter names this skin data.
  bool IsSender(uintptr_t wparam) const { return wparam == reinterpret_cast<uintptr_t>(&skin_); }

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
  TksSkinData skin_;
};

// The program's own skins: "Kelmar Light", and "Kelmar Dark" for when the
// user asks applications for their dark look. The same places and sizes.
enum class TOwnSkin { Light, Dark };

// The deflated package that the running program carries as the RCDATA
// resource KELMAR_SKIN (KELMAR_SKIN_DARK); empty when the module has none.
std::vector<uint8_t> EmbeddedSkinPackage(TOwnSkin skin = TOwnSkin::Light);

// The same skin drawn for higher DPIs, deflated packages whose description
// names its DPI ("dpi=N" in [VERSION]): KELMAR_SKIN_144 and KELMAR_SKIN_192
// (KELMAR_SKIN_DARK_144 and _192), in that order, leaving out any the module
// lacks. The skin data draws from them (TksSkinData::SetDrawings) when it is
// made for a DPI above 96.
struct TEmbeddedDrawing {
  int dpi;  // as its resource's name and its description give it
  std::vector<uint8_t> package;
};
std::vector<TEmbeddedDrawing> EmbeddedSkinDrawings(TOwnSkin skin = TOwnSkin::Light);

}  // namespace kelmar
