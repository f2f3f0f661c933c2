// The viewer core's window interface on a real HWND.
#pragma once

#include <windows.h>

#include "viewer_window.h"

namespace zel::win32 {

class HwndWindow : public ViewerWindow {
public:
    explicit HwndWindow(HWND window = nullptr) : m_window(window) {}

    void SetHandle(HWND window) { m_window = window; }
    HWND Handle() const { return m_window; }

    void Invalidate() override;
    void InvalidateAndUpdate() override;
    void ShowCursor(ViewerCursor cursor) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Beep() override;
    void WaitServing(const std::function<bool()>& finished) override;

private:
    HWND m_window;
};

// The system cursor that stands for each of the viewer's cursors.
LPCSTR SystemCursorFor(ViewerCursor cursor);

}  // namespace zel::win32
