#include "viewer_app.h"

#include "browser.h"
#include "stream_routing.h"

namespace zel::plugin {

namespace {

ViewerApp* gApp = nullptr;

LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (gApp) return gApp->HandleMessage(window, message, wParam, lParam);
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

ViewerApp::ViewerApp()
    : m_loader(new PluginLoader(*this)),
      m_viewer(Dialect::Plugin, m_window, std::unique_ptr<ViewLoader>(m_loader)) {
    win32::DetectPixelDepth(m_viewer, &m_directDraw);
}

ViewerApp::~ViewerApp() {
    // The browser's window is given back, never destroyed.
    ReleaseWindow();
}

ViewerApp* ViewerApp::Current() { return gApp; }

void ViewerApp::Create() {
    // Made here rather than at module load: the DirectDraw query and its
    // message box must not run inside the loader's lock (DllMain).
    if (!gApp) gApp = new ViewerApp();
}

void ViewerApp::Destroy() {
    delete gApp;
    gApp = nullptr;
}

void ViewerApp::AttachWindow(HWND window) {
    // Never two windows subclassed at once: an earlier one (another instance's)
    // gets its own procedure back first.
    ReleaseWindow();
    m_window.SetHandle(nullptr);
    SetLastError(0);
    const LONG_PTR previous =
        SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProcedure));
    if (previous == 0 && GetLastError() != 0) {
        MessageBoxA(nullptr, "SubclassWindow Failed !!", "Error !!", MB_OK);
        return;
    }
    m_savedProcedure = reinterpret_cast<WNDPROC>(previous);
    m_window.SetHandle(window);
}

void ViewerApp::ReleaseWindow() {
    if (!m_savedProcedure || !m_window.Handle()) return;
    SetWindowLongPtrA(m_window.Handle(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_savedProcedure));
    m_savedProcedure = nullptr;
}

void ViewerApp::DispatchStreamFile(NPP instance, const char* path) {
    if (!path) return;  // the browser could not store the stream
    m_instance = instance;
    switch (ClassifyStreamFile(path)) {
    case StreamFileKind::Description:
        ++m_generation;
        m_viewer.ReadDescription(path);
        break;
    case StreamFileKind::View:
        m_loader->DecodeViewFile(m_viewer, path);
        break;
    case StreamFileKind::Ignored:
        break;
    }
}

void ViewerApp::OnViewArrived(NPP instance, const ViewRequest& request, bool delivered) {
    if (request.generation != m_generation) return;
    m_instance = instance;
    m_loader->OnViewArrived(m_viewer, request.view, delivered);
}

void ViewerApp::GetURLNotify(const std::string& url, int32_t view) {
    auto* request = new ViewRequest{view, m_generation};
    // A refused request is never notified, so its record would never be freed.
    if (NPN_GetURLNotify(m_instance, url.c_str(), nullptr, request) != NPERR_NO_ERROR) delete request;
}

void ViewerApp::ShowStatus(const std::string& text) { NPN_Status(m_instance, text.c_str()); }

}  // namespace zel::plugin
