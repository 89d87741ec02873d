#include "skin/form/skin_data_components_win32.h"

#include <windows.h>

#include <algorithm>
#include <map>
#include <memory>

#include "framework/application.h"
#include "framework/forms.h"

namespace kelmar {
namespace {

// One form as a receiver of skin messages. The message goes to the form's
// current window, and only while the form still exists.
class FormSkinSink : public SkinMessageSink {
 public:
  explicit FormSkinSink(TForm* form) : form_(form) {}
  void Send(uint32_t message, TksSkinData* sender, intptr_t param) override {
    const auto& forms = Application().Forms();
    if (std::find(forms.begin(), forms.end(), form_) == forms.end() || !form_->HandleAllocated()) return;
    SendMessageW(form_->Handle(), message, reinterpret_cast<WPARAM>(sender), static_cast<LPARAM>(param));
  }

 private:
  TForm* form_;
};

// One sink per form address for the whole run, so that the owner form's sink
// and its entry in the form list are the same object (the broadcast skips the
// owner by comparing them) and a list taken for one broadcast stays valid
// even when a form handling a message creates or frees forms.
SkinMessageSink* SinkOf(TForm* form) {
  static std::map<TForm*, std::unique_ptr<FormSkinSink>> sinks;
  auto& sink = sinks[form];
  if (!sink) sink = std::make_unique<FormSkinSink>(form);
  return sink.get();
}

class ApplicationSkinForms : public SkinFormList {
 public:
  std::vector<SkinMessageSink*> SkinForms() const override {
    std::vector<SkinMessageSink*> result;
    for (TForm* form : Application().Forms()) result.push_back(SinkOf(form));
    return result;
  }
};

const ApplicationSkinForms& AllForms() {
  static const ApplicationSkinForms forms;
  return forms;
}

}  // namespace

TksCompressedStoredSkinComponent::TksCompressedStoredSkinComponent(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {}

TksSkinDataComponent::TksSkinDataComponent(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)) {
  TForm* form = dynamic_cast<TForm*>(owner);
  skin_.SetMessageTargets(form ? SinkOf(form) : nullptr, &AllForms());
}

void TksSkinDataComponent::SetCompressedStoredSkin(TksCompressedStoredSkinComponent* skin) {
  storedSkin_ = skin;
  storedSkinComponent_ = skin;
  skin_.SetCompressedStoredSkin(skin);
}

void TksSkinDataComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == TOperation::opRemove && storedSkinComponent_ && component == storedSkinComponent_) {
    skin_.NotifyRemoved(skin_.CompressedStoredSkin());
    storedSkin_ = nullptr;
    storedSkinComponent_ = nullptr;
  }
}

namespace {

// The bytes of one RCDATA resource of the running program; empty when it has
// none of that name.
std::vector<uint8_t> ProgramResource(const wchar_t* name) {
  HMODULE module = GetModuleHandleW(nullptr);
  HRSRC info = FindResourceW(module, name, RT_RCDATA);
  if (!info) return {};
  HGLOBAL handle = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const auto* bytes = handle ? static_cast<const uint8_t*>(LockResource(handle)) : nullptr;
  if (!bytes) return {};
  return std::vector<uint8_t>(bytes, bytes + size);
}

std::wstring OwnSkinResource(TOwnSkin skin) { return skin == TOwnSkin::Dark ? L"KELMAR_SKIN_DARK" : L"KELMAR_SKIN"; }

}  // namespace

std::vector<uint8_t> EmbeddedSkinPackage(TOwnSkin skin) { return ProgramResource(OwnSkinResource(skin).c_str()); }

std::vector<TEmbeddedDrawing> EmbeddedSkinDrawings(TOwnSkin skin) {
  std::vector<TEmbeddedDrawing> drawings;
  for (int dpi : {144, 192}) {
    std::vector<uint8_t> package = ProgramResource((OwnSkinResource(skin) + L"_" + std::to_wstring(dpi)).c_str());
    if (!package.empty()) drawings.push_back({dpi, std::move(package)});
  }
  return drawings;
}

}  // namespace kelmar
