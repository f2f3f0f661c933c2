#include "hwnd_window.h"

#include "load_state.h"

namespace zel::win32 {

static_assert(kLeftButtonFlag == MK_LBUTTON, "the core's left-button flag must be MK_LBUTTON");

void HwndWindow::Invalidate() {
    if (m_window) InvalidateRect(m_window, nullptr, FALSE);
}

void HwndWindow::InvalidateAndUpdate() {
    if (!m_window) return;
    InvalidateRect(m_window, nullptr, FALSE);
    UpdateWindow(m_window);
}

LPCSTR SystemCursorFor(ViewerCursor cursor) {
    switch (cursor) {
    case ViewerCursor::Wait:
        return IDC_WAIT;
    case ViewerCursor::Arrow:
        return IDC_ARROW;
    case ViewerCursor::DragLoaded:
        // Four arrows: the object turns whichever way it is dragged.
        return IDC_SIZEALL;
    case ViewerCursor::DragLoading:
        // The arrow with the hourglass: dragging works, more views are coming.
        return IDC_APPSTARTING;
    }
    return IDC_ARROW;
}

void HwndWindow::ShowCursor(ViewerCursor cursor) { SetCursor(LoadCursorA(nullptr, SystemCursorFor(cursor))); }

void HwndWindow::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    const UINT style = MB_OK | (icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
    MessageBoxA(m_window, text.c_str(), caption.c_str(), style);
}

}  // namespace zel::win32
