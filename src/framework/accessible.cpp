#include "framework/accessible.h"

#include <objbase.h>

#include <utility>

#include "framework/controls.h"
#include "framework/system_library.h"

namespace kelmar {

namespace {

// A child number from a client's VARIANT: 0 … count, or -1 when it names
// nothing here.
int ChildOf(const VARIANT& v, int count) {
  if (v.vt != VT_I4) return -1;
  const long id = v.lVal;
  return id >= 0 && id <= count ? int(id) : -1;
}

HRESULT StringAnswer(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = late::SysAllocStringLen(text.data(), UINT(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

class TAccessibleObject final : public IAccessible {
 public:
  explicit TAccessibleObject(std::shared_ptr<TAccessibleLink> link) : link_(std::move(link)) {}

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return ULONG(left);
  }

  // IDispatch: clients of this interface call its methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    *parent = s->AccParent();
    return *parent ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    *count = s->AccChildCount();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (!child) return E_POINTER;
    *child = nullptr;
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const int c = ChildOf(id, s->AccChildCount());
    if (c <= 0) return E_INVALIDARG;
    *child = s->AccChildObject(c);
    return *child ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    return Text(id, name, [](TAccessibleSource& s, int c) { return s.AccName(c); });
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override {
    return Text(id, value, [](TAccessibleSource& s, int c) { return s.AccValue(c); });
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override {
    return Text(id, text, [](TAccessibleSource& s, int c) { return s.AccDescription(c); });
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    return Text(id, action, [](TAccessibleSource& s, int c) { return s.AccDefaultAction(c); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* help) override {
    return Text(id, help, [](TAccessibleSource&, int) { return std::wstring(); });
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* keys) override {
    return Text(id, keys, [](TAccessibleSource&, int) { return std::wstring(); });
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, long* topic) override {
    if (file) *file = nullptr;
    if (topic) *topic = 0;
    return Source() ? S_FALSE : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    return Number(id, role, [](TAccessibleSource& s, int c) { return s.AccRole(c); });
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    return Number(id, state, [](TAccessibleSource& s, int c) { return s.AccState(c); });
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override { return Which(focus, &TAccessibleSource::AccFocus); }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    return Which(selection, &TAccessibleSource::AccSelection);
  }
  HRESULT STDMETHODCALLTYPE accSelect(long, VARIANT) override {
    return Source() ? DISP_E_MEMBERNOTFOUND : CO_E_OBJNOTCONNECTED;
  }
  HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height, VARIANT id) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const int c = ChildOf(id, s->AccChildCount());
    if (c < 0) return E_INVALIDARG;
    const Rect r = s->AccLocation(c);
    *left = r.left;
    *top = r.top;
    *width = r.Width();
    *height = r.Height();
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    late::VariantInit(end);
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const int count = s->AccChildCount();
    const int from = ChildOf(start, count);
    if (from < 0) return E_INVALIDARG;
    int to = -1;
    switch (direction) {
      case NAVDIR_FIRSTCHILD: to = from == 0 && count > 0 ? 1 : -1; break;
      case NAVDIR_LASTCHILD: to = from == 0 && count > 0 ? count : -1; break;
      case NAVDIR_NEXT: case NAVDIR_DOWN: case NAVDIR_RIGHT: to = from > 0 && from < count ? from + 1 : -1; break;
      case NAVDIR_PREVIOUS: case NAVDIR_UP: case NAVDIR_LEFT: to = from > 1 ? from - 1 : -1; break;
      default: return E_INVALIDARG;
    }
    return ChildAnswer(*s, to, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    late::VariantInit(hit);
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const Point p{int(x), int(y)};
    for (int c = 1; c <= s->AccChildCount(); ++c)
      if (!(s->AccState(c) & STATE_SYSTEM_INVISIBLE) && s->AccLocation(c).Contains(p)) return ChildAnswer(*s, c, hit);
    return ChildAnswer(*s, s->AccLocation(0).Contains(p) ? 0 : -1, hit);
  }
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const int c = ChildOf(id, s->AccChildCount());
    if (c < 0) return E_INVALIDARG;
    if (s->AccDefaultAction(c).empty() || (s->AccState(c) & STATE_SYSTEM_UNAVAILABLE)) return DISP_E_MEMBERNOTFOUND;
    // The action may open a modal dialog: it runs when the window's own
    // message comes, and the client's call returns at once.
    return PostMessageW(s->AccWindow(), AccDefaultActionMessage(), WPARAM(c), 0) ? S_OK : E_FAIL;
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

 private:
  ~TAccessibleObject() = default;

  // The source while its control and window exist, else null.
  TAccessibleSource* Source() const {
    TAccessibleSource* s = link_->source;
    if (!s) return nullptr;
    HWND hwnd = s->AccWindow();
    return hwnd && IsWindow(hwnd) ? s : nullptr;
  }

  template <typename F>
  HRESULT Text(const VARIANT& id, BSTR* out, F get) {
    if (!out) return E_POINTER;
    *out = nullptr;
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const int c = ChildOf(id, s->AccChildCount());
    if (c < 0) return E_INVALIDARG;
    return StringAnswer(get(*s, c), out);
  }

  template <typename F>
  HRESULT Number(const VARIANT& id, VARIANT* out, F get) {
    if (!out) return E_POINTER;
    late::VariantInit(out);
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    const int c = ChildOf(id, s->AccChildCount());
    if (c < 0) return E_INVALIDARG;
    out->vt = VT_I4;
    out->lVal = get(*s, c);
    return S_OK;
  }

  // The child the source names (focus, selection), as ChildAnswer gives it.
  HRESULT Which(VARIANT* out, int (TAccessibleSource::*get)() const) {
    if (!out) return E_POINTER;
    late::VariantInit(out);
    TAccessibleSource* s = Source();
    if (!s) return CO_E_OBJNOTCONNECTED;
    return ChildAnswer(*s, (s->*get)(), out);
  }

  // Child c as a client expects it: the object itself for 0, a child with
  // an object of its own as that object, a simple part by its number;
  // nothing (S_FALSE) for -1.
  static HRESULT ChildAnswer(TAccessibleSource& s, int c, VARIANT* out) {
    if (c < 0) return S_FALSE;
    if (c > 0) {
      if (IDispatch* object = s.AccChildObject(c)) {
        out->vt = VT_DISPATCH;
        out->pdispVal = object;
        return S_OK;
      }
    }
    out->vt = VT_I4;
    out->lVal = c;
    return S_OK;
  }

  LONG refs_ = 1;
  std::shared_ptr<TAccessibleLink> link_;
};

// Handing an object to another process needs the thread in a COM apartment;
// the user interface thread joins one on the first request and stays.
void JoinApartment() {
  thread_local bool joined = false;
  if (joined) return;
  joined = true;
  const HRESULT hr = late::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  (void)hr;  // S_FALSE: already in one; RPC_E_CHANGED_MODE: in another, fine too
}

}  // namespace

IAccessible* NewAccessibleObject(std::shared_ptr<TAccessibleLink> link) {
  return new TAccessibleObject(std::move(link));
}

IAccessible* NewAccessibleObject(std::unique_ptr<TAccessibleSource> source) {
  auto link = std::make_shared<TAccessibleLink>();
  link->source = source.get();
  link->owned = std::move(source);
  return NewAccessibleObject(std::move(link));
}

IDispatch* TAccessibleSource::AccParent() const {
  HWND hwnd = AccWindow();
  IDispatch* parent = nullptr;
  if (hwnd && FAILED(late::CreateStdAccessibleObject(hwnd, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(&parent))))
    parent = nullptr;
  return parent;
}

int TAccessibleSource::AccFocus() const {
  HWND hwnd = AccWindow();
  return hwnd && GetFocus() == hwnd ? 0 : -1;
}

TAccessibleHost::TAccessibleHost(TAccessibleSource& source) : link_(std::make_shared<TAccessibleLink>()) {
  link_->source = &source;
}

TAccessibleHost::~TAccessibleHost() { link_->source = nullptr; }

bool TAccessibleHost::Handle(TMessage& m) {
  if (m.Msg == WM_GETOBJECT) {
    if (LONG(DWORD(m.LParam)) != OBJID_CLIENT || !link_->source) return false;
    JoinApartment();
    IAccessible* object = NewAccessibleObject(link_);
    const LRESULT result = late::LresultFromObject(__uuidof(IAccessible), m.WParam, object);
    object->Release();
    // Failed: the system's own answer is better than none.
    if (FAILED(HRESULT(result))) return false;
    m.Result = result;
    return true;
  }
  if (m.Msg == AccDefaultActionMessage()) {
    if (link_->source) link_->source->AccRunDefaultAction(int(m.WParam));
    m.Result = 0;
    return true;
  }
  return false;
}

void AccNotify(DWORD event, HWND hwnd, LONG child) {
  if (hwnd) NotifyWinEvent(event, hwnd, OBJID_CLIENT, child);
}

UINT AccDefaultActionMessage() {
  static const UINT message = RegisterWindowMessageW(L"KelmarAccessibleDefaultAction");
  return message;
}

std::wstring AccessibleText(const std::wstring& caption) {
  std::wstring text;
  for (size_t i = 0; i < caption.size(); ++i) {
    if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
    else if (caption[i] == L'&') continue;
    text += caption[i];
  }
  return text;
}

long ControlAccState(const TWinControl& control, bool focusable) {
  long state = 0;
  HWND hwnd = control.Handle();
  if (!hwnd || !IsWindowVisible(hwnd)) state |= STATE_SYSTEM_INVISIBLE;
  for (const TControl* c = &control; c; c = c->Parent())
    if (!c->Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (hwnd && !IsWindowEnabled(hwnd)) state |= STATE_SYSTEM_UNAVAILABLE;
  if (focusable && !(state & STATE_SYSTEM_UNAVAILABLE)) state |= STATE_SYSTEM_FOCUSABLE;
  if (control.Focused()) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

Rect ScreenRectOf(HWND hwnd) {
  RECT r{};
  if (!hwnd || !GetWindowRect(hwnd, &r)) return {};
  return {int(r.left), int(r.top), int(r.right), int(r.bottom)};
}

std::vector<HWND> VisibleChildWindows(HWND hwnd) {
  std::vector<HWND> children;
  if (!hwnd) return children;
  for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (IsWindowVisible(c)) children.push_back(c);
  return children;
}

IDispatch* ClientObjectOf(HWND hwnd) {
  IDispatch* object = nullptr;
  if (!hwnd || FAILED(late::AccessibleObjectFromWindow(hwnd, OBJID_CLIENT, __uuidof(IDispatch), reinterpret_cast<void**>(&object))))
    return nullptr;
  return object;
}

}  // namespace kelmar
