// Gives up a synchronous download that is cancelled or makes no progress.
//
// URLDownloadToFileA waits in a loop of its own that sees neither the loader's
// cancel flag nor the clock: a transfer whose server stalls holds the thread,
// and a viewer that waits for it, for good. A watch made on the downloading
// thread looks at both from a thread of its own and, when the download must
// end, has the downloading thread abort it: it sends a message to a window of
// that thread, which urlmon's loop delivers, and the window's procedure calls
// IBinding::Abort there, on the binding's own thread, as COM requires.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "download_status.h"

namespace zel::control {

class DownloadWatch {
public:
    // On the thread that is about to download with `status`.
    DownloadWatch(DownloadStatusCallback& status, const std::atomic<bool>* cancel,
                  std::chrono::milliseconds stallLimit);
    ~DownloadWatch();
    DownloadWatch(const DownloadWatch&) = delete;
    DownloadWatch& operator=(const DownloadWatch&) = delete;

private:
    static LRESULT CALLBACK AbortProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The thread's entry, and what it does.
    void Watch();
    void Look();

    DownloadStatusCallback& m_status;
    const std::atomic<bool>* m_cancel;
    const std::chrono::milliseconds m_stallLimit;
    HWND m_window = nullptr;
    WNDPROC m_staticProc = nullptr;
    std::mutex m_lock;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace zel::control
