#include "viewer_app.h"

#include "browser.h"
#include "no_throw.h"
#include "stream_routing.h"

namespace zel::plugin {

namespace {

ViewerApp* gApp = nullptr;

LRESULT CALLBACK SubclassProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!gApp) return DefWindowProcA(window, message, wParam, lParam);
    return NoThrow(LRESULT{0}, LRESULT{0}, [&] { return gApp->HandleMessage(window, message, wParam, lParam); });
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

void ViewerApp::OnModuleUnload() {
    // Only the window goes back: the rest of the app would need DirectDraw,
    // which must not be called under the loader's lock, and the memory is the
    // price of a browser that skipped NP_Shutdown.
    if (gApp) gApp->ReleaseWindow();
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

void ViewerApp::DispatchStreamFile(NPP instance, NPStream* stream, const char* path) {
    if (!path) return;  // the browser could not store the stream
    m_instance = instance;
    switch (ClassifyStreamFile(path)) {
    case StreamFileKind::Description:
        ++m_generation;
        m_viewer.ReadDescription(path);
        break;
    case StreamFileKind::View: {
        // The stream carries its request's record; a file that no request of
        // this description brought (a stray stream, a late one) files nothing.
        const auto found = stream ? m_outstanding.find(stream->notifyData) : m_outstanding.end();
        const bool ours = found != m_outstanding.end() && found->second->generation == m_generation;
        m_loader->DecodeViewFile(m_viewer, path, ours ? found->second->view : kNoView);
        break;
    }
    case StreamFileKind::Ignored:
        break;
    }
}

void ViewerApp::OnURLNotify(NPP instance, void* notifyData, bool delivered) {
    const auto found = m_outstanding.find(notifyData);
    if (found == m_outstanding.end()) return;
    const ViewRequest request = *found->second;
    m_outstanding.erase(found);
    if (request.generation != m_generation) return;
    m_instance = instance;
    m_loader->OnViewArrived(m_viewer, request.view, delivered);
}

void ViewerApp::GetURLNotify(const std::string& url, int32_t view) {
    auto request = std::make_unique<ViewRequest>(ViewRequest{view, m_generation});
    ViewRequest* record = request.get();
    m_outstanding.emplace(record, std::move(request));
    // A refused request is never notified, so its record is dropped at once.
    if (NPN_GetURLNotify(m_instance, url.c_str(), nullptr, record) != NPERR_NO_ERROR) m_outstanding.erase(record);
}

void ViewerApp::ShowStatus(const std::string& text) { NPN_Status(m_instance, text.c_str()); }

}  // namespace zel::plugin
