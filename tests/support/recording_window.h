// A ViewerWindow that records every call in order, as text, so a test can
// compare what the viewer asked of its window with what the shell must do.
// Calls may come from a loader thread: the record is guarded by a lock, and
// Snapshot() copies it.
#pragma once

#include <functional>
#include <mutex>
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
    void Beep() override;
    void WaitServing(const std::function<bool()>& finished) override;

    // Runs inside InvalidateAndUpdate, as a synchronous paint would.
    std::function<void()> onPaint;

    std::vector<std::string> calls;
    std::vector<std::string> messages;  // "caption|text|icon"
    int paints = 0;

    size_t Count(const std::string& call) const;
    std::vector<std::string> Snapshot() const;
    void Clear();

    mutable std::mutex lock;
};

}  // namespace zel::test
