// The window side of the plug-in: the browser's window, subclassed. Paint and
// the left button's messages are the viewer's and are consumed; everything
// else, close requests included, goes on to the browser's own procedure.
#include <windowsx.h>

#include "blend.h"
#include "blit.h"
#include "scoped_handle.h"
#include "viewer_app.h"

namespace zel::plugin {

LRESULT ViewerApp::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != m_window.Handle()) return PassOn(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_MOUSEMOVE:
        m_viewer.OnDragMove(unsigned(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        m_viewer.OnDragStart(unsigned(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONUP:
        return 0;
    case WM_NCDESTROY: {
        // The browser destroyed its window while it was still ours: give it its
        // procedure back and forget it. The viewer stays; it belongs to the app.
        const WNDPROC saved = m_savedProcedure;
        ReleaseWindow();
        m_window.SetHandle(nullptr);
        return saved ? CallWindowProcA(saved, window, message, wParam, lParam)
                     : DefWindowProcA(window, message, wParam, lParam);
    }
    default:
        return PassOn(window, message, wParam, lParam);
    }
}

LRESULT ViewerApp::PassOn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_savedProcedure && window == m_window.Handle()) {
        return CallWindowProcA(m_savedProcedure, window, message, wParam, lParam);
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void ViewerApp::OnPaint() {
    // The update region is validated whatever the paint draws, so a paint with
    // nothing to draw is not asked for again.
    const win32::PaintDc dc(m_window.Handle());
    if (m_viewer.GetLoadState() != kNothingToShow) PaintCurrentView(dc.Get());
}

void ViewerApp::PaintCurrentView(HDC dc) {
    const ViewTable& table = m_viewer.Table();
    const FrameTable& frames = m_viewer.Frames();
    const int32_t depth = m_viewer.GetPixelDepth();
    if (CrossfadeBeforePaint(m_viewer.GetLoadState(), table.flag)) {
        win32::PaintCrossfade(dc, frames.GetAs<PackedFrame>(m_viewer.GetCurrentView()),
                              frames.GetAs<PackedFrame>(m_viewer.GetPreviousView()), table.width, table.height, depth);
    }
    win32::BlitPackedFrame(dc, frames.GetAs<PackedFrame>(m_viewer.GetCurrentView()), table.width, table.height, depth);
}

}  // namespace zel::plugin
