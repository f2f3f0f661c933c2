// The control's loading order, apart from how views are fetched: breadth-first
// over the neighbour graph from view 0, a view's neighbours queued in the slot
// order 3, 4, 1, 2 (right, left, down, up) before the view itself is loaded, each
// view once. The control's loader thread fetches synchronously; the web shell
// fetches asynchronously, one view at a time; both file views the same way.
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "view_table.h"

namespace zel {

class MovieViewer;

class ControlWalk {
public:
    explicit ControlWalk(const ViewTable& table);

    // The next view to load, its unvisited neighbours queued behind it; none
    // once every view reachable from view 0 has been handed out.
    std::optional<int32_t> Next();

private:
    const ViewTable& m_table;
    std::vector<char> m_visited;
    std::deque<int32_t> m_queue;
};

// Files one view as the control does: a frame of the description's size,
// decoded from `localfile` when the view arrived (`arrived`), black otherwise,
// published whether or not it decoded. View 0 is shown at once (LoadState 2
// and a synchronous repaint).
void FileControlView(MovieViewer& viewer, int32_t view, const std::string& localfile, bool arrived);

// The queue is empty: LoadState 1 and the default beep.
void FinishControlLoading(MovieViewer& viewer);

}  // namespace zel
