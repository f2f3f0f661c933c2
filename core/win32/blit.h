// Drawing packed frames at the top left corner of a device context, unscaled,
// and the plug-in's crossfade.
//
// A bitmap from CreateBitmap shows its bits only on a display of its own depth
// (a 24-bit bitmap draws black on a 32-bit display), so the packed rows reach
// the screen through a DIB section that describes their layout: BI_BITFIELDS
// 5-6-5, BI_RGB 5-5-5 or 24-bit B, G, R. GDI converts to whatever the display is.
#pragma once

#include <windows.h>

#include "frames.h"

namespace zel::win32 {

// Draws the frame's width x height at (0, 0) of `dc` (clipped by it). Nothing
// is drawn without a frame or for a depth other than 15, 16 or 24.
void BlitPackedFrame(HDC dc, const PackedFrame* frame, int32_t width, int32_t height, int32_t depth);

// Draws the 50% mix of the current and previous views' frames; nothing when
// either is missing.
void PaintCrossfade(HDC dc, const PackedFrame* current, const PackedFrame* previous, int32_t width, int32_t height,
                    int32_t depth);

}  // namespace zel::win32
