// One movie in a web page: a MovieViewer in the dialect of the tag it replaces,
// the loading order of that tag's shell, and the pictures the page puts on its
// canvas. The page drives it: it writes the description and every fetched view
// into the module's file system, reports arrivals, forwards pointer and key
// input in picture pixels, and paints what Paint and PaintBlend return.
//
// The plug-in dialect (an <embed>) requests views as the plug-in does, several
// at once, and keeps packed 24-bit frames; a view that fails stays unreachable.
// The control dialect (an <object>) walks from view 0 one view at a time and
// keeps RGB frames; a view that fails is black. Every viewer owns all its
// state, so any number of them work side by side.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "canvas_window.h"
#include "description.h"
#include "fetch_loader.h"
#include "movie_viewer.h"
#include "plugin_loader.h"

namespace zel::web {

class WebViewer : private BrowserRequests {
public:
    explicit WebViewer(Dialect dialect);
    WebViewer(const WebViewer&) = delete;
    WebViewer& operator=(const WebViewer&) = delete;

    // Reads the description the page stored at `path` and starts loading.
    // On refusal Problem() says why, with the line and token where it can.
    ReadStatus ReadDescription(const std::string& path);
    const std::string& Problem() const { return m_problem; }

    const ViewTable& Table() const { return m_viewer.Table(); }
    // The next view to fetch, or none for now; the plug-in dialect hands out
    // every request in the order the plug-in makes them, the control dialect
    // one view at a time.
    std::optional<int32_t> TakeRequest();
    // The page fetched `view` into `localfile` (empty when the fetch failed).
    void ViewArrived(int32_t view, const std::string& localfile);

    void DragStart(int x, int y) { m_viewer.OnDragStart(kLeftButtonFlag, x, y); }
    void DragMove(int x, int y, bool held) { m_viewer.OnDragMove(held ? kLeftButtonFlag : 0, x, y); }
    void KeyStep(int slot) { m_viewer.OnKeyStep(slot); }

    int32_t LoadState() const { return m_viewer.GetLoadState(); }
    int32_t CurrentView() const { return m_viewer.GetCurrentView(); }
    // Views the loader has finished with, failed ones included, of the views
    // it will load: the control's walk reaches only what view 0 leads to, the
    // plug-in waits for every view (and never ends when one is out of reach).
    int32_t ViewsDone() const { return m_viewsDone; }
    int32_t ViewsToLoad() const { return m_viewsToLoad; }
    CanvasWindow& Window() { return m_window; }

    // The current view as RGBA rows for the canvas, or null when nothing is
    // shown (LoadState 0, or no frame for the view).
    const uint8_t* Paint();
    // The plug-in's crossfade: the 50% mix of the previous and the current
    // view, painted before the current one once every view has arrived and the
    // description asks for it; null otherwise.
    const uint8_t* PaintBlend();

private:
    void GetURLNotify(const std::string& url, int32_t view) override;
    void ShowStatus(const std::string&) override {}

    const Dialect m_dialect;
    CanvasWindow m_window;
    PluginLoader* m_pluginLoader = nullptr;  // owned by m_viewer, plug-in dialect
    FetchLoader* m_fetchLoader = nullptr;    // owned by m_viewer, control dialect
    MovieViewer m_viewer;
    std::string m_problem;
    std::deque<int32_t> m_requests;
    int32_t m_viewsDone = 0;
    int32_t m_viewsToLoad = 0;
    std::vector<uint8_t> m_rgba;
};

}  // namespace zel::web
