#include "styled/FxAccessible.h"

#include "styled/FxCustomControl.h"

#include <oleacc.h>

namespace {

bool IsSelf(const VARIANT& child) {
  return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (text.empty()) return S_FALSE;
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  return *out ? S_OK : E_OUTOFMEMORY;
}

HRESULT ReturnLong(LONG value, VARIANT* out) {
  if (!out) return E_POINTER;
  ::VariantInit(out);
  out->vt = VT_I4;
  out->lVal = value;
  return S_OK;
}

class TFxAccessible final : public IAccessible, public IOleWindow {
public:
  TFxAccessible(HWND window, IAccessible* standard) : window_(window), standard_(standard) {}
  TFxAccessible(const TFxAccessible&) = delete;
  TFxAccessible& operator=(const TFxAccessible&) = delete;

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID_IAccessible)
      *out = static_cast<IAccessible*>(this);
    else if (iid == IID_IOleWindow)
      *out = static_cast<IOleWindow*>(this);
    else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&refs_); }
  ULONG STDMETHODCALLTYPE Release() override {
    LONG left = ::InterlockedDecrement(&refs_);
    if (left == 0) {
      standard_->Release();
      delete this;
    }
    return left;
  }

  // IDispatch: the standard object's.
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
    return standard_->GetTypeInfoCount(count);
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override {
    return standard_->GetTypeInfo(index, lcid, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override {
    return standard_->GetIDsOfNames(iid, names, count, lcid, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* excep, UINT* argErr) override {
    return standard_->Invoke(id, iid, lcid, flags, params, result, excep, argErr);
  }

  // IAccessible: what the control knows itself, the rest from the standard object.
  HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
    TFxCustomControl* c = Control();
    if (!c) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    return ReturnText(c->Caption(), name);
  }
  HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
    TFxCustomControl* c = Control();
    if (!c) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    return ReturnLong(c->AccessibleRole(), role);
  }
  HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
    TFxCustomControl* c = Control();
    if (!c) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    return ReturnLong(c->AccessibleState(), state);
  }
  HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
    TFxCustomControl* c = Control();
    if (!c) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    return ReturnText(c->AccessibleDefaultAction(), action);
  }
  // The action runs from the control's own message queue: a click may close the window, which
  // must not happen inside the reader's call.
  HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
    TFxCustomControl* c = Control();
    if (!c) return CO_E_OBJNOTCONNECTED;
    if (!IsSelf(child)) return E_INVALIDARG;
    if (!c->Enabled() || c->AccessibleDefaultAction().empty()) return DISP_E_MEMBERNOTFOUND;
    ::PostMessageW(window_, TFxCustomControl::kAccessibleActionMessage, 0, 0);
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* shortcut) override {
    return ReturnText(L"", shortcut);
  }

  HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
    return standard_->get_accParent(parent);
  }
  HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) override {
    return standard_->get_accChildCount(count);
  }
  HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) override {
    return standard_->get_accChild(child, out);
  }
  HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
    return standard_->get_accValue(child, value);
  }
  HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* text) override {
    return standard_->get_accDescription(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* text) override {
    return standard_->get_accHelp(child, text);
  }
  HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, LONG* topic) override {
    return standard_->get_accHelpTopic(file, child, topic);
  }
  HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
    return standard_->get_accFocus(out);
  }
  HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
    return standard_->get_accSelection(out);
  }
  HRESULT STDMETHODCALLTYPE accSelect(LONG flags, VARIANT child) override {
    return standard_->accSelect(flags, child);
  }
  HRESULT STDMETHODCALLTYPE accLocation(LONG* x, LONG* y, LONG* w, LONG* h,
                                        VARIANT child) override {
    return standard_->accLocation(x, y, w, h, child);
  }
  HRESULT STDMETHODCALLTYPE accNavigate(LONG dir, VARIANT start, VARIANT* end) override {
    return standard_->accNavigate(dir, start, end);
  }
  HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) override {
    return standard_->accHitTest(x, y, out);
  }
  HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }
  HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return DISP_E_MEMBERNOTFOUND; }

  // IOleWindow: how a reader gets from the object back to the window.
  HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override {
    if (!window) return E_POINTER;
    *window = window_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
  ~TFxAccessible() = default;

  TFxCustomControl* Control() const {
    if (!::IsWindow(window_)) return nullptr;
    return dynamic_cast<TFxCustomControl*>(TWinControl::FromHandle(window_));
  }

  LONG refs_ = 1;
  HWND window_;
  IAccessible* standard_;
};

} // namespace

LRESULT AnswerAccessibleObject(HWND window, WPARAM wParam) {
  IAccessible* standard = nullptr;
  if (FAILED(::CreateStdAccessibleObject(window, OBJID_CLIENT, IID_IAccessible,
                                         reinterpret_cast<void**>(&standard))) ||
      !standard)
    return 0;
  auto* object = new TFxAccessible(window, standard);
  LRESULT result = ::LresultFromObject(IID_IAccessible, wParam, static_cast<IAccessible*>(object));
  object->Release(); // LresultFromObject holds its own reference while the answer travels
  return result < 0 ? 0 : result;
}
