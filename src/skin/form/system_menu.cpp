#include "skin/form/system_menu.h"

#include <initializer_list>

namespace kelmar {

const SysMenuEntryInfo& EntryInfo(SysMenuEntry entry) {
  static const SysMenuEntryInfo kInfo[] = {
      {"KSF_MINITEM", "MI_MINCAPTION", "最小化(&N)"},
      {"KSF_MAXITEM", "MI_MAXCAPTION", "最大化(&X)"},
      {"KSF_RESTORE", "MI_RESTORECAPTION", "恢复(&R)"},
      {"KSF_ROLLUP", "MI_ROLLUPCAPTION", "卷起(&L)"},
      {"KSF_MINTOTRAY", "MI_MINTOTRAYCAPTION", "最小化到系统托盘区(&T)"},
      {"KSF_CLOSE", "MI_CLOSECAPTION", "关闭(&C)"},
      {"", "", "-"},
      {"TRAY_KSF_RESTORE", "MI_RESTORECAPTION", "恢复(&R)"},
      {"TRAY_KSF_CLOSE", "MI_CLOSECAPTION", "关闭(&C)"},
      {"KSF_MOVE", "MI_MOVECAPTION", "移动(&M)"},
      {"KSF_SIZE", "MI_SIZECAPTION", "大小(&S)"},
  };
  return kInfo[int(entry)];
}

bool IsBuiltInEntryName(std::string_view name) {
  for (SysMenuEntry e : {SysMenuEntry::Move, SysMenuEntry::Size, SysMenuEntry::Minimize, SysMenuEntry::Maximize,
                         SysMenuEntry::Restore, SysMenuEntry::RollUp, SysMenuEntry::MinimizeToTray,
                         SysMenuEntry::Close})
    if (name == EntryInfo(e).name) return true;
  return false;
}

namespace {

// Whether the window in this state shows the entry.
bool Shows(const FrameMenuState& s, SysMenuEntry entry) {
  switch (entry) {
    case SysMenuEntry::Minimize: return !s.minimized && (s.icons & biMinimize) != 0;
    case SysMenuEntry::Maximize: return !s.maximized && (s.icons & biMaximize) != 0;
    case SysMenuEntry::Restore: return s.minimized || s.maximized || s.rolledUp;
    case SysMenuEntry::RollUp:
      return !s.maximizedMdiChild && !s.rolledUp && !s.minimized && (s.icons & biRollUp) != 0;
    case SysMenuEntry::MinimizeToTray: return (s.icons & biMinimizeToTray) != 0;
    case SysMenuEntry::Move: return !s.minimized && !s.maximized;
    case SysMenuEntry::Size: return !s.minimized && !s.maximized && !s.rolledUp && s.sizeable;
    default: return true;
  }
}

std::vector<SysMenuEntry> Shown(const FrameMenuState& state, std::initializer_list<SysMenuEntry> order) {
  std::vector<SysMenuEntry> entries;
  for (SysMenuEntry e : order)
    if (Shows(state, e)) entries.push_back(e);
  return entries;
}

}  // namespace

std::vector<SysMenuEntry> BuiltInSystemMenu(const FrameMenuState& state) {
  std::vector<SysMenuEntry> entries =
      Shown(state, {SysMenuEntry::Move, SysMenuEntry::Size, SysMenuEntry::Minimize, SysMenuEntry::Maximize,
                    SysMenuEntry::Restore, SysMenuEntry::RollUp, SysMenuEntry::MinimizeToTray});
  if (!entries.empty()) entries.push_back(SysMenuEntry::Separator);
  entries.push_back(SysMenuEntry::Close);
  return entries;
}

std::vector<SysMenuEntry> MergedTopEntries(const FrameMenuState& state) {
  return Shown(state, {SysMenuEntry::Move, SysMenuEntry::Size, SysMenuEntry::Minimize, SysMenuEntry::Restore,
                       SysMenuEntry::Maximize, SysMenuEntry::RollUp, SysMenuEntry::MinimizeToTray});
}

std::vector<SysMenuEntry> TrayMenuEntries() {
  return {SysMenuEntry::TrayRestore, SysMenuEntry::Separator, SysMenuEntry::TrayClose};
}

}  // namespace kelmar
