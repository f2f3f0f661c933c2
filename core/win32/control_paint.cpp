#include "control_paint.h"

#include "blit.h"
#include "frames.h"
#include "pack.h"
#include "scoped_handle.h"

namespace zel::win32 {

void Repaint(MovieViewer& viewer, HWND window) {
    WindowDc dc(window);
    if (!dc || viewer.GetLoadState() == kNothingToShow) return;
    const auto* frame = viewer.Frames().GetAs<RgbFrame>(viewer.GetCurrentView());
    if (!frame) return;
    const std::unique_ptr<PackedFrame> packed = PackFrame(*frame, viewer.GetPixelDepth());
    BlitPackedFrame(dc.Get(), packed.get(), viewer.Table().width, viewer.Table().height, viewer.GetPixelDepth());
}

}  // namespace zel::win32
