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
    // A window destroyed while an earlier box was up says nothing more.
    if (m_window && !IsWindow(m_window)) return;
    const UINT style = MB_OK | (icon == MessageIcon::Exclamation ? MB_ICONEXCLAMATION : MB_ICONINFORMATION);
    MessageBoxA(m_window, text.c_str(), caption.c_str(), style);
}

void HwndWindow::Beep() { MessageBeep(0); }

void HwndWindow::WaitServing(const std::function<bool()>& finished) {
    // A loader's UpdateWindow is a message sent to this thread: it is delivered
    // while this thread looks at its queue, so wait in short steps and peek.
    while (!finished()) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_SENDMESSAGE);
        MSG message;
        PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

}  // namespace zel::win32
