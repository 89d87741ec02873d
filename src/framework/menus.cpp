#include "framework/menus.h"

#include <cwctype>

#include "framework/application.h"
#include "framework/forms.h"
#include "framework/handles.h"
#include "framework/list_view.h"

namespace kelmar {

namespace {

std::wstring KeyName(WORD key) {
  if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::wstring(1, wchar_t(key));
  if (key >= VK_F1 && key <= VK_F24) return L"F" + std::to_wstring(key - VK_F1 + 1);
  if (key >= VK_NUMPAD0 && key <= VK_NUMPAD9) return L"Num " + std::to_wstring(key - VK_NUMPAD0);
  switch (key) {
    case VK_BACK: return L"BkSp";
    case VK_TAB: return L"Tab";
    case VK_RETURN: return L"Enter";
    case VK_ESCAPE: return L"Esc";
    case VK_SPACE: return L"Space";
    case VK_PRIOR: return L"PgUp";
    case VK_NEXT: return L"PgDn";
    case VK_END: return L"End";
    case VK_HOME: return L"Home";
    case VK_LEFT: return L"Left";
    case VK_UP: return L"Up";
    case VK_RIGHT: return L"Right";
    case VK_DOWN: return L"Down";
    case VK_INSERT: return L"Ins";
    case VK_DELETE: return L"Del";
    default: return {};
  }
}

}  // namespace

std::wstring ShortCutToText(TShortCut shortCut) {
  const std::wstring name = KeyName(WORD(shortCut & 0xFF));
  if (name.empty()) return {};
  std::wstring text;
  if (shortCut & scShift) text += L"Shift+";
  if (shortCut & scCtrl) text += L"Ctrl+";
  if (shortCut & scAlt) text += L"Alt+";
  return text + name;
}

wchar_t AcceleratorChar(const std::wstring& caption) {
  for (size_t i = 0; i + 1 < caption.size(); ++i) {
    if (caption[i] != L'&') continue;
    if (caption[i + 1] == L'&') {
      ++i;
      continue;
    }
    return wchar_t(std::towupper(caption[i + 1]));
  }
  return 0;
}

// ------------------------------------------------------------------ TMenuItem

TMenuItem::TMenuItem(std::string name, std::wstring caption)
    : TComponent(nullptr, std::move(name)), Caption(std::move(caption)) {}

TMenuItem::~TMenuItem() { Clear(); }

int TMenuItem::IndexOf(const TMenuItem* item) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == item) return int(i);
  return -1;
}

TMenuItem* TMenuItem::Insert(int index, TMenuItem* item) {
  if (index < 0 || index > Count()) index = Count();
  item->parent_ = this;
  items_.insert(items_.begin() + index, std::unique_ptr<TMenuItem>(item));
  return item;
}

void TMenuItem::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  // Out of the list first: watchers of the item see a tree without it.
  std::unique_ptr<TMenuItem> item = std::move(items_[size_t(index)]);
  items_.erase(items_.begin() + index);
}

void TMenuItem::Clear() {
  while (!items_.empty()) Delete(Count() - 1);
}

TMenu* TMenuItem::GetParentMenu() const {
  const TMenuItem* root = this;
  while (root->parent_) root = root->parent_;
  return root->menu_;
}

void TMenuItem::Click() {
  if (OnClick) OnClick();
}

// ---------------------------------------------------------------------- TMenu

TMenu::TMenu(TComponent* owner, std::string name)
    : TComponent(owner, std::move(name)), items_(std::make_unique<TMenuItem>()) {
  items_->menu_ = this;
}

TMenu::~TMenu() = default;

void TMenu::DispatchItem(TMenuItem* item) {
  if (item) item->Click();
}

// ----------------------------------------------------------------- TPopupMenu

namespace {

// The visible items as a system menu; command n runs commands[n - 1].
HMENU BuildSystemMenu(const TMenuItem& parent, std::vector<TMenuItem*>& commands) {
  HMENU menu = CreatePopupMenu();
  for (int i = 0; i < parent.Count(); ++i) {
    TMenuItem* item = parent.Items(i);
    if (!item->Visible) continue;
    if (item->IsLine()) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    std::wstring text = item->Caption;
    const std::wstring shortCut = ShortCutToText(item->ShortCut);
    if (!shortCut.empty()) text += L"\t" + shortCut;
    UINT flags = MF_STRING | (item->Enabled ? 0 : MF_GRAYED) | (item->Checked ? MF_CHECKED : 0);
    if (item->Count() > 0) {
      AppendMenuW(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(BuildSystemMenu(*item, commands)), text.c_str());
    } else {
      commands.push_back(item);
      AppendMenuW(menu, flags, commands.size(), text.c_str());
    }
  }
  return menu;
}

}  // namespace

void TPopupMenu::Popup(int x, int y) {
  if (OnPopup) OnPopup();
  std::vector<TMenuItem*> commands;
  MenuHandle menu(BuildSystemMenu(*Items(), commands));
  HWND owner = GetActiveWindow();
  if (!owner && Application().MainForm()) owner = Application().MainForm()->Handle();
  const UINT chosen = UINT(TrackPopupMenuEx(menu, TPM_RETURNCMD | TPM_NONOTIFY | TPM_LEFTALIGN | TPM_TOPALIGN, x, y,
                                            owner, nullptr));
  if (chosen > 0 && chosen <= commands.size()) DispatchItem(commands[chosen - 1]);
}

}  // namespace kelmar
