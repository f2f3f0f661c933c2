#include "control_paint.h"

#include "blit.h"
#include "pack.h"
#include "scoped_handle.h"

namespace zel::win32 {

void ControlPainter::Repaint(MovieViewer& viewer, HWND window) {
    WindowDc dc(window);
    if (!dc || viewer.GetLoadState() == kNothingToShow) return;
    const auto* frame = viewer.Frames().GetAs<RgbFrame>(viewer.GetCurrentView());
    if (!frame) return;
    const int32_t depth = viewer.GetPixelDepth();
    if (!m_packed || m_packed->Depth() != depth || !PackFrameInto(*frame, *m_packed)) {
        m_packed = PackFrame(*frame, depth);
    }
    BlitPackedFrame(dc.Get(), m_packed.get(), viewer.Table().width, viewer.Table().height, depth);
}

}  // namespace zel::win32
