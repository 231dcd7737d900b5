#include "platform/win32/win32_api.h"  // first: <windows.h> without its A/W name macros
#include "platform/win32/win32_accessible.h"

#include <objbase.h>
#include <oleacc.h>

#include <exception>
#include <vector>

#include "platform/win32/win32_libraries.h"

namespace vsi::win32 {

namespace {

// What the object needs of oleacc and oleaut32, found once. Neither is imported: the program
// starts with the system's known libraries only.
struct AccessibilityLibrary {
  LPFNLRESULTFROMOBJECT lresultFromObject = nullptr;
  LPFNCREATESTDACCESSIBLEOBJECT createStdObject = nullptr;
  LPFNACCESSIBLEOBJECTFROMWINDOW objectFromWindow = nullptr;
  BSTR(WINAPI* sysAllocString)(const OLECHAR*) = nullptr;

  AccessibilityLibrary() {
    HMODULE oleacc = LoadSystemLibrary("oleacc.dll");
    HMODULE oleaut = LoadSystemLibrary("oleaut32.dll");
    if (!oleacc || !oleaut) return;
    Find(oleacc, "LresultFromObject", lresultFromObject);
    Find(oleacc, "CreateStdAccessibleObject", createStdObject);
    Find(oleacc, "AccessibleObjectFromWindow", objectFromWindow);
    Find(oleaut, "SysAllocString", sysAllocString);
  }
  bool Complete() const { return lresultFromObject && createStdObject && objectFromWindow && sysAllocString; }

 private:
  template <class Fn>
  static void Find(HMODULE module, const char* name, Fn& fn) {
    fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
  }
};

const AccessibilityLibrary& Library() {
  static const AccessibilityLibrary library;
  return library;
}

// The object is handed out through COM marshalling, which needs an apartment on the window's
// thread; it is taken once and kept for the thread's life (a reader may come back any time).
bool EnsureApartment() {
  thread_local HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  return SUCCEEDED(result) || result == RPC_E_CHANGED_MODE;
}

void SetEmpty(VARIANT* v) { v->vt = VT_EMPTY; }
void SetId(VARIANT* v, LONG id) {
  v->vt = VT_I4;
  v->lVal = id;
}
void SetDispatch(VARIANT* v, IDispatch* object) {
  v->vt = VT_DISPATCH;
  v->pdispVal = object;
}

}  // namespace

class AccessibleClient final : public IAccessible {
 public:
  AccessibleClient(HWND hwnd, IWindowEvents* sink) : hwnd_(hwnd), sink_(sink) {}
  AccessibleClient(const AccessibleClient&) = delete;
  AccessibleClient& operator=(const AccessibleClient&) = delete;

