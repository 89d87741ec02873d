#pragma once
// A screen reader's side of the accessibility interface, for the tests:
// objects, their answers, and the events a process announces.
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "base/geometry.h"

namespace kelmar::test {

struct Releaser {
  void operator()(IUnknown* p) const { p->Release(); }
};
using AccPtr = std::unique_ptr<IAccessible, Releaser>;

inline AccPtr ClientObject(HWND hwnd) {
  IAccessible* object = nullptr;
  if (FAILED(AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&object))))
    return nullptr;
  return AccPtr(object);
}

inline AccPtr FromDispatch(IDispatch* dispatch) {
  if (!dispatch) return nullptr;
  IAccessible* object = nullptr;
  dispatch->QueryInterface(__uuidof(IAccessible), reinterpret_cast<void**>(&object));
  dispatch->Release();
  return AccPtr(object);
}

inline VARIANT Child(long id);

// The parent object, child `id`'s own object (null for a simple part) and
// the number of children (-1 when the call fails).
inline AccPtr ParentOf(IAccessible* o) {
  IDispatch* parent = nullptr;
  return o->get_accParent(&parent) == S_OK ? FromDispatch(parent) : nullptr;
}
inline AccPtr ChildObject(IAccessible* o, long id);
inline long ChildCount(IAccessible* o) {
  long count = 0;
  return o->get_accChildCount(&count) == S_OK ? count : -1;
}

inline Rect WindowRectOf(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

inline VARIANT Child(long id) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = id;
  return v;
}

inline AccPtr ChildObject(IAccessible* o, long id) {
  IDispatch* child = nullptr;
  return o->get_accChild(Child(id), &child) == S_OK ? FromDispatch(child) : nullptr;
}

template <typename Get>
inline std::wstring AccText(IAccessible* object, long child, Get get) {
  BSTR text = nullptr;
  if ((object->*get)(Child(child), &text) != S_OK || !text) return L"";
  std::wstring result(text, SysStringLen(text));
  SysFreeString(text);
  return result;
}

inline std::wstring Name(IAccessible* o, long child = CHILDID_SELF) { return AccText(o, child, &IAccessible::get_accName); }
inline std::wstring Value(IAccessible* o, long child = CHILDID_SELF) { return AccText(o, child, &IAccessible::get_accValue); }
inline std::wstring Action(IAccessible* o, long child = CHILDID_SELF) {
  return AccText(o, child, &IAccessible::get_accDefaultAction);
}

inline long NumberOf(IAccessible* object, long child, HRESULT (STDMETHODCALLTYPE IAccessible::*get)(VARIANT, VARIANT*)) {
  VARIANT v;
  VariantInit(&v);
  if ((object->*get)(Child(child), &v) != S_OK || v.vt != VT_I4) return -1;
  return v.lVal;
}
inline long Role(IAccessible* o, long child = CHILDID_SELF) { return NumberOf(o, child, &IAccessible::get_accRole); }
inline long State(IAccessible* o, long child = CHILDID_SELF) { return NumberOf(o, child, &IAccessible::get_accState); }

inline Rect Location(IAccessible* o, long child = CHILDID_SELF) {
  long x = 0, y = 0, w = 0, h = 0;
  if (o->accLocation(&x, &y, &w, &h, Child(child)) != S_OK) return {};
  return {int(x), int(y), int(x + w), int(y + h)};
}

// The events a process announces, as an out-of-context hook on this thread
// receives them while it handles its messages.
struct Heard {
  DWORD event;
  HWND hwnd;
  LONG object, child;
};
inline std::vector<Heard>* g_heard = nullptr;

class Listener {
 public:
  Listener(DWORD pid, DWORD first, DWORD last) {
    g_heard = &heard;
    hook_ = SetWinEventHook(first, last, nullptr, &Listener::Hear, pid, 0, WINEVENT_OUTOFCONTEXT);
  }
  ~Listener() {
    if (hook_) UnhookWinEvent(hook_);
    g_heard = nullptr;
  }
  bool Active() const { return hook_ != nullptr; }
  // How often the event came for the window's client object.
  int Count(DWORD event, HWND hwnd) const {
    return int(std::count_if(heard.begin(), heard.end(), [&](const Heard& h) {
      return h.event == event && h.hwnd == hwnd && h.object == OBJID_CLIENT;
    }));
  }
  bool HeardFrom(DWORD event, HWND hwnd) const { return Count(event, hwnd) > 0; }
  std::vector<Heard> heard;

 private:
  static void CALLBACK Hear(HWINEVENTHOOK, DWORD event, HWND hwnd, LONG object, LONG child, DWORD, DWORD) {
    if (g_heard) g_heard->push_back({event, hwnd, object, child});
  }
  HWINEVENTHOOK hook_ = nullptr;
};

}  // namespace kelmar::test
