// The viewer's window in a web page: a canvas the page paints. The core's calls
// are recorded here and the page acts on them after each call into the module:
// a paint is due, the cursor to show, messages to show (never as dialogs), the
// beep that ends the control's loading. There are no threads, so nothing ever
// waits for this window.
#pragma once

#include <string>
#include <vector>

#include "viewer_window.h"

namespace zel::web {

class CanvasWindow : public ViewerWindow {
public:
    void Invalidate() override { m_paintDue = true; }
    // The page paints once the call returns: within one call of the page only
    // the last of several synchronous paints could be seen anyway.
    void InvalidateAndUpdate() override { m_paintDue = true; }
    void ShowCursor(ViewerCursor cursor) override { m_cursor = cursor; }
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;
    void Beep() override { ++m_beeps; }
    void WaitServing(const std::function<bool()>&) override {}

    // Whether a paint is due since the last time this was asked.
    bool TakePaintDue();
    ViewerCursor Cursor() const { return m_cursor; }
    int Beeps() const { return m_beeps; }
    // The oldest message not yet taken ("CAPTION: text"), or "" when none.
    std::string TakeMessage();

private:
    bool m_paintDue = false;
    ViewerCursor m_cursor = ViewerCursor::Arrow;
    int m_beeps = 0;
    std::vector<std::string> m_messages;
};

}  // namespace zel::web
