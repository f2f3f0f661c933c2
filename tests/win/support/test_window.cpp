#include "test_window.h"

#include <chrono>
#include <thread>

#include <windowsx.h>

namespace zel::test {

namespace {

const char kClassName[] = "ZelTestWindow";

void RegisterOnce(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass) != 0;
    }();
    (void)registered;
}

}  // namespace

TestWindow::TestWindow(int width, int height) {
    RegisterOnce(&TestWindow::Procedure);
    RECT frame = {0, 0, width, height};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    m_window.Reset(CreateWindowA(kClassName, "Zel test", WS_OVERLAPPEDWINDOW, 0, 0, frame.right - frame.left,
                                 frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), this));
    ShowWindow(m_window.Get(), SW_SHOWNOACTIVATE);
    UpdateWindow(m_window.Get());
    Pump();
    m_paints = 0;
}

bool TestWindow::HasPendingPaint() const { return GetUpdateRect(m_window.Get(), nullptr, FALSE) != FALSE; }

bool TestWindow::PumpUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done() && std::chrono::steady_clock::now() < end) {
        Pump();
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    Pump();
    return done();
}

void TestWindow::Pump() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        ++self->m_paints;
        if (self->onPaint) self->onPaint(dc);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_MOUSEMOVE:
    case WM_RBUTTONDOWN:
        if (self->onMouse) self->onMouse(message, wParam, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    default:
        return DefWindowProcA(window, message, wParam, lParam);
    }
}

}  // namespace zel::test
