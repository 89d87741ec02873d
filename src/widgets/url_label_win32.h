#pragma once
// A label that behaves like a hyperlink: underlined text in a link colour, a
// hand cursor, and a click that asks the shell to open its address.
#include <string>

#include "framework/accessible.h"
#include "framework/platform.h"
#include "framework/std_controls.h"

namespace kelmar {

constexpr TCursor crHandLink = 26000;
constexpr TColor clPurple = RGB(128, 0, 128);
constexpr TColor clBlue = RGB(0, 0, 255);

// A label with a hover colour; the other text styles of the family (rotation,
// borders, blinking) are kept as settings only: no label of this program
// turns them on.
class TStyledLabel : public TLabel {
 public:
  TStyledLabel(TComponent* owner, std::string name);

  bool FlyByEnabled = false;
  TColor FlyByColor = GetSysColor(COLOR_HIGHLIGHT);
  bool Blinking = false;
  TColor BlinkColor = GetSysColor(COLOR_HIGHLIGHT);
  int Angle = 0;
  int BevelWidth = 1;

  void MouseEnter() override;
  void MouseLeave() override;

 private:
  TColor color_before_fly_by_ = 0;
  bool flying_ = false;
};

class TURLLabel;

// The keyboard's way to a link, which has no window of its own: a window
// without an area, beside the label among its parent's controls, that
// stops Tab for it; Enter or Space opens the link. It is the link for
// screen readers as well: role link, at the label's place.
class TLinkKeyTarget : public TWinControl, public TAccessibleSource {
 public:
  explicit TLinkKeyTarget(TURLLabel* link);
  bool DialogKey(WORD key, TShiftState shift) override;

  HWND AccWindow() const override { return Handle(); }
  std::wstring AccName(int child) const override;
  std::wstring AccValue(int child) const override;
  long AccRole(int child) const override { return ROLE_SYSTEM_LINK; }
  long AccState(int child) const override;
  std::wstring AccDefaultAction(int child) const override { return L"跳转"; }
  void AccRunDefaultAction(int child) override;
  Rect AccLocation(int child) const override;

 protected:
  void WndProc(TMessage& m) override;
  void FocusChanged(bool focused) override;
  void KeyUp(WORD key, TShiftState shift) override;

 private:
  TURLLabel* link_;
  TAccessibleHost accessible_{*this};
};

class TURLLabel : public TStyledLabel {
 public:
  TURLLabel(TComponent* owner, std::string name, TPlatformServices* services = nullptr);

  const std::wstring& URL() const { return url_; }
  void SetURL(const std::wstring& url) { url_ = url; }
  bool Visited() const { return visited_; }
  void SetVisited(bool visited);
  TColor VisitedColor() const { return visited_color_; }
  void SetVisitedColor(TColor color);
  TColor UnvisitedColor() const { return unvisited_color_; }
  void SetUnvisitedColor(TColor color);

  void Click() override;
  void SetParent(TWinControl* parent) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Paint(TCanvas& canvas) override;
  // The window that holds the focus for the link.
  TLinkKeyTarget* KeyTarget() const { return key_target_; }

 private:
  void RefreshColor();
  void CaptionChanged() override;

  TPlatformServices* services_;
  std::wstring url_;
  bool visited_ = false;
  TColor visited_color_ = clPurple;
  TColor unvisited_color_ = GetSysColor(COLOR_HIGHLIGHT);
  TLinkKeyTarget* key_target_;
};

// Registers the link hand as the application's cursor 26000.
void RegisterHandCursor();

}  // namespace kelmar
