// Drag navigation: every movement of a twelfth of the picture's width or height
// with the left button held steps once to the neighbour in that direction.
#include <algorithm>
#include <cstdio>

#include "movie_viewer.h"

namespace zel {

void MovieViewer::OnDragStart(unsigned /*flags*/, int x, int y) {
    if (GetLoadState() == kNothingToShow) return;
    ShowDragCursor();
    m_anchor = DragAnchor{x, y};
}

void MovieViewer::OnDragMove(unsigned flags, int x, int y) {
    if (GetLoadState() == kNothingToShow || (flags & kLeftButtonFlag) == 0) return;
    ShowDragCursor();
    // A button that went down before any view was shown set no anchor: the drag
    // starts here rather than jumping by the distance from some stale point.
    if (!m_anchor) {
        m_anchor = DragAnchor{x, y};
        return;
    }
    // Accepted descriptions have sides of 12 or more; the floor of 1 keeps the
    // passes finite whatever the table holds.
    const int stepX = std::max(1, m_table.width / 12);
    const int stepY = std::max(1, m_table.height / 12);
    int dx = x - m_anchor->x;
    int dy = y - m_anchor->y;
    do {
        if (dx >= stepX) {
            m_anchor->x += stepX;
            dx -= stepX;
            StepToNeighbour(kSlotRight, kDirectionRight);
        }
        if (dx <= -stepX) {
            m_anchor->x -= stepX;
            dx += stepX;
            StepToNeighbour(kSlotLeft, kDirectionLeft);
        }
        if (dy >= stepY) {
            m_anchor->y += stepY;
            dy -= stepY;
            StepToNeighbour(kSlotDown, kDirectionDown);
        }
        if (dy <= -stepY) {
            m_anchor->y -= stepY;
            dy += stepY;
            StepToNeighbour(kSlotUp, kDirectionUp);
        }
    } while (!(-stepX < dx && dx < stepX && -stepY < dy && dy < stepY));
}

void MovieViewer::OnKeyStep(int slot) {
    if (GetLoadState() == kNothingToShow) return;
    switch (slot) {
    case kSlotDown: StepToNeighbour(slot, kDirectionDown); break;
    case kSlotUp: StepToNeighbour(slot, kDirectionUp); break;
    case kSlotRight: StepToNeighbour(slot, kDirectionRight); break;
    case kSlotLeft: StepToNeighbour(slot, kDirectionLeft); break;
    default: break;
    }
}

void MovieViewer::StepToNeighbour(int slot, DirectionCode code) {
    const int32_t next = m_table.Neighbour(m_currentView, slot);
    if (next == kNoView || !m_frames.Has(next)) return;
    m_previousView = m_currentView;
    m_currentView = next;
    if (m_dialect == Dialect::Plugin) {
        // Each step is painted before the next one is taken (with the crossfade).
        m_window.InvalidateAndUpdate();
    } else {
        m_directionCode = code;
        m_window.Invalidate();
    }
}

void MovieViewer::ShowMousePosition(unsigned /*flags*/, int x, int y) {
    if (GetLoadState() == kNothingToShow) return;
    char text[48];
    std::snprintf(text, sizeof text, "( %d , %d )", x, y);
    m_window.ShowMessage(text, "Mouse Position", MessageIcon::Information);
}

void MovieViewer::ShowDragCursor() {
    if (m_dialect != Dialect::Control) return;
    m_window.ShowCursor(GetLoadState() == kLoadFinished ? ViewerCursor::DragLoaded : ViewerCursor::DragLoading);
}

}  // namespace zel
