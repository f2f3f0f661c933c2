#include "display_format.h"

#include "pixel_depth.h"

namespace zel::win32 {

void DetectPixelDepth(MovieViewer& viewer, DirectDrawObject* keep) {
    DirectDrawObject local;
    DirectDrawObject& object = keep ? *keep : local;
    viewer.SetPixelDepth(0);
    const char* failure = nullptr;
    if (FAILED(DirectDrawCreate(nullptr, object.Receive(), nullptr)) || !object.Get()) {
        failure = kDirectDrawCreateFailed;
    } else {
        // The record's size is the platform's own (108 bytes on 32-bit Windows,
        // 120 on 64-bit): a fixed 108 would make the 64-bit query fail.
        DDSURFACEDESC mode = {};
        mode.dwSize = sizeof mode;
        if (FAILED(object.Get()->GetDisplayMode(&mode))) {
            failure = kGetDisplayModeFailed;
        } else {
            const int32_t depth = PixelDepthFromGreenMask(mode.ddpfPixelFormat.dwGBitMask);
            if (depth == 0) failure = UnsupportedDisplayText(viewer.GetDialect());
            viewer.SetPixelDepth(depth);
        }
    }
    if (failure) viewer.Window().ShowMessage(failure, kErrorCaption, MessageIcon::Exclamation);
}

}  // namespace zel::win32
