// The plug-in's one application object: one MovieViewer for every instance,
// its window side (the browser's window, subclassed), and the request side
// (the browser's notified URL requests). Only the InstanceRecord is per
// instance, so a new instance finds the viewer as the last one left it.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>

#include "display_format.h"
#include "hwnd_window.h"
#include "movie_viewer.h"
#include "npapi.h"
#include "plugin_loader.h"

namespace zel::plugin {

// What travels as a request's notifyData, and comes back both with the
// request's stream and with its notification: that pairs a delivered file with
// its request. The view index comes first; the generation names the
// description that asked, so a late notification of an earlier description
// never files a picture under this one's views.
struct ViewRequest {
    int32_t view;
    uint32_t generation;
};

class ViewerApp : private BrowserRequests {
public:
    ViewerApp();
    ~ViewerApp() override;
    ViewerApp(const ViewerApp&) = delete;
    ViewerApp& operator=(const ViewerApp&) = delete;

    // The module's one ViewerApp, made by NP_Initialize and gone after NP_Shutdown.
    static ViewerApp* Current();
    static void Create();
    static void Destroy();
    // The module is being unloaded without NP_Shutdown: a window still
    // subclassed must get its own procedure back before this code goes.
    static void OnModuleUnload();

    void AttachWindow(HWND window);
    void ReleaseWindow();
    void DispatchStreamFile(NPP instance, NPStream* stream, const char* path);
    // A request's notification: `notifyData` is read only when it is a request
    // record of this app's that is still out, and that record is freed.
    void OnURLNotify(NPP instance, void* notifyData, bool delivered);

    int32_t GetCurrentView() const { return m_viewer.GetCurrentView(); }
    void RestoreSavedView(int32_t view) { m_viewer.RestoreSavedView(view); }
    HWND Window() const { return m_window.Handle(); }
    bool Subclassed() const { return m_savedProcedure != nullptr; }
    MovieViewer& Viewer() { return m_viewer; }

    // The subclassed window's messages.
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void GetURLNotify(const std::string& url, int32_t view) override;
    void ShowStatus(const std::string& text) override;
    void OnPaint();
    void PaintCurrentView(HDC dc);
    LRESULT PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::HwndWindow m_window;
    PluginLoader* m_loader;  // owned by m_viewer
    MovieViewer m_viewer;
    win32::DirectDrawObject m_directDraw;
    WNDPROC m_savedProcedure = nullptr;
    NPP m_instance = nullptr;  // the instance whose call is being served
    uint32_t m_generation = 0;
    std::unordered_map<const void*, std::unique_ptr<ViewRequest>> m_outstanding;
};

}  // namespace zel::plugin