  void Disconnect() {
    hwnd_ = nullptr;
    sink_ = nullptr;
    // Readers in other programs hold the object through COM's stub: their hold goes now.
    ::CoDisconnectObject(static_cast<IAccessible*>(this), 0);
  }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
      *out = static_cast<IAccessible*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&refs_)); }
  ULONG STDMETHODCALLTYPE Release() override {
    const LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }

  // IDispatch: readers call the methods directly.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }

  // IAccessible
  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    if (!parent) return E_POINTER;
    *parent = nullptr;
    if (!hwnd_) return RPC_E_DISCONNECTED;
    return Library().createStdObject(hwnd_, OBJID_WINDOW, __uuidof(IDispatch), reinterpret_cast<void**>(parent));
  }

  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    if (!hwnd_) return RPC_E_DISCONNECTED;
    if (!Items()) return E_FAIL;
    *count = static_cast<LONG>(items_.size());
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT id, IDispatch** child) override {
    if (!child) return E_POINTER;
    *child = nullptr;
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    if (!item) return E_INVALIDARG;  // the client is not its own child
    return item->role == AccessibleRole::Window ? WindowObject(*item, child) : S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accName(VARIANT id, BSTR* name) override {
    if (!name) return E_POINTER;
    *name = nullptr;
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    if (item) return Text(reinterpret_cast<const wchar_t*>(item->name.c_str()), name);
    wchar_t caption[512] = {};
    ::GetWindowTextW(hwnd_, caption, 512);
    return Text(caption, name);
  }

  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT id, BSTR* value) override { return NoText(id, value); }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT id, BSTR* text) override { return NoText(id, text); }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT id, BSTR* text) override { return NoText(id, text); }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT id, BSTR* text) override { return NoText(id, text); }

  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT id, LONG* topic) override {
    if (!file || !topic) return E_POINTER;
    *file = nullptr;
    *topic = 0;
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT id, VARIANT* role) override {
    if (!role) return E_POINTER;
    SetEmpty(role);
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    SetId(role, item ? RoleOf(item->role) : ROLE_SYSTEM_CLIENT);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accState(VARIANT id, VARIANT* state) override {
    if (!state) return E_POINTER;
    SetEmpty(state);
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    LONG bits = 0;
    if (!item) {
      if (!::IsWindowVisible(hwnd_)) bits |= STATE_SYSTEM_INVISIBLE;
      if (!::IsWindowEnabled(hwnd_)) bits |= STATE_SYSTEM_UNAVAILABLE;
      bits |= STATE_SYSTEM_FOCUSABLE;
      if (::GetFocus() == hwnd_) bits |= STATE_SYSTEM_FOCUSED;
    } else {
      if (!item->visible) bits |= STATE_SYSTEM_INVISIBLE;
      if (!item->enabled) bits |= STATE_SYSTEM_UNAVAILABLE;
      // The picture buttons and links take no keyboard focus: they have no window of their own.
      if (item->role == AccessibleRole::StaticText) bits |= STATE_SYSTEM_READONLY;
      if (item->role == AccessibleRole::Link) bits |= STATE_SYSTEM_LINKED;
    }
    SetId(state, bits);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* focus) override {
    if (!focus) return E_POINTER;
    SetEmpty(focus);
    if (!hwnd_) return RPC_E_DISCONNECTED;
    const HWND now = ::GetFocus();
    if (now == hwnd_) {
      SetId(focus, CHILDID_SELF);
      return S_OK;
    }
    if (!now || !Items()) return S_FALSE;
    for (const AccessibleItem& item : items_) {
      const HWND window = reinterpret_cast<HWND>(item.window);
      if (item.role != AccessibleRole::Window || !window || (window != now && !::IsChild(window, now))) continue;
      IDispatch* object = nullptr;
      if (FAILED(WindowObject(item, &object))) return S_FALSE;
      SetDispatch(focus, object);
      return S_OK;
    }
    return S_FALSE;
  }

  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* selection) override {
    if (!selection) return E_POINTER;
    SetEmpty(selection);
    return hwnd_ ? S_FALSE : RPC_E_DISCONNECTED;  // nothing here is selectable
  }

  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT id, BSTR* action) override {
    if (!action) return E_POINTER;
    *action = nullptr;
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    if (item && item->role == AccessibleRole::PushButton) return Text(L"Press", action);
    if (item && item->role == AccessibleRole::Link) return Text(L"Jump", action);
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT id) override {
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
  }

  HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height, VARIANT id) override {
    if (!left || !top || !width || !height) return E_POINTER;
    *left = *top = *width = *height = 0;
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    RECT r{};
    if (item) {
      r = {item->bounds.left, item->bounds.top, item->bounds.right, item->bounds.bottom};
    } else {
      ::GetClientRect(hwnd_, &r);
    }
    POINT origin{0, 0};
    ::ClientToScreen(hwnd_, &origin);
    *left = r.left + origin.x;
    *top = r.top + origin.y;
    *width = r.right - r.left;
    *height = r.bottom - r.top;
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* end) override {
    if (!end) return E_POINTER;
    SetEmpty(end);
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(start, item); FAILED(hr)) return hr;
    const LONG count = static_cast<LONG>(items_.size());
    LONG to = 0;  // a child id; 0 when there is none that way
    switch (direction) {
      case NAVDIR_FIRSTCHILD:
      case NAVDIR_LASTCHILD:
        if (item) return E_INVALIDARG;  // simple elements have no children
        to = count == 0 ? 0 : direction == NAVDIR_FIRSTCHILD ? 1 : count;
        break;
      case NAVDIR_NEXT:
      case NAVDIR_PREVIOUS:
        // The client's own siblings are its window's to tell.
        if (!item) return S_FALSE;
        to = start.lVal + (direction == NAVDIR_NEXT ? 1 : -1);
        if (to < 1 || to > count) to = 0;
        break;
      default:
        return DISP_E_MEMBERNOTFOUND;
    }
    return to == 0 ? S_FALSE : Child(to, end);
  }

  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* hit) override {
    if (!hit) return E_POINTER;
    SetEmpty(hit);
    if (!hwnd_) return RPC_E_DISCONNECTED;
    POINT p{x, y};
    ::ScreenToClient(hwnd_, &p);
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    if (!::PtInRect(&client, p)) return S_FALSE;
    if (!Items()) return E_FAIL;
    // The last item listed is drawn over those before it.
    for (LONG i = static_cast<LONG>(items_.size()); i >= 1; --i) {
      const AccessibleItem& item = items_[static_cast<size_t>(i - 1)];
      if (item.visible && item.bounds.Contains({p.x, p.y})) return Child(i, hit);
    }
    SetId(hit, CHILDID_SELF);
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT id) override {
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    if (!item || (item->role != AccessibleRole::PushButton && item->role != AccessibleRole::Link))
      return DISP_E_MEMBERNOTFOUND;
    // Done from the message loop: a press may open a window or show a box, which must not
    // happen inside the reader's call.
    if (!::PostMessageW(hwnd_, kAccessibleAction, static_cast<WPARAM>(id.lVal - 1), 0)) return E_FAIL;
    return S_OK;
  }

  // Names are the program's to set.
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

 private:
  ~AccessibleClient() = default;

  // The sink's items now, into items_; false when it has none to give (or failed).
  bool Items() {
    items_.clear();
    if (!sink_) return false;
    try {
      return sink_->WmAccessibleItems(items_);
    } catch (const std::exception&) {
      return false;  // nothing may unwind into the reader's frames
    }
  }

  // The item a child id names (null for the client itself), with items_ filled.
  HRESULT Find(const VARIANT& id, const AccessibleItem*& item) {
    item = nullptr;
    if (!hwnd_) return RPC_E_DISCONNECTED;
    if (id.vt != VT_I4) return E_INVALIDARG;
    if (!Items()) return E_FAIL;
    if (id.lVal == CHILDID_SELF) return S_OK;
    if (id.lVal < 1 || id.lVal > static_cast<LONG>(items_.size())) return E_INVALIDARG;
    item = &items_[static_cast<size_t>(id.lVal - 1)];
    return S_OK;
  }

  // Child `id` as a variant: its window's object for a control with a window, else its id.
  HRESULT Child(LONG id, VARIANT* out) {
    const AccessibleItem& item = items_[static_cast<size_t>(id - 1)];
    if (item.role != AccessibleRole::Window) {
      SetId(out, id);
      return S_OK;
    }
    IDispatch* object = nullptr;
    if (HRESULT hr = WindowObject(item, &object); FAILED(hr)) return hr;
    SetDispatch(out, object);
    return S_OK;
  }

  // The system's client object of the item's window: an edit's object gives its text as the
  // value, a combo box's its chosen item.
  static HRESULT WindowObject(const AccessibleItem& item, IDispatch** out) {
    const HWND window = reinterpret_cast<HWND>(item.window);
    if (!window) return E_FAIL;
    return Library().objectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IDispatch),
                                      reinterpret_cast<void**>(out));
  }

  static HRESULT Text(const wchar_t* text, BSTR* out) {
    *out = Library().sysAllocString(text);
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  // A text the items do not have: checked as every call is, then "not supported".
  HRESULT NoText(const VARIANT& id, BSTR* out) {
    if (!out) return E_POINTER;
    *out = nullptr;
    const AccessibleItem* item = nullptr;
    if (HRESULT hr = Find(id, item); FAILED(hr)) return hr;
    return DISP_E_MEMBERNOTFOUND;
  }

  static LONG RoleOf(AccessibleRole role) {
    switch (role) {
      case AccessibleRole::StaticText: return ROLE_SYSTEM_STATICTEXT;
      case AccessibleRole::Link: return ROLE_SYSTEM_LINK;
      case AccessibleRole::PushButton: return ROLE_SYSTEM_PUSHBUTTON;
      case AccessibleRole::Window: return ROLE_SYSTEM_WINDOW;
      case AccessibleRole::None: break;
    }
    return ROLE_SYSTEM_GROUPING;
  }

  // The sink's items, asked afresh by every call (a reader's calls come one at a time, on
  // the window's thread); kept here only so that each call does not make and free a list.
  std::vector<AccessibleItem> items_;
  LONG refs_ = 1;
  HWND hwnd_;            // null once the window is gone
  IWindowEvents* sink_;  // likewise
};

AccessibleClient* CreateAccessibleClient(HWND hwnd, IWindowEvents* sink) {
  if (!Library().Complete() || !EnsureApartment()) return nullptr;
  return new AccessibleClient(hwnd, sink);
}

LRESULT AccessibleResult(AccessibleClient* object, WPARAM wp) {
  if (!object) return 0;
  const LRESULT result = Library().lresultFromObject(__uuidof(IAccessible), wp, static_cast<IAccessible*>(object));
  return result < 0 ? 0 : result;  // a failure code is no object
}

void DisconnectAccessibleClient(AccessibleClient* object) {
  if (!object) return;
  object->Disconnect();
  object->Release();
}

}  // namespace vsi::win32
