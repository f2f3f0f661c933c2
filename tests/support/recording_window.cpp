#include "recording_window.h"

#include <algorithm>
#include <thread>

namespace zel::test {

void RecordingWindow::Invalidate() {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back("invalidate");
}

void RecordingWindow::InvalidateAndUpdate() {
    {
        std::lock_guard<std::mutex> guard(lock);
        calls.push_back("invalidate+update");
        ++paints;
    }
    if (onPaint) onPaint();
}

void RecordingWindow::Beep() {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back("beep");
}

void RecordingWindow::WaitServing(const std::function<bool()>& finished) {
    while (!finished()) std::this_thread::yield();
}

std::vector<std::string> RecordingWindow::Snapshot() const {
    std::lock_guard<std::mutex> guard(lock);
    return calls;
}

void RecordingWindow::ShowCursor(ViewerCursor cursor) {
    std::lock_guard<std::mutex> guard(lock);
    static const char* const kNames[] = {"wait", "arrow", "drag-loaded", "drag-loading"};
    calls.push_back(std::string("cursor ") + kNames[static_cast<int>(cursor)]);
}

void RecordingWindow::ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) {
    std::lock_guard<std::mutex> guard(lock);
    calls.push_back("message");
    messages.push_back(caption + "|" + text + "|" +
                       (icon == MessageIcon::Exclamation ? "exclamation" : "information"));
}

size_t RecordingWindow::Count(const std::string& call) const {
    std::lock_guard<std::mutex> guard(lock);
    return size_t(std::count(calls.begin(), calls.end(), call));
}

void RecordingWindow::Clear() {
    std::lock_guard<std::mutex> guard(lock);
    calls.clear();
    messages.clear();
    paints = 0;
}

}  // namespace zel::test
