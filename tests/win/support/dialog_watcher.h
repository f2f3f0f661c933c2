// Answers a modal dialog (a message box) that the test's own thread is about
// to show: a second thread waits for a top-level dialog with the caption,
// reads its text and icon, and presses its OK button; with a count, it answers
// that many such dialogs one after the other.
#pragma once

#include <windows.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace zel::test {

class DialogWatcher {
public:
    explicit DialogWatcher(std::string caption, DWORD timeoutMs = 10000, int count = 1);
    ~DialogWatcher();
    DialogWatcher(const DialogWatcher&) = delete;
    DialogWatcher& operator=(const DialogWatcher&) = delete;

    // Waits for the watcher to finish; true once a dialog was seen and closed.
    bool Wait();
    // The first dialog's text; Texts() has every dialog's, in order.
    const std::string& Text() const { return m_text; }
    const std::vector<std::string>& Texts() const { return m_texts; }
    HICON Icon() const { return m_icon; }
    int Seen() const { return m_seen; }

private:
    void Run(DWORD timeoutMs, int count);

    std::string m_caption;
    std::string m_text;
    std::vector<std::string> m_texts;
    HICON m_icon = nullptr;
    int m_seen = 0;
    std::thread m_thread;
};

}  // namespace zel::test
