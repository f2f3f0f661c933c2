#include "control_walk.h"

#include "frames.h"
#include "movie_viewer.h"
#include "view_decode.h"

namespace zel {

ControlWalk::ControlWalk(const ViewTable& table) : m_table(table), m_visited(size_t(table.viewCount), 0) {
    if (table.viewCount <= 0) return;
    m_visited[0] = 1;
    m_queue.push_back(0);
}

std::optional<int32_t> ControlWalk::Next() {
    if (m_queue.empty()) return std::nullopt;
    static constexpr int kSlotOrder[] = {kSlotRight, kSlotLeft, kSlotDown, kSlotUp};
    const int32_t view = m_queue.front();
    m_queue.pop_front();
    for (int slot : kSlotOrder) {
        const int32_t next = m_table.Neighbour(view, slot);
        if (next != kNoView && !m_visited[size_t(next)]) {
            m_visited[size_t(next)] = 1;
            m_queue.push_back(next);
        }
    }
    return view;
}

void FileControlView(MovieViewer& viewer, int32_t view, const std::string& localfile, bool arrived) {
    // Unset when a decode will write every byte of it; black when nothing
    // arrived, so a view that failed shows black either way.
    std::unique_ptr<RgbFrame> frame = NewRgbFrame(viewer.Table().width, viewer.Table().height,
                                                  arrived ? RgbFrame::Fill::Unset : RgbFrame::Fill::Black);
    if (frame && arrived) DecodeIntoRgbFrame(localfile, *frame);
    if (frame) viewer.Frames().Publish(view, std::move(frame));
    if (view == 0) {
        viewer.SetLoadState(kStillLoading);
        viewer.Window().InvalidateAndUpdate();
    }
}

void FinishControlLoading(MovieViewer& viewer) {
    viewer.SetLoadState(kLoadFinished);
    viewer.Window().Beep();
}

}  // namespace zel
