#pragma once
// What the framework's own windows tell screen readers. A window answers
// WM_GETOBJECT for its client object with an accessible object (the
// system's IAccessible) that asks a source, the control itself, for every
// answer: child 0 is the object, 1 … n its simple parts (caption buttons,
// list items) or child objects of their own (child windows). The object
// keeps no pointer to the control: it reaches it through a link that the
// control's host cuts when the control goes, after which every question is
// answered CO_E_OBJNOTCONNECTED.
#include <windows.h>
#include <oleacc.h>

#include <memory>
#include <string>
#include <vector>

#include "base/geometry.h"

namespace kelmar {

class TWinControl;
struct TMessage;

class TAccessibleSource {
 public:
  virtual ~TAccessibleSource() = default;
  // The window the object belongs to; null when it has none (any more).
  virtual HWND AccWindow() const = 0;
  virtual int AccChildCount() const { return 0; }
  virtual std::wstring AccName(int child) const = 0;
  virtual std::wstring AccValue(int child) const { return {}; }
  virtual std::wstring AccDescription(int child) const { return {}; }
  virtual long AccRole(int child) const = 0;
  virtual long AccState(int child) const = 0;
  // Empty: the part has no default action.
  virtual std::wstring AccDefaultAction(int child) const { return {}; }
  // Carries the default action out; called from the window's own message
  // (posted), never inside the client's call.
  virtual void AccRunDefaultAction(int child) {}
  // Screen coordinates.
  virtual Rect AccLocation(int child) const = 0;
  // A child that is an object of its own (a reference the caller releases),
  // or null for a simple part.
  virtual IDispatch* AccChildObject(int child) const { return nullptr; }
  // The parent object (a reference the caller releases); by default the
  // window object of the same window, as the system's client objects have.
  virtual IDispatch* AccParent() const;
  // The child holding the focus: 0 the object itself, -1 none.
  virtual int AccFocus() const;
  // The selected child, -1 none.
  virtual int AccSelection() const { return -1; }
};

// The tie between objects handed out and their source.
struct TAccessibleLink {
  TAccessibleSource* source = nullptr;
  // A source that lives as long as its objects do (one made for them).
  std::unique_ptr<TAccessibleSource> owned;
};

// A new accessible object on the link (one reference, the caller's).
IAccessible* NewAccessibleObject(std::shared_ptr<TAccessibleLink> link);
// A new object for a source of its own, kept alive by its objects.
IAccessible* NewAccessibleObject(std::unique_ptr<TAccessibleSource> source);

// Held by a window that answers for itself: answers WM_GETOBJECT and runs
// default actions when their message comes; cuts the link when it goes.
class TAccessibleHost {
 public:
  explicit TAccessibleHost(TAccessibleSource& source);
  ~TAccessibleHost();
  TAccessibleHost(const TAccessibleHost&) = delete;
  TAccessibleHost& operator=(const TAccessibleHost&) = delete;

  // True when the message was the host's (m.Result is set).
  bool Handle(TMessage& m);
  const std::shared_ptr<TAccessibleLink>& Link() const { return link_; }

 private:
  std::shared_ptr<TAccessibleLink> link_;
};

// Tells screen readers of a change of the window's client object (or of
// its part `child`): EVENT_OBJECT_STATECHANGE, _VALUECHANGE, … (the system
// itself tells of the focus moving to a window).
void AccNotify(DWORD event, HWND hwnd, LONG child = CHILDID_SELF);

// The message that carries a default action to the window (WPARAM: child).
UINT AccDefaultActionMessage();

// A caption as a name: "&" marks removed ("&&" is one "&").
std::wstring AccessibleText(const std::wstring& caption);
// The states every control of the framework shares: unavailable when it or
// a parent is disabled, invisible, focusable (as given) and focused.
long ControlAccState(const TWinControl& control, bool focusable);
// The window's rectangle on the screen (empty for none).
Rect ScreenRectOf(HWND hwnd);
// The visible child windows, in the system's order (top of the Z order first).
std::vector<HWND> VisibleChildWindows(HWND hwnd);
// The client object of a window (a reference the caller releases), or null.
IDispatch* ClientObjectOf(HWND hwnd);

}  // namespace kelmar
