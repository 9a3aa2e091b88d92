#include "controls/button/button_accessible.h"

#include "controls/button/accessible_rules.h"
#include "controls/button/paint_rules.h"
#include "controls/button/skin_button.h"

#include <oleacc.h>

#include <atomic>

namespace skinbutton {

const IID kIidAccessible = {0x618736e0, 0x3c3d, 0x11cf, {0x81, 0x0c, 0x00, 0xaa, 0x00, 0x38, 0x9b, 0x71}};

namespace {

// The states that only the window system knows of; the rest are the button's to tell.
constexpr long kWindowStates = STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;

bool IsSelf(const VARIANT& child) {
    return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
}

HRESULT ReturnText(const std::wstring& text, BSTR* out) {
    if (!out)
        return E_POINTER;
    *out = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

class ButtonAccessible final : public IAccessible, public IOleWindow {
public:
    explicit ButtonAccessible(HWND hwnd) : hwnd_(hwnd) {
        void* proxy = nullptr;
        if (SUCCEEDED(CreateStdAccessibleObject(hwnd, OBJID_CLIENT, kIidAccessible, &proxy)))
            proxy_ = static_cast<IAccessible*>(proxy);
    }
    ButtonAccessible(const ButtonAccessible&) = delete;
    ButtonAccessible& operator=(const ButtonAccessible&) = delete;
    bool Ready() const { return proxy_ != nullptr; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch) || IsEqualIID(riid, kIidAccessible))
            *out = static_cast<IAccessible*>(this);
        else if (IsEqualIID(riid, IID_IOleWindow))
            *out = static_cast<IOleWindow*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: screen readers call IAccessible directly; there is no type library to offer.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
        return E_NOTIMPL;
    }

    // IAccessible: what the button alone can tell.
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT, IDispatch** child) override {
        if (child)
            *child = nullptr;
        return E_INVALIDARG; // a button has no children
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        const SkinButton* button = Button(child);
        if (!button)
            return Failure(child);
        return ReturnText(AccessibleName(button->Caption(), button->EnabledFormatText() && !button->DesignMode(),
                                         button->FormattedCaption()),
                          name);
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        const SkinButton* button = Button(child);
        if (!button)
            return Failure(child);
        if (!role)
            return E_POINTER;
        role->vt = VT_I4;
        role->lVal = AccessibleRole(button->ButtonType());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        const SkinButton* button = Button(child);
        if (!button)
            return Failure(child);
        if (!state)
            return E_POINTER;
        long shown = 0;
        VARIANT proxyState{};
        if (SUCCEEDED(proxy_->get_accState(child, &proxyState)) && proxyState.vt == VT_I4)
            shown = proxyState.lVal & kWindowStates;
        state->vt = VT_I4;
        state->lVal = shown | AccessibleState(button->AccessibleFacts());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        const SkinButton* button = Button(child);
        if (!button)
            return Failure(child);
        return ReturnText(AccessibleDefaultAction(button->ButtonType(), button->IsChecked()), action);
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        const SkinButton* button = Button(child);
        if (!button)
            return Failure(child);
        if (!button->Enabled())
            return E_FAIL; // a disabled button cannot be pressed: not a success
        // Posted, as a click of the mouse arrives: a screen reader's call must not wait for what the
        // click opens (a message box, another window).
        return PostMessageW(hwnd_, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (value)
            *value = nullptr;
        return Button(child) ? DISP_E_MEMBERNOTFOUND : Failure(child); // a button has no value
    }

    // The rest is the standard proxy's, which answers it from the window.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        return Alive() ? proxy_->get_accParent(parent) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) override {
        return Alive() ? proxy_->get_accDescription(child, out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* out) override {
        return Alive() ? proxy_->get_accHelp(child, out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return Alive() ? proxy_->get_accHelpTopic(file, child, topic) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* out) override {
        return Alive() ? proxy_->get_accKeyboardShortcut(child, out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) override {
        return Alive() ? proxy_->get_accFocus(out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) override {
        return Alive() ? proxy_->get_accSelection(out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return Alive() ? proxy_->accSelect(flags, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* x, long* y, long* w, long* h, VARIANT child) override {
        return Alive() ? proxy_->accLocation(x, y, w, h, child) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long dir, VARIANT start, VARIANT* out) override {
        return Alive() ? proxy_->accNavigate(dir, start, out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long x, long y, VARIANT* out) override {
        return Alive() ? proxy_->accHitTest(x, y, out) : RPC_E_DISCONNECTED;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) override { return E_NOTIMPL; }

    // IOleWindow: which window this object stands for.
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* out) override {
        if (!out)
            return E_POINTER;
        *out = hwnd_;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }

private:
    ~ButtonAccessible() {
        if (proxy_)
            proxy_->Release();
    }
    bool Alive() const { return IsWindow(hwnd_) && win::Window::FromHwnd(hwnd_); }
    // The button, when the call is about the button itself and it is still there.
    const SkinButton* Button(const VARIANT& child) const {
        if (!IsSelf(child))
            return nullptr;
        return dynamic_cast<const SkinButton*>(win::Window::FromHwnd(hwnd_));
    }
    HRESULT Failure(const VARIANT& child) const { return IsSelf(child) ? RPC_E_DISCONNECTED : E_INVALIDARG; }

    HWND hwnd_;
    IAccessible* proxy_ = nullptr;
    std::atomic<ULONG> refs_{1};
};

} // namespace

LRESULT ServeAccessibleObject(HWND button, WPARAM wParam) {
    // Handing the object over marshals it, which needs the thread's COM apartment: the program starts
    // it with its GUI thread (win/ole_apartment.h). Without one the reader gets the standard object.
    auto* object = new ButtonAccessible(button);
    LRESULT result = 0;
    if (object->Ready())
        result = LresultFromObject(kIidAccessible, wParam, static_cast<IAccessible*>(object));
    object->Release();
    return result > 0 ? result : 0;
}

} // namespace skinbutton
