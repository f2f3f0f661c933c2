#include "plugin_loader.h"

#include "movie_viewer.h"
#include "view_decode.h"

namespace zel {

void PluginLoader::StartLoading(MovieViewer& viewer) {
    const size_t count = size_t(viewer.Table().viewCount);
    m_requested.assign(count, 0);
    m_arrived.assign(count, 0);
    m_arrivals = 0;
    m_pending.clear();
    m_pending.resize(count);
    const int32_t start = viewer.GetCurrentView();
    m_requested[size_t(start)] = 1;
    m_browser.GetURLNotify(viewer.Table().names[size_t(start)], start);
}

void PluginLoader::StopLoading(MovieViewer&) {
    // Requests already out cannot be taken back; their notifications find no
    // request of the next description under their number and are ignored,
    // unless that description asked for the same number again.
    m_requested.clear();
    m_arrived.clear();
    m_arrivals = 0;
    m_pending.clear();
}

bool PluginLoader::Requested(int32_t view) const {
    return view >= 0 && size_t(view) < m_requested.size() && m_requested[size_t(view)];
}

void PluginLoader::RequestView(MovieViewer& viewer, int32_t view) {
    if (view < 0 || size_t(view) >= m_requested.size() || m_requested[size_t(view)]) return;
    m_requested[size_t(view)] = 1;
    m_browser.GetURLNotify(viewer.Table().names[size_t(view)], view);
}

const PackedFrame* PluginLoader::PendingFrame(int32_t view) const {
    return view >= 0 && size_t(view) < m_pending.size() ? m_pending[size_t(view)].get() : nullptr;
}

void PluginLoader::DecodeViewFile(MovieViewer& viewer, const std::string& path, int32_t view) {
    if (!Requested(view) || m_arrived[size_t(view)]) {
        viewer.Trace().Append("JPEG filename = %s\n", path.c_str());
        return;
    }
    zel::DecodeViewFile(viewer, m_planes, path, m_pending[size_t(view)]);
}

void PluginLoader::OnViewArrived(MovieViewer& viewer, int32_t view, bool delivered) {
    // Only the first notification of a view that was asked for counts: a
    // repeated or unasked one would bring "Done !!" before every view is there.
    if (!Requested(view) || m_arrived[size_t(view)]) return;
    // Only this request's own file: a failed request files nothing, even when
    // part of its file was delivered and decoded.
    std::unique_ptr<PackedFrame> frame = std::move(m_pending[size_t(view)]);
    if (delivered && frame) viewer.Frames().Publish(view, std::move(frame));
    m_arrived[size_t(view)] = 1;
    ++m_arrivals;
    viewer.SetLoadState(kStillLoading);
    viewer.Window().InvalidateAndUpdate();
    for (int slot = 1; slot <= kSlotCount; ++slot) RequestView(viewer, viewer.Table().Neighbour(view, slot));
    if (m_arrivals == viewer.Table().viewCount) {
        viewer.SetLoadState(kLoadFinished);
        viewer.Window().ShowCursor(ViewerCursor::Arrow);
        m_browser.ShowStatus(kDoneStatus);
    }
}

}  // namespace zel
