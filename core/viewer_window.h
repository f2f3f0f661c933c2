// The only way the viewer core reaches its window. core/win32 implements it on
// an HWND; tests implement it with a recording fake.
#pragma once

#include <functional>
#include <string>

namespace zel {

enum class ViewerCursor {
    Wait,         // IDC_WAIT while the plug-in reads a description
    Arrow,        // IDC_ARROW
    DragLoaded,   // the control's drag once every view is loaded
    DragLoading,  // the control's drag while views are still loading
};

enum class MessageIcon { Exclamation, Information };

inline constexpr const char* kErrorCaption = "ERROR !!";

class ViewerWindow {
public:
    virtual ~ViewerWindow() = default;
    // Marks the whole client area for repainting, without erasing the background.
    virtual void Invalidate() = 0;
    // The same, then paints at once, before returning.
    virtual void InvalidateAndUpdate() = 0;
    virtual void ShowCursor(ViewerCursor cursor) = 0;
    // A modal message box owned by the window, with one OK button.
    virtual void ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
    // The default beep, when a movie has finished loading.
    virtual void Beep() = 0;
    // Called on the window's thread: returns once `finished` is true, meanwhile
    // serving the synchronous paints that another thread asks of the window,
    // so a loader that repaints can never deadlock a window waiting for it.
    virtual void WaitServing(const std::function<bool()>& finished) = 0;
};

}  // namespace zel
