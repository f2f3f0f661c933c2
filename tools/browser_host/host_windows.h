// The host's three windows: the page's top-level frame, the plug-in window
// inside it (a class whose own procedure reports every message it sees, so the
// host knows what a subclassing plug-in passed on), and a hidden message-only
// window whose posted messages drive stream delivery from the message loop.
#pragma once

#include <windows.h>

namespace zel::host {

class HostWindowEvents {
public:
    virtual ~HostWindowEvents() = default;
    virtual void OnBrowserProcMessage(UINT message) = 0;
    virtual void OnFrameClose() = 0;
    virtual void OnDeliverPosted() = 0;
};

inline constexpr UINT kDeliverMessage = WM_APP + 1;

// A visible, fixed-size top-level window with a client area of width x height.
HWND CreateFrameWindow(HostWindowEvents* events, int width, int height, const char* title);
// A visible child filling width x height of `parent`'s client area.
HWND CreatePluginWindow(HostWindowEvents* events, HWND parent, int width, int height);
HWND CreateDeliveryWindow(HostWindowEvents* events);

}  // namespace zel::host
