#include "web_viewer.h"

#include "blend.h"
#include "rgba.h"

namespace zel::web {

namespace {

std::unique_ptr<ViewLoader> MakeLoader(Dialect dialect, BrowserRequests& browser, PluginLoader*& plugin,
                                       FetchLoader*& fetch) {
    if (dialect == Dialect::Plugin) {
        plugin = new PluginLoader(browser);
        return std::unique_ptr<ViewLoader>(plugin);
    }
    fetch = new FetchLoader();
    return std::unique_ptr<ViewLoader>(fetch);
}

}  // namespace

WebViewer::WebViewer(Dialect dialect)
    : m_dialect(dialect), m_viewer(dialect, m_window, MakeLoader(dialect, *this, m_pluginLoader, m_fetchLoader)) {
    // A canvas takes R, G, B: the plug-in's frames are packed at 24 bits.
    m_viewer.SetPixelDepth(kDepth24);
    // No trace files in a page.
    m_viewer.Trace().SetPath("");
}

ReadStatus WebViewer::ReadDescription(const std::string& path) {
    m_requests.clear();
    m_viewsDone = 0;
    // The shells say why a description is refused in a message box (the
    // control) or not at all (the plug-in); the page says it in the element.
    const ReadStatus status = m_viewer.ReadDescription(path);
    m_problem = status == ReadStatus::Refused    ? DescribeProblem(m_viewer.RefusalProblem())
                : status == ReadStatus::CantOpen ? "the description file cannot be read"
                                                 : "";
    m_viewsToLoad = m_viewer.Table().viewCount;
    if (m_fetchLoader) {
        ControlWalk walk(m_viewer.Table());
        for (m_viewsToLoad = 0; walk.Next(); ++m_viewsToLoad) {
        }
    }
    // The control's reader also reports morph files (and its refusals, said
    // above); morph pairs change nothing a page shows, and a page cannot reach
    // the visitor's files they name.
    while (!m_window.TakeMessage().empty()) {
    }
    return status;
}

std::optional<int32_t> WebViewer::TakeRequest() {
    if (m_fetchLoader) return m_fetchLoader->TakeRequest();
    if (m_requests.empty()) return std::nullopt;
    const int32_t view = m_requests.front();
    m_requests.pop_front();
    return view;
}

void WebViewer::GetURLNotify(const std::string&, int32_t view) { m_requests.push_back(view); }

void WebViewer::ViewArrived(int32_t view, const std::string& localfile) {
    const bool arrived = !localfile.empty();
    if (m_fetchLoader) {
        if (m_fetchLoader->Arrived(m_viewer, view, localfile, arrived)) ++m_viewsDone;
        return;
    }
    const int32_t before = m_pluginLoader->ArrivalCount();
    if (arrived) m_pluginLoader->DecodeViewFile(m_viewer, localfile, view);
    m_pluginLoader->OnViewArrived(m_viewer, view, arrived);
    m_viewsDone += m_pluginLoader->ArrivalCount() - before;
}

const uint8_t* WebViewer::Paint() {
    if (LoadState() == kNothingToShow) return nullptr;
    const int32_t view = m_viewer.GetCurrentView();
    if (const auto* packed = m_viewer.Frames().GetAs<PackedFrame>(view)) {
        ToRgba(*packed, m_rgba);
    } else if (const auto* rgb = m_viewer.Frames().GetAs<RgbFrame>(view)) {
        ToRgba(*rgb, m_rgba);
    } else {
        return nullptr;
    }
    return m_rgba.data();
}

const uint8_t* WebViewer::PaintBlend() {
    if (m_dialect != Dialect::Plugin || !CrossfadeBeforePaint(LoadState(), Table().flag)) return nullptr;
    const auto* current = m_viewer.Frames().GetAs<PackedFrame>(m_viewer.GetCurrentView());
    const auto* previous = m_viewer.Frames().GetAs<PackedFrame>(m_viewer.GetPreviousView());
    if (!current || !previous) return nullptr;
    const std::unique_ptr<PackedFrame> blend = BlendPackedFrames(*current, *previous);
    if (!blend) return nullptr;
    ToRgba(*blend, m_rgba);
    return m_rgba.data();
}

}  // namespace zel::web
