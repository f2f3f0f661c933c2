// The control's drawing: the current view's RgbFrame packed into the
// screen's format for this one paint, drawn at the top left corner of the
// control's window and freed again. The control keeps no packed frames.
#pragma once

#include <windows.h>

#include "movie_viewer.h"

namespace zel::win32 {

// Draws into a device context of `window` itself. Nothing is drawn while
// LoadState is 0 or when the current view has no frame yet.
void Repaint(MovieViewer& viewer, HWND window);

}  // namespace zel::win32
