#include "dialog_watcher.h"

namespace zel::test {

namespace {

// The ids of a message box's text and icon controls.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;

// A visible dialog with the caption that this process shows, other than `skip`.
// Test programs run side by side on one desktop: another program's box is
// never answered here.
HWND FindOwnDialog(const std::string& caption, HWND skip) {
    for (HWND dialog = FindWindowExA(nullptr, nullptr, "#32770", caption.c_str()); dialog;
         dialog = FindWindowExA(nullptr, dialog, "#32770", caption.c_str())) {
        DWORD process = 0;
        GetWindowThreadProcessId(dialog, &process);
        if (dialog != skip && process == GetCurrentProcessId() && IsWindowVisible(dialog)) return dialog;
    }
    return nullptr;
}

}  // namespace

DialogWatcher::DialogWatcher(std::string caption, DWORD timeoutMs, int count) : m_caption(std::move(caption)) {
    m_thread = std::thread([this, timeoutMs, count] { Run(timeoutMs, count); });
}

DialogWatcher::~DialogWatcher() {
    if (m_thread.joinable()) m_thread.join();
}

bool DialogWatcher::Wait() {
    if (m_thread.joinable()) m_thread.join();
    return m_seen > 0;
}

void DialogWatcher::Run(DWORD timeoutMs, int count) {
    const DWORD start = GetTickCount();
    HWND answered = nullptr;
    while (GetTickCount() - start < timeoutMs) {
        // A dialog just answered may linger a moment: wait for the next one.
        HWND dialog = FindOwnDialog(m_caption, answered);
        if (dialog) {
            char text[1024] = {};
            GetDlgItemTextA(dialog, kMessageTextId, text, sizeof text);
            if (m_texts.empty()) m_text = text;
            m_texts.push_back(text);
            m_icon = reinterpret_cast<HICON>(SendDlgItemMessageA(dialog, kMessageIconId, STM_GETICON, 0, 0));
            ++m_seen;
            PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            if (m_seen == count) return;
            answered = dialog;
        } else if (answered && !IsWindow(answered)) {
            answered = nullptr;
        }
        Sleep(20);
    }
}

}  // namespace zel::test
