#include "skin/form/system_menu.h"

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
  };
  return kInfo[int(entry)];
}

bool IsBuiltInEntryName(std::string_view name) {
  for (SysMenuEntry e : {SysMenuEntry::Minimize, SysMenuEntry::Maximize, SysMenuEntry::Restore, SysMenuEntry::RollUp,
                         SysMenuEntry::MinimizeToTray, SysMenuEntry::Close})
    if (name == EntryInfo(e).name) return true;
  return false;
}

namespace {

struct Shown {
  bool minimize, maximize, restore, rollUp, tray;
};

Shown EntriesShown(const FrameMenuState& s) {
  const bool normal = !s.minimized && !s.maximized;
  return {!s.minimized && (s.icons & biMinimize) != 0,
          !s.maximized && (s.icons & biMaximize) != 0,
          !normal || s.rolledUp,
          !s.maximizedMdiChild && !s.rolledUp && !s.minimized && (s.icons & biRollUp) != 0,
          (s.icons & biMinimizeToTray) != 0};
}

}  // namespace

std::vector<SysMenuEntry> BuiltInSystemMenu(const FrameMenuState& state) {
  const Shown s = EntriesShown(state);
  std::vector<SysMenuEntry> entries;
  if (s.minimize) entries.push_back(SysMenuEntry::Minimize);
  if (s.maximize) entries.push_back(SysMenuEntry::Maximize);
  if (s.restore) entries.push_back(SysMenuEntry::Restore);
  if (s.rollUp) entries.push_back(SysMenuEntry::RollUp);
  if (s.tray) entries.push_back(SysMenuEntry::MinimizeToTray);
  if (!entries.empty()) entries.push_back(SysMenuEntry::Separator);
  entries.push_back(SysMenuEntry::Close);
  return entries;
}

std::vector<SysMenuEntry> MergedTopEntries(const FrameMenuState& state) {
  const Shown s = EntriesShown(state);
  std::vector<SysMenuEntry> entries;
  if (s.minimize) entries.push_back(SysMenuEntry::Minimize);
  if (s.restore) entries.push_back(SysMenuEntry::Restore);
  if (s.maximize) entries.push_back(SysMenuEntry::Maximize);
  if (s.rollUp) entries.push_back(SysMenuEntry::RollUp);
  if (s.tray) entries.push_back(SysMenuEntry::MinimizeToTray);
  return entries;
}

std::vector<SysMenuEntry> TrayMenuEntries() {
  return {SysMenuEntry::TrayRestore, SysMenuEntry::Separator, SysMenuEntry::TrayClose};
}

}  // namespace kelmar
