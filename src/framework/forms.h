#pragma once
// Top-level forms. A component owned by the form can take over the form's
// messages through WindowProc (the skinned frame takes the non-client
// messages this way).
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/controls.h"

namespace kelmar {

enum class TCloseAction { caNone, caHide, caFree, caMinimize };
enum class TPosition { poDesigned, poDesktopCenter, poScreenCenter };
enum class TFormStyle { fsNormal, fsStayOnTop };

class TForm : public TWinControl {
 public:
  explicit TForm(TComponent* owner, std::string name);
  ~TForm() override;

  void SetClientSize(int width, int height);
  int ClientWidth() const;
  int ClientHeight() const;
  void SetPosition(TPosition p) { position_ = p; }
  void SetFormStyle(TFormStyle s);
  TFormStyle FormStyle() const { return form_style_; }
  // Whether the hints of the form's controls show (framework/hints.h).
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show) { show_hint_ = show; }

  void Show();
  void Close();
  // Frees the form once the current message is done.
  void Release();

  // Events, fired synchronously on the user-interface thread.
  std::function<void()> OnCreate;
  std::function<void(TCloseAction&)> OnClose;
  std::function<void()> OnDestroy;

  void WndProc(TMessage& m) override;

  // Called once after construction by TApplication::CreateForm: places the
  // form and fires OnCreate.
  virtual void Loaded();

 protected:
  void CreateParams(TCreateParams& params) override;
  void HandleCreated() override;

 private:
  void PlaceOnDesktop();

  TPosition position_ = TPosition::poDesigned;
  TFormStyle form_style_ = TFormStyle::fsNormal;
  bool show_hint_ = false;
  int client_width_ = 0;
  int client_height_ = 0;
};

}  // namespace kelmar
