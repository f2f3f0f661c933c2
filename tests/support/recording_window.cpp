#include "recording_window.h"

#include <algorithm>

namespace zel::test {

void RecordingWindow::Invalidate() { calls.push_back("invalidate"); }

void RecordingWindow::InvalidateAndUpdate() {
    calls.push_back("invalidate+update");
    ++paints;
    if (onPaint) onPaint();
}

void RecordingWindow::ShowCursor(ViewerCursor cursor) {
    static const char* const kNames[] = {"wait", "arrow", "drag-loaded", "drag-loading"};
    calls.push_back(std::string("cursor ") + kNames[static_cast<int>(cursor)]);
}

void RecordingWindow::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    calls.push_back("message");
    messages.push_back(caption + "|" + text + "|" +
                       (icon == MessageIcon::Exclamation ? "exclamation" : "information"));
}

size_t RecordingWindow::Count(const std::string& call) const {
    return size_t(std::count(calls.begin(), calls.end(), call));
}

void RecordingWindow::Clear() {
    calls.clear();
    messages.clear();
    paints = 0;
}

}  // namespace zel::test
