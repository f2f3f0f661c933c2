#include "rgba.h"

namespace zel::web {

void ToRgba(const RgbFrame& frame, std::vector<uint8_t>& rgba) {
    rgba.resize(frame.Size() / 3 * 4);
    uint8_t* out = rgba.data();
    for (int32_t y = 0; y < frame.Height(); ++y) {
        const uint8_t* in = frame.Row(y);
        for (int32_t x = 0; x < frame.Width(); ++x, in += 3, out += 4) {
            out[0] = in[0];
            out[1] = in[1];
            out[2] = in[2];
            out[3] = 255;
        }
    }
}

void ToRgba(const PackedFrame& frame, std::vector<uint8_t>& rgba) {
    rgba.resize(size_t(frame.Width()) * size_t(frame.Height()) * 4);
    if (frame.Depth() != kDepth24) return;
    uint8_t* out = rgba.data();
    for (int32_t y = 0; y < frame.Height(); ++y) {
        const uint8_t* in = frame.Row(y);
        for (int32_t x = 0; x < frame.Width(); ++x, in += 3, out += 4) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
            out[3] = 255;
        }
    }
}

}  // namespace zel::web
