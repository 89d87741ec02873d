#pragma once
// The entries of the skinned frame's system menu and of its tray menu: their
// component names, caption keys and built-in captions, and which of them a
// window in a given state shows.
#include <string>
#include <string_view>
#include <vector>

#include "skin/form/frame_geometry.h"

namespace kelmar {

enum class SysMenuEntry {
  Minimize,
  Maximize,
  Restore,
  RollUp,
  MinimizeToTray,
  Close,
  Separator,
  TrayRestore,
  TrayClose,
  // The system's keyboard move and size of the window.
  Move,
  Size
};

struct SysMenuEntryInfo {
  const char* name;        // component name ("" for the separator)
  const char* captionKey;  // key of the skin's replacement strings
  const char* caption;     // built-in caption, UTF-8
};
const SysMenuEntryInfo& EntryInfo(SysMenuEntry entry);
// Whether a component name is one of the built-in system menu entries.
bool IsBuiltInEntryName(std::string_view name);

struct FrameMenuState {
  bool minimized = false;
  bool maximized = false;
  bool rolledUp = false;
  bool maximizedMdiChild = false;
  bool sizeable = true;
  TksBorderIcons icons = kDefaultBorderIcons;
};

// The built-in system menu, in order: move and size where the window is
// neither minimized nor maximized (size only where it is sizeable and not
// rolled up), minimize, maximize, restore, roll-up, minimize to tray as the
// state and the border icons allow, a separator when any of them is there,
// close.
std::vector<SysMenuEntry> BuiltInSystemMenu(const FrameMenuState& state);
// The entries merged into an application's system menu: those put at the
// top, in their final order (minimize, restore, maximize, roll-up, minimize
// to tray, after move and size as above); close goes at the end.
std::vector<SysMenuEntry> MergedTopEntries(const FrameMenuState& state);
// The tray menu: restore, a separator, close.
std::vector<SysMenuEntry> TrayMenuEntries();

}  // namespace kelmar
