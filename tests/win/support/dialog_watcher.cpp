#include "dialog_watcher.h"

namespace zel::test {

namespace {

// The ids of a message box's text and icon controls.
constexpr int kMessageTextId = 0xFFFF;
constexpr int kMessageIconId = 0x0440;

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
        HWND dialog = FindWindowA("#32770", m_caption.c_str());
        // A dialog just answered may linger a moment: wait for the next one.
        if (dialog && dialog != answered && IsWindowVisible(dialog)) {
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
