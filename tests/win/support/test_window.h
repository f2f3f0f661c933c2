// A real top-level window for tests: it hands its mouse messages to a
// MovieViewer, counts its paints, and lets a test read back its pixels.
#pragma once

#include <windows.h>

#include <functional>

#include "hwnd_window.h"
#include "scoped_handle.h"

namespace zel::test {

class TestWindow {
public:
    TestWindow(int width, int height);
    ~TestWindow() = default;
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND Handle() const { return m_window.Get(); }
    int Paints() const { return m_paints; }
    bool HasPendingPaint() const;
    // Dispatches every queued message of this thread.
    static void Pump();
    // Pumps until `done` holds or `timeoutMs` has passed; whether it holds.
    static bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 30000);

    std::function<void(UINT message, WPARAM wParam, int x, int y)> onMouse;
    std::function<void(HDC dc)> onPaint;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    win32::ScopedWindow m_window;
    int m_paints = 0;
};

}  // namespace zel::test
