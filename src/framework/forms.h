#pragma once
// Top-level forms. A component owned by the form can watch the form's
// messages through a filter (the skinned frame takes the non-client
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
  // Whether the hints of the form's controls show (framework/hints.h).
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show) { show_hint_ = show; }

  void Show();
  void Close();
  // Frees the form once the current message is done.
  void Release();

  // Moves the focus to the next (or previous) control that stops Tab, in the
  // order the controls were put on the form, depth first, wrapping around.
  void SelectNext(TWinControl* current, bool forward);
  // A dialog key pressed in one of the form's windows: the focused control
  // may use it; Tab and Shift+Tab move the focus. True when used.
  bool DialogKey(TWinControl* focused, WORD key, TShiftState shift);
  // Offers an accelerator character to the form's controls; true when used.
  bool DialogChar(wchar_t ch);
  // Tells every control of the form where the focus went.
  void FocusMoved(TWinControl* focused);
  // A key pressed anywhere in the form, offered before the focused window
  // sees it (the form's short-cuts); true when used.
  std::function<bool(WORD key, TShiftState shift)> OnShortCut;
  // Set by the buttons that close a dialog.
  int ModalResult = 0;

  // Events, fired synchronously on the user-interface thread.
  std::function<void()> OnCreate;
  std::function<void(TCloseAction&)> OnClose;
  std::function<void()> OnDestroy;

  void WndProc(TMessage& m) override;

  // Called once after construction by TApplication::CreateForm: places the
  // form and fires OnCreate.
  virtual void Loaded();

  // Makes the form, laid out for 96 DPI, for `dpi`: its controls
  // (ScaleChildren) and its own font, always from the 96-DPI design. The
  // window's size is the caller's. A new DPI from the system
  // (WM_DPICHANGED) comes here, and the window then takes the rectangle
  // the system suggests.
  virtual void ScaleTo(int dpi);

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
  HWND focus_before_leaving_ = nullptr;
  // The form's own font height at 96 DPI, taken when it was first scaled.
  int design_font_height_ = 0;
};

// The form a control stands on (the control itself when it is a form).
TForm* GetParentForm(TControl* control);
// The form of a window: its own control's, or that of the nearest parent or
// owner that has one (the inner windows of a system control).
TForm* FormOfWindow(HWND hwnd);

}  // namespace kelmar
