// The plug-in's decode target: three planes, blue, green and red, one after the
// other, with a row stride of 480 samples and room for 640 rows. Sample (x, y)
// of a channel lies stride * y + x bytes into its plane. A description whose
// frame is wider or taller than that grows the buffer (stride = its width);
// what a picture file claims never does, since no more of a picture than the
// frame is decoded. Each decode overwrites the previous picture in place.
#pragma once

#include <cstdint>
#include <memory>

namespace zel {

class PlaneBuffer {
public:
    static constexpr int32_t kStride = 480;
    static constexpr int32_t kRows = 640;

    PlaneBuffer() { Ensure(kStride, kRows); }

    // Makes room for a width x height frame; keeps the layout when it fits.
    // False, with the buffer as it was, when the memory cannot be had.
    bool Ensure(int32_t width, int32_t height);

    int32_t Stride() const { return m_stride; }
    int32_t Rows() const { return m_rows; }
    uint8_t* Blue() { return m_planes.get(); }
    uint8_t* Green() { return m_planes.get() + PlaneSize(); }
    uint8_t* Red() { return m_planes.get() + 2 * PlaneSize(); }
    const uint8_t* Blue() const { return m_planes.get(); }
    const uint8_t* Green() const { return m_planes.get() + PlaneSize(); }
    const uint8_t* Red() const { return m_planes.get() + 2 * PlaneSize(); }

    // The size of the picture the last decode delivered (0 x 0 before any).
    int32_t ImageWidth() const { return m_imageWidth; }
    int32_t ImageHeight() const { return m_imageHeight; }
    void SetImageSize(int32_t width, int32_t height) {
        m_imageWidth = width;
        m_imageHeight = height;
    }

private:
    size_t PlaneSize() const { return size_t(m_stride) * size_t(m_rows); }

    std::unique_ptr<uint8_t[]> m_planes;
    int32_t m_stride = 0;
    int32_t m_rows = 0;
    int32_t m_imageWidth = 0;
    int32_t m_imageHeight = 0;
};

}  // namespace zel
