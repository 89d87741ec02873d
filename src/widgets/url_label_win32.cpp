#include "widgets/url_label_win32.h"

#include <algorithm>

#include "base/text.h"
#include "framework/application.h"
#include "framework/forms.h"
#include "framework/wide.h"

namespace kelmar {

namespace {

// Windows 95 and NT 4 have no system hand cursor.
bool HasSystemHandCursor() {
  DWORD version = GetVersion();
  DWORD major = LOBYTE(LOWORD(version));
  DWORD minor = HIBYTE(LOWORD(version));
  bool nt = (version & 0x80000000u) == 0;
  if (nt) return major >= 5;
  return major > 4 || (major == 4 && minor > 0);
}

std::wstring TrimBlanks(const std::wstring& s) { return Wide(Trim(Narrow(s))); }

std::wstring UpperExtension(const std::wstring& path) {
  size_t dot = path.find_last_of(L".\\/:");
  if (dot == std::wstring::npos || path[dot] != L'.') return {};
  return Wide(AsciiUpper(Narrow(path.substr(dot))));
}

}  // namespace

void RegisterHandCursor() {
  HCURSOR cursor = HasSystemHandCursor() ? LoadCursorW(nullptr, IDC_HAND)
                                         : LoadCursorW(GetModuleHandleW(nullptr), L"HANDCURSOR");
  if (!cursor) cursor = LoadCursorW(nullptr, IDC_HAND);
  Application().SetCursor(crHandLink, cursor);
}

TStyledLabel::TStyledLabel(TComponent* owner, std::string name) : TLabel(owner, std::move(name)) {}

void TStyledLabel::MouseEnter() {
  if (!FlyByEnabled || flying_) return;
  flying_ = true;
  color_before_fly_by_ = Font().Color();
  Font().SetColor(FlyByColor);
}

void TStyledLabel::MouseLeave() {
  if (!flying_) return;
  flying_ = false;
  Font().SetColor(color_before_fly_by_);
}

TLinkKeyTarget::TLinkKeyTarget(TURLLabel* link) : TWinControl(link, link->Name() + "KeyTarget"), link_(link) {
  SetTabStop(true);
}

bool TLinkKeyTarget::DialogKey(WORD key, TShiftState shift) {
  if (key != VK_RETURN) return false;
  link_->Click();
  return true;
}

void TLinkKeyTarget::KeyUp(WORD key, TShiftState shift) {
  if (key == VK_SPACE) link_->Click();
}

void TLinkKeyTarget::FocusChanged(bool focused) { link_->Invalidate(); }

void TLinkKeyTarget::WndProc(TMessage& m) {
  if (!accessible_.Handle(m)) TWinControl::WndProc(m);
}

std::wstring TLinkKeyTarget::AccName(int child) const { return AccessibleText(link_->Caption()); }

std::wstring TLinkKeyTarget::AccValue(int child) const {
  return TrimBlanks(link_->URL()).empty() ? link_->Caption() : link_->URL();
}

long TLinkKeyTarget::AccState(int child) const {
  long state = ControlAccState(*this, true) | STATE_SYSTEM_LINKED;
  if (!link_->Visible()) state |= STATE_SYSTEM_INVISIBLE;
  if (link_->Visited()) state |= STATE_SYSTEM_TRAVERSED;
  return state;
}

void TLinkKeyTarget::AccRunDefaultAction(int child) {
  if (link_->Enabled()) link_->Click();
}

Rect TLinkKeyTarget::AccLocation(int child) const {
  // The label's place: the window itself has no area.
  const Rect r = link_->BoundsRect();
  POINT corners[2] = {{r.left, r.top}, {r.right, r.bottom}};
  if (!link_->Parent() || !link_->Parent()->HandleAllocated()) return {};
  MapWindowPoints(link_->Parent()->Handle(), nullptr, corners, 2);
  return {int(corners[0].x), int(corners[0].y), int(corners[1].x), int(corners[1].y)};
}

TURLLabel::TURLLabel(TComponent* owner, std::string name, TPlatformServices* services)
    : TStyledLabel(owner, std::move(name)),
      services_(services ? services : &DefaultPlatformServices()),
      key_target_(new TLinkKeyTarget(this)) {
  RegisterHandCursor();
  SetCursor(crHandLink);
  TFontStyles style;
  style.underline = true;
  Font().SetStyle(style);
  Font().SetColor(unvisited_color_);
}

void TURLLabel::SetParent(TWinControl* parent) {
  // The key window first: it joins at the link's 96-DPI place, and the link
  // then moves it wherever it goes (scaled as it joins included).
  key_target_->SetParent(parent);
  TStyledLabel::SetParent(parent);
}

void TURLLabel::SetBounds(int left, int top, int width, int height) {
  TStyledLabel::SetBounds(left, top, width, height);
  key_target_->SetBounds(left, top, 0, 0);
}

void TURLLabel::CaptionChanged() {
  TStyledLabel::CaptionChanged();
  // Named like the link, for whoever reads the focused window.
  key_target_->SetCaption(Caption());
}

void TURLLabel::Paint(TCanvas& canvas) {
  TStyledLabel::Paint(canvas);
  if (!key_target_->Focused()) return;
  // The dotted focus mark round the text, as on the system's links.
  const SIZE text = canvas.TextExtent(Font(), Caption());
  const Rect r = ClientRect();
  const int left = Alignment() == TAlignment::taRightJustify ? r.right - text.cx
                   : Alignment() == TAlignment::taCenter      ? (r.right - text.cx) / 2
                                                              : 0;
  const RECT mark{std::max(left - 1, 0), 0, std::min<int>(left + text.cx + 1, r.right), std::min<int>(text.cy, r.bottom)};
  DrawDottedFocusRect(canvas.Handle(), mark);
}

void TURLLabel::RefreshColor() {
  Font().SetColor(visited_ ? visited_color_ : unvisited_color_);
  Invalidate();
}

void TURLLabel::SetVisited(bool visited) {
  if (visited == visited_) return;
  visited_ = visited;
  RefreshColor();
}

void TURLLabel::SetVisitedColor(TColor color) {
  if (color == visited_color_) return;
  visited_color_ = color;
  RefreshColor();
}

void TURLLabel::SetUnvisitedColor(TColor color) {
  if (color == unvisited_color_) return;
  unvisited_color_ = color;
  RefreshColor();
}

void TURLLabel::Click() {
  TStyledLabel::Click();
  std::wstring target = TrimBlanks(url_).empty() ? Caption() : url_;
  if (TrimBlanks(target).empty()) return;

  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_FLAG_DDEWAIT | SEE_MASK_NOCLOSEPROCESS;
  info.lpVerb = L"Open";
  info.lpFile = target.c_str();  // as stored: blanks are not removed
  info.nShow = SW_SHOWNORMAL;
  const bool opened = services_->ShellOpenEx(info);
  // The process handle is not used; do not leak it.
  KernelHandle process(info.hProcess);
  // The shell tells a failure by a result of 32 or less as well.
  if (opened && reinterpret_cast<INT_PTR>(info.hInstApp) > 32) {
    SetVisited(true);
  } else if (UpperExtension(target) == L".HTM") {
    // The user is offered the choice of a program instead.
    services_->WinExec("RunDLL32.exe Shell32.dll,OpenAs_RunDLL *.htm", SW_SHOWNORMAL);
  } else {
    TForm* form = GetParentForm(this);
    services_->ShowMessageBox(form ? form->Handle() : nullptr, CannotOpenText(target), Application().Title(), MB_OK | MB_ICONINFORMATION);
  }
}

}  // namespace kelmar
