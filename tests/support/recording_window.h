// A ViewerWindow that records every call in order, as text, so a test can
// compare what the viewer asked of its window with what the shell must do.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "viewer_window.h"

namespace zel::test {

class RecordingWindow : public ViewerWindow {
public:
    void Invalidate() override;
    void InvalidateAndUpdate() override;
    void ShowCursor(ViewerCursor cursor) override;
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) override;

    // Runs inside InvalidateAndUpdate, as a synchronous paint would.
    std::function<void()> onPaint;

    std::vector<std::string> calls;
    std::vector<std::string> messages;  // "caption|text|icon"
    int paints = 0;

    size_t Count(const std::string& call) const;
    void Clear();
};

}  // namespace zel::test
