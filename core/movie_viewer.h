// The MovieViewer: one movie as a shell shows it. It holds the ViewTable, one
// frame slot per view, the view on screen, the LoadState and the drag anchor,
// and turns left-button drags into steps between neighbouring views. Both
// shells use this one class; the Dialect selects where they differ (reader,
// repaint per step, drag cursors, trace file). Drag handling is in drag.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "description.h"
#include "frame_table.h"
#include "load_state.h"
#include "trace.h"
#include "view_loader.h"
#include "view_table.h"
#include "viewer_window.h"

namespace zel {

struct DragAnchor {
    int x = 0;
    int y = 0;
};

// Which kind of step last changed the control's view.
enum DirectionCode : int32_t {
    kNoDirection = 0,
    kDirectionRight = 1,
    kDirectionLeft = 2,
    kDirectionDown = 3,
    kDirectionUp = 4,
};

class MovieViewer {
public:
    // The viewer owns its loader and stops it before any table it uses goes away.
    MovieViewer(Dialect dialect, ViewerWindow& window, std::unique_ptr<ViewLoader> loader = nullptr);
    ~MovieViewer();
    MovieViewer(const MovieViewer&) = delete;
    MovieViewer& operator=(const MovieViewer&) = delete;

    // Replaces the movie with the description at `path` and starts its loading.
    // A description that cannot be read or is refused leaves the viewer empty
    // (LoadState 0); the control says why in a message box, the plug-in says
    // nothing. Either way the outcome is returned and, for a refusal,
    // RefusalProblem() says where and why.
    ReadStatus ReadDescription(const std::string& path);
    const DescriptionProblem& RefusalProblem() const { return m_refusal; }

    void OnDragStart(unsigned flags, int x, int y);
    void OnDragMove(unsigned flags, int x, int y);
    void ShowMousePosition(unsigned flags, int x, int y);
    // One step to the neighbour in `slot` (1 down, 2 up, 3 right, 4 left), as a
    // drag of one twelfth in that direction takes it: the web shell's arrow keys.
    void OnKeyStep(int slot);

    Dialect GetDialect() const { return m_dialect; }
    ViewerWindow& Window() { return m_window; }
    const ViewTable& Table() const { return m_table; }
    FrameTable& Frames() { return m_frames; }
    const FrameTable& Frames() const { return m_frames; }
    TraceFile& Trace() { return m_trace; }

    int32_t GetLoadState() const { return m_loadState.load(std::memory_order_acquire); }
    void SetLoadState(int32_t state) { m_loadState.store(state, std::memory_order_release); }

    // The screen's format (15, 16 or 24), or 0 until detected or when detection failed.
    int32_t GetPixelDepth() const { return m_pixelDepth; }
    void SetPixelDepth(int32_t depth) { m_pixelDepth = depth; }

    int32_t GetCurrentView() const { return m_currentView; }
    // With a description loaded, a view outside it is refused (returns false).
    bool SetCurrentView(int32_t view);
    // The plug-in's saved view, restored before its description arrives: taken
    // as it stands, since the tables still loaded may be another movie's. The
    // description that arrives judges it (a view outside it starts at 0), and
    // until then every lookup of the current view is bounds-checked.
    void RestoreSavedView(int32_t view) { m_currentView = view; }
    int32_t GetPreviousView() const { return m_previousView; }
    DirectionCode GetDirectionCode() const { return m_directionCode; }
    std::optional<DragAnchor> GetDragAnchor() const { return m_anchor; }

private:
    void ReleaseDescription();
    void ReportRefusal(const std::string& path, const DescriptionRead& read);
    void StepToNeighbour(int slot, DirectionCode code);
    void ShowDragCursor();

    const Dialect m_dialect;
    ViewerWindow& m_window;
    std::unique_ptr<ViewLoader> m_loader;
    TraceFile m_trace;

    ViewTable m_table;
    DescriptionProblem m_refusal;
    FrameTable m_frames;
    std::atomic<int32_t> m_loadState{kNothingToShow};
    int32_t m_pixelDepth = 0;
    int32_t m_currentView = 0;
    int32_t m_previousView = 0;
    DirectionCode m_directionCode = kNoDirection;
    std::optional<DragAnchor> m_anchor;
};

}  // namespace zel
