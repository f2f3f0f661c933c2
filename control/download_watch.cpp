#include "download_watch.h"

#include "no_throw.h"

namespace zel::control {
namespace {

constexpr UINT kAbortMessage = WM_APP + 0x5A;
// How often the watch looks at the flag and the clock, and how often it asks
// again while an abort has not yet ended the download.
constexpr auto kLookEvery = std::chrono::milliseconds(20);
constexpr auto kAskAgainEvery = std::chrono::milliseconds(500);

}  // namespace

DownloadWatch::DownloadWatch(DownloadStatusCallback& status, const std::atomic<bool>* cancel,
                             std::chrono::milliseconds stallLimit)
    : m_status(status), m_cancel(cancel), m_stallLimit(stallLimit) {
    // A message-only window of a system class, with this watch's procedure:
    // no class of our own to register, or to leave behind when the module goes.
    m_window = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (m_window) {
        SetWindowLongPtrA(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        m_staticProc = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&DownloadWatch::AbortProc)));
    }
    // Without a thread of its own, the watch still has the next notification
    // abort a cancelled transfer; only a stall goes unseen.
    NoThrow(false, false, [&] {
        m_thread = std::thread([this] { Watch(); });
        return true;
    });
}

DownloadWatch::~DownloadWatch() {
    {
        std::lock_guard<std::mutex> guard(m_lock);
        m_stop = true;
    }
    m_stopped.notify_all();
    if (m_thread.joinable()) m_thread.join();
    if (m_window) {
        SetWindowLongPtrA(m_window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_staticProc));
        DestroyWindow(m_window);
    }
}

LRESULT CALLBACK DownloadWatch::AbortProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* watch = reinterpret_cast<DownloadWatch*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (message == kAbortMessage) {
        if (watch) watch->m_status.AbortBinding();
        return 0;
    }
    return watch ? CallWindowProcA(watch->m_staticProc, window, message, wParam, lParam)
                 : DefWindowProcA(window, message, wParam, lParam);
}

void DownloadWatch::Watch() {
    NoThrow(false, false, [&] {
        Look();
        return true;
    });
}

void DownloadWatch::Look() {
    std::unique_lock<std::mutex> guard(m_lock);
    auto lastAsked = std::chrono::steady_clock::time_point{};
    while (!m_stopped.wait_for(guard, kLookEvery, [this] { return m_stop; })) {
        const auto now = std::chrono::steady_clock::now();
        const bool stalled = now - m_status.LastProgress() > m_stallLimit;
        if (!stalled && !(m_cancel && m_cancel->load())) continue;
        m_status.RequestAbort();
        if (!m_window || now - lastAsked < kAskAgainEvery) continue;
        lastAsked = now;
        // urlmon's loop waits for posted messages only: the sent one is
        // delivered once the posted one has woken it.
        SendNotifyMessageA(m_window, kAbortMessage, 0, 0);
        PostMessageA(m_window, WM_NULL, 0, 0);
    }
}

}  // namespace zel::control
