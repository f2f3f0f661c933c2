#include "ole_control.h"

#include <olectl.h>

#include "array_enum.h"
#include "class_factory.h"
#include "com_guard.h"

namespace zel::ole {
namespace {

// The control's size until its container gives one: 320 x 240 pixels at
// 96 pixels an inch, in HIMETRIC units (2540 an inch).
constexpr LONG kDefaultExtentX = 320 * 2540 / 96;
constexpr LONG kDefaultExtentY = 240 * 2540 / 96;

template <class Interface>
void* CastTo(OleControl* control) {
    return static_cast<Interface*>(control);
}

struct InterfaceEntry {
    const IID* iid;
    void* (*cast)(OleControl*);
};

// IUnknown, IOleWindow and IPersist are reached through one fixed branch each,
// so every QueryInterface for them gives the same pointer.
const InterfaceEntry kInterfaces[] = {
    {&IID_IUnknown, CastTo<IOleObject>},
    {&IID_IOleObject, CastTo<IOleObject>},
    {&IID_IOleWindow, [](OleControl* c) -> void* { return static_cast<IOleWindow*>(static_cast<IOleInPlaceObject*>(c)); }},
    {&IID_IOleInPlaceObject, CastTo<IOleInPlaceObject>},
    {&IID_IOleInPlaceActiveObject, CastTo<IOleInPlaceActiveObject>},
    {&IID_IOleControl, CastTo<IOleControl>},
    {&IID_IViewObject, CastTo<IViewObject2>},
    {&IID_IViewObject2, CastTo<IViewObject2>},
    {&IID_IDispatch, CastTo<IDispatch>},
    {&IID_IProvideClassInfo, CastTo<IProvideClassInfo2>},
    {&IID_IProvideClassInfo2, CastTo<IProvideClassInfo2>},
    {&IID_IPersist, [](OleControl* c) -> void* { return static_cast<IPersist*>(static_cast<IPersistStreamInit*>(c)); }},
    {&IID_IPersistStreamInit, CastTo<IPersistStreamInit>},
    {&IID_IPersistPropertyBag, CastTo<IPersistPropertyBag>},
    {&IID_IPersistStorage, CastTo<IPersistStorage>},
    {&IID_ISpecifyPropertyPages, CastTo<ISpecifyPropertyPages>},
    {&IID_IConnectionPointContainer, CastTo<IConnectionPointContainer>},
};

}  // namespace

OleControl::OleControl() : m_extent{kDefaultExtentX, kDefaultExtentY} { LockModule(); }

OleControl::~OleControl() {
    if (m_window) DestroyWindow(m_window);
    UnlockModule();
}

HRESULT OleControl::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (const InterfaceEntry& entry : kInterfaces) {
        if (*entry.iid == iid) {
            *object = entry.cast(this);
            break;
        }
    }
    if (!*object && iid == *m_dispatchIid) *object = static_cast<IDispatch*>(this);
    if (!*object) return E_NOINTERFACE;
    AddRef();
    return S_OK;
}

ULONG OleControl::AddRef() { return ++m_references; }

OleControl::KeepAlive::KeepAlive(OleControl& control) : m_control(control), m_held(false) {
    ULONG count = control.m_references.load();
    while (count != 0 && !m_held) m_held = control.m_references.compare_exchange_weak(count, count + 1);
}

OleControl::KeepAlive::~KeepAlive() {
    if (m_held) m_control.Release();
}

ULONG OleControl::Release() {
    const ULONG left = --m_references;
    if (left == 0) delete this;
    return left;
}

void OleControl::DoPropExchange(PropExchange& exchange) {
    exchange.ExchangeLong(L"_ExtentX", m_extent.cx, kDefaultExtentX);
    exchange.ExchangeLong(L"_ExtentY", m_extent.cy, kDefaultExtentY);
}

void OleControl::OnResetState() { m_extent = SIZEL{kDefaultExtentX, kDefaultExtentY}; }

HRESULT OleControl::SetClientSite(IOleClientSite* site) {
    m_clientSite = ComPtr<IOleClientSite>::Share(site);
    return S_OK;
}

HRESULT OleControl::GetClientSite(IOleClientSite** site) {
    if (!site) return E_POINTER;
    *site = ComPtr<IOleClientSite>::Share(m_clientSite.Get()).Detach();
    return S_OK;
}

HRESULT OleControl::Close(DWORD saveOption) {
    InPlaceDeactivate();
    if (m_clientSite && m_modified &&
        (saveOption == OLECLOSE_SAVEIFDIRTY || saveOption == OLECLOSE_PROMPTSAVE))
        m_clientSite->SaveObject();
    if (m_adviseHolder) m_adviseHolder->SendOnClose();
    return S_OK;
}

