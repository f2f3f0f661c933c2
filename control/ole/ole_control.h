// The base of an ActiveX control: one object holding every interface a
// container asks of a control, each method a thin forward to the object's
// state. A control class derives from it, names its identities and maps, and
// writes only what is its own: property exchange, drawing and input.
//
// A container calls, in order: SetClientSite, InitNew or Load (stream, storage
// or property bag), DoVerb to activate in place (the control's window is
// created then, and its WM_CREATE reaches OnCreate), SetObjectRects as the
// layout changes, drawing and input through the window, then Close and
// SetClientSite(null) before its last Release.
#pragma once

#include <windows.h>

#include <ocidl.h>
#include <oleidl.h>

#include <atomic>
#include <string>

#include "com_ptr.h"
#include "connection_point.h"
#include "property_exchange.h"

namespace zel::ole {

class OleControl;

// One member of the control's automation surface: a string property held in
// a member, or a method without parameters.
struct DispatchEntry {
    DISPID id;
    std::string* (*property)(OleControl& control);
    void (*method)(OleControl& control);
};

class OleControl : public IOleObject,
                   public IOleInPlaceObject,
                   public IOleInPlaceActiveObject,
                   public IOleControl,
                   public IViewObject2,
                   public IDispatch,
                   public IProvideClassInfo2,
                   public IPersistStreamInit,
                   public IPersistPropertyBag,
                   public IPersistStorage,
                   public ISpecifyPropertyPages,
                   public IConnectionPointContainer {
public:
    OleControl();
    virtual ~OleControl();
    OleControl(const OleControl&) = delete;
    OleControl& operator=(const OleControl&) = delete;

    // What the control class provides.
    virtual HRESULT GetTypeLib(LCID locale, ITypeLib** typeLib) = 0;
    virtual const DispatchEntry* GetDispatchMap(size_t& count) const = 0;
    virtual const CLSID* GetPropPageIDs(ULONG& count) = 0;
    virtual UINT GetUserTypeNameID() const = 0;
    virtual DWORD GetMiscStatus() const = 0;
    // The control's persistent state; the control calls this base first for
    // the framework's own state (the extent).
    virtual void DoPropExchange(PropExchange& exchange);
    virtual void OnResetState();
    virtual void OnDraw(HDC dc, const RECT& bounds, const RECT& invalid) = 0;

    // The control's window messages.
    virtual int OnCreate(const CREATESTRUCTA* create);
    virtual void OnDestroy() {}
    virtual void OnMouseMove(UINT flags, POINT point);
    virtual void OnLButtonDown(UINT flags, POINT point);
    virtual void OnLButtonUp(UINT flags, POINT point);
    virtual void OnRButtonDown(UINT flags, POINT point);

    // Called as the module is unloaded: the window class names a procedure in
    // this module, and a class left behind would outlive the code it calls.
    static void UnregisterWindowClass();

    void SetModifiedFlag(bool modified) { m_modified = modified; }
    HWND GetSafeHwnd() const { return m_window; }

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IOleObject
    HRESULT STDMETHODCALLTYPE SetClientSite(IOleClientSite* site) override;
    HRESULT STDMETHODCALLTYPE GetClientSite(IOleClientSite** site) override;
    HRESULT STDMETHODCALLTYPE SetHostNames(LPCOLESTR, LPCOLESTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Close(DWORD saveOption) override;
    HRESULT STDMETHODCALLTYPE SetMoniker(DWORD, IMoniker*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetMoniker(DWORD, DWORD, IMoniker** moniker) override;
    HRESULT STDMETHODCALLTYPE InitFromData(IDataObject*, BOOL, DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetClipboardData(DWORD, IDataObject** data) override;
    HRESULT STDMETHODCALLTYPE DoVerb(LONG verb, LPMSG, IOleClientSite* site, LONG, HWND parent,
                                     LPCRECT position) override;
    HRESULT STDMETHODCALLTYPE EnumVerbs(IEnumOLEVERB** verbs) override;
    HRESULT STDMETHODCALLTYPE Update() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE IsUpToDate() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetUserClassID(CLSID* clsid) override { return GetClassID(clsid); }
    HRESULT STDMETHODCALLTYPE GetUserType(DWORD form, LPOLESTR* name) override;
    HRESULT STDMETHODCALLTYPE SetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, SIZEL* size) override;
    HRESULT STDMETHODCALLTYPE Advise(IAdviseSink* sink, DWORD* connection) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD connection) override;
    HRESULT STDMETHODCALLTYPE EnumAdvise(IEnumSTATDATA** advises) override;
    HRESULT STDMETHODCALLTYPE GetMiscStatus(DWORD aspect, DWORD* status) override;
    HRESULT STDMETHODCALLTYPE SetColorScheme(LOGPALETTE*) override { return E_NOTIMPL; }

    // IOleWindow, IOleInPlaceObject, IOleInPlaceActiveObject
    HRESULT STDMETHODCALLTYPE GetWindow(HWND* window) override;
    HRESULT STDMETHODCALLTYPE ContextSensitiveHelp(BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE InPlaceDeactivate() override;
    HRESULT STDMETHODCALLTYPE UIDeactivate() override;
    HRESULT STDMETHODCALLTYPE SetObjectRects(LPCRECT position, LPCRECT clip) override;
    HRESULT STDMETHODCALLTYPE ReactivateAndUndo() override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE TranslateAccelerator(LPMSG) override { return S_FALSE; }
    HRESULT STDMETHODCALLTYPE OnFrameWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDocWindowActivate(BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE ResizeBorder(LPCRECT, IOleInPlaceUIWindow*, BOOL) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE EnableModeless(BOOL) override { return S_OK; }

    // IOleControl
    HRESULT STDMETHODCALLTYPE GetControlInfo(CONTROLINFO* info) override;
    HRESULT STDMETHODCALLTYPE OnMnemonic(MSG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnAmbientPropertyChange(DISPID) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE FreezeEvents(BOOL) override { return S_OK; }

    // IViewObject2
    HRESULT STDMETHODCALLTYPE Draw(DWORD aspect, LONG, void*, DVTARGETDEVICE*, HDC, HDC dc, LPCRECTL bounds,
                                   LPCRECTL, BOOL(STDMETHODCALLTYPE*)(ULONG_PTR), ULONG_PTR) override;
    HRESULT STDMETHODCALLTYPE GetColorSet(DWORD, LONG, void*, DVTARGETDEVICE*, HDC, LOGPALETTE**) override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Freeze(DWORD, LONG, void*, DWORD*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Unfreeze(DWORD) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetAdvise(DWORD aspects, DWORD flags, IAdviseSink* sink) override;
    HRESULT STDMETHODCALLTYPE GetAdvise(DWORD* aspects, DWORD* flags, IAdviseSink** sink) override;
    HRESULT STDMETHODCALLTYPE GetExtent(DWORD aspect, LONG, DVTARGETDEVICE*, LPSIZEL size) override;

    // IDispatch
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID locale, DISPID* ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO*, UINT* argumentError) override;

    // IProvideClassInfo2
    HRESULT STDMETHODCALLTYPE GetClassInfo(ITypeInfo** info) override;
    HRESULT STDMETHODCALLTYPE GetGUID(DWORD kind, GUID* guid) override;

    // IPersist, shared by the three persistence interfaces: the control class's.
    HRESULT STDMETHODCALLTYPE GetClassID(CLSID* clsid) override = 0;

    // IPersistStreamInit, IPersistPropertyBag, IPersistStorage
    HRESULT STDMETHODCALLTYPE IsDirty() override { return m_modified ? S_OK : S_FALSE; }
    HRESULT STDMETHODCALLTYPE Load(IStream* stream) override;
    HRESULT STDMETHODCALLTYPE Save(IStream* stream, BOOL clearDirty) override;
    HRESULT STDMETHODCALLTYPE GetSizeMax(ULARGE_INTEGER* size) override;
    HRESULT STDMETHODCALLTYPE InitNew() override;
    HRESULT STDMETHODCALLTYPE Load(IPropertyBag* bag, IErrorLog* log) override;
    HRESULT STDMETHODCALLTYPE Save(IPropertyBag* bag, BOOL clearDirty, BOOL saveAll) override;
    HRESULT STDMETHODCALLTYPE InitNew(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Load(IStorage* storage) override;
    HRESULT STDMETHODCALLTYPE Save(IStorage* storage, BOOL sameAsLoad) override;
    HRESULT STDMETHODCALLTYPE SaveCompleted(IStorage*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE HandsOffStorage() override { return S_OK; }

    // ISpecifyPropertyPages
    HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

    // IConnectionPointContainer: points for the event interface and for
    // IPropertyNotifySink, neither of which ever fires.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints** points) override;
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** point) override;

protected:
    // The dispatch and event interfaces this control answers for.
    void InitializeIIDs(const IID* dispatch, const IID* events) {
        m_dispatchIid = dispatch;
        m_eventsIid = events;
        m_eventsPoint.SetInterface(*events);
    }

private:
    // Holds a reference while the control's own code runs something that may
    // pump messages (a window message, a verb): a container may let the
    // control go meanwhile, from a timer, and it must outlive that code. Takes
    // none while the control is already being destroyed.
    class KeepAlive {
    public:
        explicit KeepAlive(OleControl& control);
        ~KeepAlive();
        KeepAlive(const KeepAlive&) = delete;
        KeepAlive& operator=(const KeepAlive&) = delete;

    private:
        OleControl& m_control;
        bool m_held;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    HRESULT RunVerb(LONG verb, IOleClientSite* site, HWND parent);
    HRESULT InvokeEntry(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result, UINT* argumentError);
    HRESULT InPlaceActivate(bool uiActivate);
    HRESULT UIActivate();
    HRESULT ShowProperties(HWND parent);
    HRESULT DispatchTypeInfo(ITypeInfo** info);
    HRESULT Exchange(PropExchange& exchange);

    std::atomic<ULONG> m_references{1};
    const IID* m_dispatchIid = &IID_IDispatch;
    const IID* m_eventsIid = &IID_NULL;

    ComPtr<IOleClientSite> m_clientSite;
    ComPtr<IOleInPlaceSite> m_inPlaceSite;
    ComPtr<IOleInPlaceFrame> m_frame;
    ComPtr<IOleInPlaceUIWindow> m_uiWindow;
    ComPtr<IOleAdviseHolder> m_adviseHolder;
    ComPtr<IAdviseSink> m_viewSink;
    DWORD m_viewAspects = 0;
    DWORD m_viewAdviseFlags = 0;
    ComPtr<ITypeInfo> m_dispatchInfo;
    ConnectionPoint m_eventsPoint{*this, IID_NULL};
    ConnectionPoint m_propertyNotifyPoint{*this, IID_IPropertyNotifySink};

    HWND m_window = nullptr;
    RECT m_position{};
    SIZEL m_extent;
    bool m_modified = false;
    bool m_inPlaceActive = false;
    bool m_uiActive = false;
};

}  // namespace zel::ole
