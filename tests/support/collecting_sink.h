// A JPEG row sink for the decoder's tests: keeps every delivered row.
#pragma once

#include <cstdint>
#include <vector>

#include "jpeg_decode.h"

namespace zel::test {

// Bounds as large as a JPEG picture can be: the whole picture is decoded.
inline constexpr DecodeBounds kWholePicture{65500, 65500};

class CollectingSink : public JpegRowSink {
public:
    bool Begin(int32_t w, int32_t h) override {
        width = w;
        height = h;
        pixels.assign(size_t(w) * size_t(h) * 3, 0);
        return !refuse;
    }
    uint8_t* RowTarget(int32_t y) override { return pixels.data() + size_t(y) * size_t(width) * 3; }
    void RowDone(int32_t) override { ++rowsDone; }

    // Whether every pixel has three equal channels.
    bool Grey() const {
        for (size_t i = 0; i + 2 < pixels.size(); i += 3) {
            if (pixels[i] != pixels[i + 1] || pixels[i] != pixels[i + 2]) return false;
        }
        return true;
    }

    bool refuse = false;
    int32_t width = 0, height = 0, rowsDone = 0;
    std::vector<uint8_t> pixels;
};

}  // namespace zel::test