HRESULT OleControl::GetMoniker(DWORD, DWORD, IMoniker** moniker) {
    if (moniker) *moniker = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::GetClipboardData(DWORD, IDataObject** data) {
    if (data) *data = nullptr;
    return E_NOTIMPL;
}

HRESULT OleControl::GetUserType(DWORD, LPOLESTR* name) {
    if (!name) return E_POINTER;
    *name = nullptr;
    const wchar_t* text = nullptr;
    const int length = LoadStringW(ModuleInstance(), GetUserTypeNameID(), reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0) return E_FAIL;
    *name = static_cast<LPOLESTR>(CoTaskMemAlloc((size_t(length) + 1) * sizeof(wchar_t)));
    if (!*name) return E_OUTOFMEMORY;
    memcpy(*name, text, size_t(length) * sizeof(wchar_t));
    (*name)[length] = L'\0';
    return S_OK;
}

HRESULT OleControl::SetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    m_extent = *size;
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, SIZEL* size) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!size) return E_POINTER;
    *size = m_extent;
    return S_OK;
}

HRESULT OleControl::Advise(IAdviseSink* sink, DWORD* connection) {
    if (!m_adviseHolder && FAILED(CreateOleAdviseHolder(m_adviseHolder.Receive()))) return E_OUTOFMEMORY;
    return m_adviseHolder->Advise(sink, connection);
}

HRESULT OleControl::Unadvise(DWORD connection) {
    return m_adviseHolder ? m_adviseHolder->Unadvise(connection) : OLE_E_NOCONNECTION;
}

HRESULT OleControl::EnumAdvise(IEnumSTATDATA** advises) {
    if (!advises) return E_POINTER;
    *advises = nullptr;
    return m_adviseHolder ? m_adviseHolder->EnumAdvise(advises) : S_OK;
}

HRESULT OleControl::GetMiscStatus(DWORD, DWORD* status) {
    if (!status) return E_POINTER;
    *status = GetMiscStatus();
    return S_OK;
}

HRESULT OleControl::GetControlInfo(CONTROLINFO* info) {
    if (!info) return E_POINTER;
    info->hAccel = nullptr;
    info->cAccel = 0;
    info->dwFlags = 0;
    return S_OK;
}

HRESULT OleControl::Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds, LPCRECTL,
                         BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) {
    if (aspect != DVASPECT_CONTENT) return DV_E_DVASPECT;
    if (!dc) return E_INVALIDARG;
    RECT area{};
    if (bounds)
        area = RECT{bounds->left, bounds->top, bounds->right, bounds->bottom};
    else if (m_window)
        GetClientRect(m_window, &area);
    return ComGuard([&] {
        OnDraw(dc, area, area);
        return S_OK;
    });
}

HRESULT OleControl::SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) {
    m_viewAspects = aspects;
    m_viewAdviseFlags = flags;
    m_viewSink = ComPtr<IAdviseSink>::Share(sink);
    return S_OK;
}

HRESULT OleControl::GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) {
    if (aspects) *aspects = m_viewAspects;
    if (flags) *flags = m_viewAdviseFlags;
    if (sink) *sink = ComPtr<IAdviseSink>::Share(m_viewSink.Get()).Detach();
    return S_OK;
}

HRESULT OleControl::GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) { return GetExtent(aspect, size); }

HRESULT OleControl::GetClassInfo(ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    ComPtr<ITypeLib> typeLib;
    HRESULT result = GetTypeLib(LOCALE_USER_DEFAULT, typeLib.Receive());
    if (FAILED(result)) return result;
    CLSID clsid;
    GetClassID(&clsid);
    return typeLib->GetTypeInfoOfGuid(clsid, info);
}

HRESULT OleControl::GetGUID(DWORD kind, GUID* guid) {
    if (!guid) return E_POINTER;
    if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) {
        *guid = GUID_NULL;
        return E_INVALIDARG;
    }
    *guid = *m_eventsIid;
    return S_OK;
}

HRESULT OleControl::GetPages(CAUUID* pages) {
    if (!pages) return E_POINTER;
    ULONG count = 0;
    const CLSID* ids = GetPropPageIDs(count);
    pages->cElems = 0;
    pages->pElems = static_cast<GUID*>(CoTaskMemAlloc(sizeof(GUID) * (count ? count : 1)));
    if (!pages->pElems) return E_OUTOFMEMORY;
    for (ULONG i = 0; i < count; ++i) pages->pElems[i] = ids[i];
    pages->cElems = count;
    return S_OK;
}

HRESULT OleControl::EnumConnectionPoints(IEnumConnectionPoints** points) {
    if (!points) return E_POINTER;
    IConnectionPoint* const all[] = {&m_eventsPoint, &m_propertyNotifyPoint};
    *points = ArrayEnum<IEnumConnectionPoints, IConnectionPoint*, ConnectionPointPolicy>::Create(all, 2);
    return *points ? S_OK : E_OUTOFMEMORY;
}

HRESULT OleControl::FindConnectionPoint(REFIID iid, IConnectionPoint** point) {
    if (!point) return E_POINTER;
    *point = nullptr;
    for (ConnectionPoint* candidate : {&m_eventsPoint, &m_propertyNotifyPoint}) {
        if (candidate->Interface() == iid && iid != IID_NULL) {
            *point = candidate;
            candidate->AddRef();
            return S_OK;
        }
    }
    return CONNECT_E_NOCONNECTION;
}

}  // namespace zel::ole
