#include "host_windows.h"

namespace zel::host {
namespace {

constexpr char kFrameClass[] = "ZelHostFrame";
constexpr char kPluginClass[] = "ZelHostPluginWindow";
constexpr char kDeliveryClass[] = "ZelHostDelivery";
constexpr DWORD kFrameStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;

HostWindowEvents* EventsOf(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
    }
    return reinterpret_cast<HostWindowEvents*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

LRESULT CALLBACK FrameProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostWindowEvents* events = EventsOf(window, message, lParam);
    if (message == WM_CLOSE && events) {
        // The host destroys the plug-in first, then this window.
        events->OnFrameClose();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK PluginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (HostWindowEvents* events = EventsOf(window, message, lParam)) events->OnBrowserProcMessage(message);
    return DefWindowProcA(window, message, wParam, lParam);
}

LRESULT CALLBACK DeliveryProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HostWindowEvents* events = EventsOf(window, message, lParam);
    if (message == kDeliverMessage && events) {
        events->OnDeliverPosted();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterOnce(const char* name, WNDPROC procedure, HBRUSH background) {
    WNDCLASSA windowClass = {};
    if (GetClassInfoA(GetModuleHandleA(nullptr), name, &windowClass)) return;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

}  // namespace

HWND CreateFrameWindow(HostWindowEvents* events, int width, int height, const char* title) {
    RegisterOnce(kFrameClass, FrameProc, reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    RECT rect = {0, 0, width, height};
    AdjustWindowRect(&rect, kFrameStyle, FALSE);
    return CreateWindowExA(0, kFrameClass, title, kFrameStyle | WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                           rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr,
                           GetModuleHandleA(nullptr), events);
}

HWND CreatePluginWindow(HostWindowEvents* events, HWND parent, int width, int height) {
    // No background brush: the plug-in paints every pixel, the host none.
    RegisterOnce(kPluginClass, PluginWindowProc, nullptr);
    return CreateWindowExA(0, kPluginClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0, width, height,
                           parent, nullptr, GetModuleHandleA(nullptr), events);
}

HWND CreateDeliveryWindow(HostWindowEvents* events) {
    RegisterOnce(kDeliveryClass, DeliveryProc, nullptr);
    return CreateWindowExA(0, kDeliveryClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, GetModuleHandleA(nullptr),
                           events);
}

}  // namespace zel::host
