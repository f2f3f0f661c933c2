#include "canvas_window.h"

namespace zel::web {

void CanvasWindow::ShowMessage(const std::string& text, const std::string& caption, MessageIcon) {
    m_messages.push_back(caption + ": " + text);
}

bool CanvasWindow::TakePaintDue() {
    const bool due = m_paintDue;
    m_paintDue = false;
    return due;
}

std::string CanvasWindow::TakeMessage() {
    if (m_messages.empty()) return "";
    std::string message = std::move(m_messages.front());
    m_messages.erase(m_messages.begin());
    return message;
}

}  // namespace zel::web
