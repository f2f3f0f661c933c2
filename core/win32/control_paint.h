// The control's drawing: the current view's RgbFrame packed into the screen's
// format and drawn at the top left corner of the control's window. The view is
// packed again at every paint, so what is drawn is always the current frame,
// but into memory kept from one paint to the next: a block of a view's size
// is too large for Windows' heap to keep once freed, so a new one would come
// fresh from the system, and faulting in its pages at every paint cost several
// times the packing itself.
#pragma once

#include <windows.h>

#include <memory>

#include "frames.h"
#include "movie_viewer.h"

namespace zel::win32 {

class ControlPainter {
public:
    // Draws into a device context of `window` itself. Nothing is drawn while
    // LoadState is 0 or when the current view has no frame yet.
    void Repaint(MovieViewer& viewer, HWND window);

    // Gives the kept memory back, when the viewer goes.
    void Release() { m_packed.reset(); }

private:
    std::unique_ptr<PackedFrame> m_packed;
};

}  // namespace zel::win32
