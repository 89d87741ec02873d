#include "widgets/url_label.h"

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

TURLLabel::TURLLabel(TComponent* owner, std::string name, TPlatformServices* services)
    : TStyledLabel(owner, std::move(name)), services_(services ? services : &DefaultPlatformServices()) {
  RegisterHandCursor();
  SetCursor(crHandLink);
  TFontStyles style;
  style.underline = true;
  Font().SetStyle(style);
  Font().SetColor(unvisited_color_);
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
