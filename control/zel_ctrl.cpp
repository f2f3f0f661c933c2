#include "zel_ctrl.h"

#include <olectl.h>

#include "about_box.h"
#include "class_factory.h"
#include "control_loader.h"
#include "control_paint.h"
#include "display_format.h"
#include "download.h"
#include "guids.h"
#include "url_parts.h"

namespace zel::control {

namespace {

constexpr DWORD kPersistedVersion = 0x10000;  // 1.0

}  // namespace

struct CZelCtrlMaps {
    static std::string* File(ole::OleControl& control) { return &static_cast<CZelCtrl&>(control).m_file; }
    static std::string* Url(ole::OleControl& control) { return &static_cast<CZelCtrl&>(control).m_url; }
    static void AboutBox(ole::OleControl&) { ShowAboutBox(); }
};

namespace {

// DISPIDs 1 and 2 follow the order of the two properties.
const ole::DispatchEntry kDispatchMap[] = {
    {1, &CZelCtrlMaps::File, nullptr},
    {2, &CZelCtrlMaps::Url, nullptr},
    {DISPID_ABOUTBOX, nullptr, &CZelCtrlMaps::AboutBox},
};

}  // namespace

CZelCtrl::CZelCtrl() { InitializeIIDs(&kDispatchIid, &kEventsIid); }

CZelCtrl::~CZelCtrl() { ReleaseViewer(); }

HRESULT CZelCtrl::GetClassID(CLSID* clsid) {
    if (!clsid) return E_POINTER;
    *clsid = kControlClsid;
    return S_OK;
}

HRESULT CZelCtrl::GetTypeLib(LCID locale, ITypeLib** typeLib) {
    if (!typeLib) return E_POINTER;
    const HRESULT registered = LoadRegTypeLib(kTypeLibId, kTypeLibMajor, kTypeLibMinor, locale, typeLib);
    if (SUCCEEDED(registered)) return registered;
    // Not registered (yet): the module carries its own copy.
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(ole::ModuleInstance(), path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return registered;
    return LoadTypeLibEx(path, REGKIND_NONE, typeLib);
}

const ole::DispatchEntry* CZelCtrl::GetDispatchMap(size_t& count) const {
    count = sizeof kDispatchMap / sizeof kDispatchMap[0];
    return kDispatchMap;
}

const CLSID* CZelCtrl::GetPropPageIDs(ULONG& count) {
    static CLSID pages[1];
    static int pageCount = -1;
    if (pageCount < 0) {
        pages[0] = kPropPageClsid;
        pageCount = 1;
    }
    count = ULONG(pageCount);
    return pages;
}

UINT CZelCtrl::GetUserTypeNameID() const { return kIdsControlTypeName; }

DWORD CZelCtrl::GetMiscStatus() const { return kMiscStatus; }

void CZelCtrl::DoPropExchange(ole::PropExchange& exchange) {
    DWORD version = kPersistedVersion;
    exchange.ExchangeVersion(version, kPersistedVersion);
    OleControl::DoPropExchange(exchange);
    exchange.ExchangeString(L"File", m_file);
    exchange.ExchangeString(L"Url", m_url);
}

void CZelCtrl::OnResetState() { OleControl::OnResetState(); }

void CZelCtrl::OnDraw(HDC, const RECT&, const RECT&) {
    // Only the control's own window is drawn in; until the viewer exists, the
    // window's background is all it shows.
    if (m_viewer && GetSafeHwnd()) m_painter.Repaint(*m_viewer, GetSafeHwnd());
}

int CZelCtrl::OnCreate(const CREATESTRUCTA* create) {
    if (OleControl::OnCreate(create) == -1) return -1;
    // The description's download delivers messages sent to this thread, and
    // the viewer's boxes run the container's: all of it counts as one call.
    const ViewerCall call(*this);
    const UrlParts parts = SplitUrl(m_url);
    const TraceFile trace("debug.out", "at");
    std::string localfile;
    // A failed download leaves no file at `localfile`, so the viewer's reader
    // says it cannot open the description instead of reading a stale one.
    DownloadToTemp(parts.folder, parts.file, localfile, trace);
    trace.Append("localfile = %s\nm_url = %s\ngszUrl = %s\ngszFile = %s\n", localfile.c_str(), m_url.c_str(),
                 parts.folder.c_str(), parts.file.c_str());
    if (GetSafeHwnd()) {
        m_viewerWindow.SetHandle(GetSafeHwnd());
        auto fetcher = std::make_shared<DownloadFetcher>(parts.folder, trace);
        m_viewer = std::make_unique<MovieViewer>(Dialect::Control, m_viewerWindow,
                                                 std::make_unique<ControlLoader>(std::move(fetcher)));
        win32::DetectPixelDepth(*m_viewer);
        if (m_viewer->GetPixelDepth() != 0 && GetSafeHwnd()) m_viewer->ReadDescription(localfile);
    }
    // The container let the window go meanwhile.
    if (!GetSafeHwnd()) return -1;
    ShowWindow(GetSafeHwnd(), SW_SHOW);
    UpdateWindow(GetSafeHwnd());
    return 0;
}

CZelCtrl::ViewerCall::~ViewerCall() {
    if (--m_control.m_viewerCalls == 0 && m_control.m_releasePending) {
        m_control.m_releasePending = false;
        m_control.ReleaseViewer();
    }
}

void CZelCtrl::ReleaseViewer() {
    // The viewer stops its loader thread first, serving the loader's repaints
    // meanwhile; the pointer is cleared before that, so a repaint served then
    // draws nothing instead of reaching a viewer that is going away.
    std::unique_ptr<MovieViewer> viewer = std::move(m_viewer);
    viewer.reset();
    m_painter.Release();
}

void CZelCtrl::OnDestroy() {
    if (m_viewerCalls > 0)
        m_releasePending = true;
    else
        ReleaseViewer();
}

void CZelCtrl::OnMouseMove(UINT flags, POINT point) {
    if (m_viewer) m_viewer->OnDragMove(flags, point.x, point.y);
    OleControl::OnMouseMove(flags, point);
}

void CZelCtrl::OnRButtonDown(UINT flags, POINT point) {
    if (m_viewer) {
        const ViewerCall call(*this);
        m_viewer->ShowMousePosition(flags, point.x, point.y);
    }
    OleControl::OnRButtonDown(flags, point);
}

void CZelCtrl::OnLButtonDown(UINT flags, POINT point) {
    if (m_viewer) m_viewer->OnDragStart(flags, point.x, point.y);
    OleControl::OnLButtonDown(flags, point);
}

void CZelCtrl::OnLButtonUp(UINT flags, POINT point) { OleControl::OnLButtonUp(flags, point); }

}  // namespace zel::control
