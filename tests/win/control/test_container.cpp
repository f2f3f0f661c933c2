#include "test_container.h"

namespace zel::test {

HRESULT MapPropertyBag::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IPropertyBag) return E_NOINTERFACE;
    *object = static_cast<IPropertyBag*>(this);
    AddRef();
    return S_OK;
}

HRESULT MapPropertyBag::Read(LPCOLESTR name, VARIANT* value, IErrorLog*) {
    if (!name || !value) return E_POINTER;
    const auto found = m_values.find(name);
    if (found == m_values.end()) return E_INVALIDARG;
    const VARTYPE wanted = value->vt;
    VARIANT text;
    VariantInit(&text);
    text.vt = VT_BSTR;
    text.bstrVal = SysAllocString(found->second.c_str());
    VariantInit(value);
    HRESULT result = S_OK;
    if (wanted == VT_EMPTY || wanted == VT_BSTR)
        result = VariantCopy(value, &text);
    else
        result = VariantChangeType(value, &text, 0, wanted);
    VariantClear(&text);
    return result;
}

HRESULT MapPropertyBag::Write(LPCOLESTR name, VARIANT* value) {
    if (!name || !value) return E_POINTER;
    VARIANT text;
    VariantInit(&text);
    const HRESULT result = VariantChangeType(&text, value, 0, VT_BSTR);
    if (FAILED(result)) return result;
    m_values[name] = std::wstring(text.bstrVal, SysStringLen(text.bstrVal));
    VariantClear(&text);
    return S_OK;
}

TestContainer::TestContainer(int width, int height) : m_frame(width, height), m_width(width), m_height(height) {}

TestContainer::~TestContainer() { Remove(); }

HRESULT TestContainer::Embed(IUnknown* control, const std::map<std::wstring, std::wstring>& params) {
    HRESULT result = control->QueryInterface(IID_IOleObject, m_control.ReceiveVoid());
    if (FAILED(result)) return result;
    result = m_control->SetClientSite(this);
    if (FAILED(result)) return result;
    ole::ComPtr<IPersistPropertyBag> persist = m_control.As<IPersistPropertyBag>(IID_IPersistPropertyBag);
    if (!persist) return E_NOINTERFACE;
    MapPropertyBag bag(params);
    result = persist->Load(&bag, nullptr);
    if (FAILED(result)) return result;
    RECT position{0, 0, m_width, m_height};
    return m_control->DoVerb(OLEIVERB_INPLACEACTIVATE, nullptr, this, 0, Window(), &position);
}

void TestContainer::Remove() {
    if (!m_control) return;
    m_control->Close(OLECLOSE_NOSAVE);
    m_control->SetClientSite(nullptr);
    m_control.Reset();
}

HWND TestContainer::ControlWindow() const {
    if (!m_control) return nullptr;
    ole::ComPtr<IOleWindow> window = m_control.As<IOleWindow>(IID_IOleInPlaceObject);
    HWND handle = nullptr;
    if (window) window->GetWindow(&handle);
    return handle;
}

HRESULT TestContainer::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid == IID_IUnknown || iid == IID_IOleClientSite)
        *object = static_cast<IOleClientSite*>(this);
    else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceSite)
        *object = static_cast<IOleInPlaceSite*>(this);
    else if (iid == IID_IOleInPlaceUIWindow || iid == IID_IOleInPlaceFrame)
        *object = static_cast<IOleInPlaceFrame*>(this);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

HRESULT TestContainer::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT TestContainer::GetContainer(IOleContainer** container) {
    if (container) *container = nullptr;
    return E_NOINTERFACE;
}

HRESULT TestContainer::GetWindow(HWND* window) {
    if (!window) return E_POINTER;
    *window = Window();
    return S_OK;
}

HRESULT TestContainer::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document, LPRECT position,
                                        LPRECT clip, LPOLEINPLACEFRAMEINFO info) {
    Record("GetWindowContext", S_OK);
    if (frame) {
        *frame = this;
        AddRef();
    }
    if (document) *document = nullptr;
    if (position) *position = RECT{0, 0, m_width, m_height};
    if (clip) *clip = RECT{0, 0, m_width, m_height};
    if (info) {
        info->fMDIApp = FALSE;
        info->hwndFrame = Window();
        info->haccel = nullptr;
        info->cAccelEntries = 0;
    }
    return S_OK;
}

HRESULT TestContainer::SetActiveObject(IOleInPlaceActiveObject* object, LPCOLESTR) {
    return Record(object ? "SetActiveObject" : "SetActiveObject(null)", S_OK);
}

}  // namespace zel::test
