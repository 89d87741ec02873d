// The skinned frame's menus: the system menu (built in, or the
// application's with the built-in entries merged in), the tray menu's
// entries, the form's side of an open skin menu (its state, the keys through
// a loop filter) and the keyboard menu command.
#include <windows.h>

#include "framework/application.h"
#include "framework/wide.h"
#include "skin/data/resource_str_data.h"
#include "skin/form/skin_form_win32.h"

namespace kelmar {

namespace {

bool HasVisibleItem(const TMenuItem* item) {
  for (int i = 0; i < item->Count(); ++i)
    if (item->Items(i)->Visible) return true;
  return false;
}

}  // namespace

FrameMenuState TksSkinForm::MenuState() const {
  FrameMenuState s;
  // The main form is minimized by the system (the frame state stays
  // normal): its menu then offers to restore it.
  s.minimized = FrameState == TWindowState::wsMinimized || IsIconic(ownerForm_->Handle());
  s.maximized = FrameState == TWindowState::wsMaximized;
  s.rolledUp = RollUpState;
  s.sizeable = Sizeable;
  s.icons = borderIcons_;
  return s;
}

TMenuItem* TksSkinForm::MakeEntry(SysMenuEntry entry) {
  const SysMenuEntryInfo& info = EntryInfo(entry);
  std::wstring caption = Wide(info.caption);
  const TksSkinDataComponent* data = skinData_.Get();
  if (const TksResourceStrData* strings = data ? data->Skin().ResourceStrData() : nullptr) {
    const std::string text = strings->GetResString(info.captionKey);
    if (!text.empty()) caption = WideFromCp936(text);
  }
  auto* item = new TMenuItem(info.name, entry == SysMenuEntry::Separator ? L"-" : caption);
  if (entry == SysMenuEntry::Close || entry == SysMenuEntry::TrayClose)
    item->ShortCut = MakeShortCut(VK_F4, scAlt);
  if (entry != SysMenuEntry::Separator) item->OnClick = [this, entry] { RunEntry(entry); };
  return item;
}

void TksSkinForm::RunEntry(SysMenuEntry entry) {
  HWND hwnd = ownerForm_->Handle();
  const bool iconic = IsIconic(hwnd);
  if (iconic && (entry == SysMenuEntry::Restore || entry == SysMenuEntry::Maximize)) ShowWindow(hwnd, SW_RESTORE);
  switch (entry) {
    case SysMenuEntry::Minimize:
      SetWindowState(TWindowState::wsMinimized);
      break;
    case SysMenuEntry::Maximize:
      SetWindowState(TWindowState::wsMaximized);
      break;
    case SysMenuEntry::Restore:
      if (iconic) break;
      if (RolledUpWhileMaximized || (RollUpState && FrameState == TWindowState::wsNormal))
        RollUp(false);
      else
        SetWindowState(TWindowState::wsNormal);
      break;
    case SysMenuEntry::RollUp:
      RollUp(true);
      break;
    case SysMenuEntry::MinimizeToTray:
      MinimizeToTray();
      break;
    case SysMenuEntry::Close:
    case SysMenuEntry::TrayClose:
      ownerForm_->Close();
      break;
    case SysMenuEntry::Move:
    case SysMenuEntry::Size:
      // The system's own loop, from the keyboard (arrows, Enter, Esc puts
      // the window back), once the menu has gone.
      PostMessageW(hwnd, WM_SYSCOMMAND, entry == SysMenuEntry::Move ? SC_MOVE : SC_SIZE, 0);
      break;
    case SysMenuEntry::TrayRestore:
      // Restoring from the tray is the tray icon's; the frame has none.
    case SysMenuEntry::Separator:
      break;
  }
}

TMenuItem* TksSkinForm::SystemMenuItems() {
  // The entries are rebuilt: no open level may still show the old ones.
  if (skinMenu_->MenuOpen) skinMenu_->CloseFrom(0);
  if (TPopupMenu* menu = systemMenu_) {
    TMenuItem* root = menu->Items();
    if (UseDefaultSysMenu) {
      for (int i = root->Count() - 1; i >= 0; --i)
        if (IsBuiltInEntryName(root->Items(i)->Name())) root->Delete(i);
      int position = 0;
      for (SysMenuEntry entry : MergedTopEntries(MenuState())) root->Insert(position++, MakeEntry(entry));
      root->Add(MakeEntry(SysMenuEntry::Close));
    }
    // An application menu with nothing to show leaves the window's own.
    if (HasVisibleItem(root)) return root;
  }
  TMenuItem* root = builtInMenu_->Items();
  root->Clear();
  for (SysMenuEntry entry : BuiltInSystemMenu(MenuState())) root->Add(MakeEntry(entry));
  return root;
}

void TksSkinForm::SkinMenuOpened() {
  if (!MainMenuMode && !menuFilter_) {
    menuFilter_ = Application().AddLoopFilter([this](MSG& msg, const TLoopFilters::Next& next) {
      if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
        MenuKeys(WORD(msg.wParam));
      else if (msg.message != WM_MOUSEWHEEL)  // dropped while a menu is open
        next(msg);
    });
  }
  if (!SkinMenuActive) {
    SkinMenuActive = true;
    if (OnSkinMenuOpen) OnSkinMenuOpen();
  }
}

void TksSkinForm::SkinMenuClosed() {
  SkinMenuActive = false;
  for (const auto& o : objects_) {
    auto* button = dynamic_cast<TksSkinButtonObject*>(o.get());
    if (button && button->Pressed && button->DropMenu) {
      button->SetPressed(false);
      break;
    }
  }
  menuFilter_.Reset();
  if (OnSkinMenuClose) OnSkinMenuClose();
  if (MainMenuMode) {
    MainMenuMode = false;
    if (OnMainMenuExit) OnMainMenuExit();
  }
}

void TksSkinForm::MenuKeys(WORD key) {
  if (!skinMenu_->KeyDown(key) && key == VK_ESCAPE) SkinMenuClosed();
}

void TksSkinForm::PopupSystemMenu(const Rect& anchor) {
  TMenuItem* items = SystemMenuItems();
  SkinMenuOpened();
  skinMenu_->Popup(nullptr, MenusSkinData(), false, items, anchor, 0);
}

void TksSkinForm::DropObjectMenu(const TksSkinButtonObject& button) {
  TMenuItem* item = button.DropMenu;
  if (!item || item->Count() == 0) return;
  const Rect window = [this] {
    RECT rc{};
    GetWindowRect(ownerForm_->Handle(), &rc);
    return FromRECT(rc);
  }();
  const Rect anchor = button.ObjectRect.Offset(window.left, window.top);
  if (auto* popup = dynamic_cast<TksSkinPopupMenu*>(item->GetParentMenu())) {
    popup->PopupFromRect(anchor, button.DropUpward);
    return;
  }
  SkinMenuOpened();
  skinMenu_->Popup(nullptr, MenusSkinData(), button.DropUpward, item, anchor, 0);
}

void TksSkinForm::OnKeyMenu(TMessage& m) {
  m.Result = 0;
  if (m.LParam == VK_SPACE) {
    // Alt+Space: the system menu under the system menu button, or under the
    // frame's top-left corner when there is none.
    RECT rc{};
    GetWindowRect(ownerForm_->Handle(), &rc);
    Rect anchor = RectOfSize(rc.left, rc.top + PlainCaptionHeight(ToolWindow(), Dpi()), 0, 0);
    for (const auto& o : objects_)
      if (o->Command == SkinCommand::cmSysMenu && o->IsVisible && o->IsButton()) {
        anchor = o->ObjectRect.Offset(rc.left, rc.top);
        break;
      }
    if (skinMenu_->MenuOpen) skinMenu_->CloseAll();
    if (MainMenuMode) {
      MainMenuMode = false;
      if (OnMainMenuExit) OnMainMenuExit();
    }
    PopupSystemMenu(anchor);
    return;
  }
  if (MainMenuMode) {
    MainMenuMode = false;
    if (OnMainMenuExit) OnMainMenuExit();
    return;
  }
  if (skinMenu_->MenuOpen)
    skinMenu_->CloseAll();
  else if (SkinMenuActive)
    SkinMenuClosed();
  // Keyboard menu mode, for the frame's main menu items (the frame has none).
  MainMenuMode = true;
  if (OnMainMenuEnter) OnMainMenuEnter();
}

}  // namespace kelmar
