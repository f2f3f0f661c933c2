#include "view_decode.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "jpeg_decode.h"
#include "movie_viewer.h"
#include "pack.h"
#include "pixel_loops.h"

namespace zel {

namespace {

ZEL_PIXEL_LOOP void SplitRow(const uint8_t* rgb, int32_t count, uint8_t* red, uint8_t* green, uint8_t* blue) {
    for (int32_t x = 0; x < count; ++x) {
        red[x] = rgb[3 * x];
        green[x] = rgb[3 * x + 1];
        blue[x] = rgb[3 * x + 2];
    }
}

// Rows that the frame cannot hold, or that differ in width from it, are decoded
// into scratch rows; the overlap is copied.
class RgbFrameSink : public JpegRowSink {
public:
    explicit RgbFrameSink(RgbFrame& frame) : m_frame(frame) {}

    bool Begin(int32_t width, int32_t height) override {
        m_width = width;
        m_height = height;
        m_direct = width == m_frame.Width();
        if (m_direct && height <= m_frame.Height()) return true;
        m_scratch.reset(new (std::nothrow) uint8_t[size_t(width) * 3 * kDecodeBatchRows]);
        return m_scratch != nullptr;
    }

    uint8_t* RowTarget(int32_t y) override {
        if (m_direct && y < m_frame.Height()) return m_frame.Row(y);
        return m_scratch.get() + size_t(y % kDecodeBatchRows) * size_t(m_width) * 3;
    }

    void RowDone(int32_t y) override {
        if (m_direct || y >= m_frame.Height()) return;
        const int32_t overlap = std::min(m_width, m_frame.Width());
        std::memcpy(m_frame.Row(y), RowTarget(y), size_t(overlap) * 3);
    }

    int32_t RowsShown(int32_t height) const override { return std::min(height, m_frame.Height()); }

    // Blackens what the picture did not cover: columns right of a narrower
    // picture and rows below a shorter one.
    void BlackenUncovered() {
        const int32_t columns = std::min(m_width, m_frame.Width());
        for (int32_t y = 0; y < m_frame.Height(); ++y) {
            const int32_t from = y < m_height ? columns : 0;
            std::memset(m_frame.Row(y) + size_t(from) * 3, 0, size_t(m_frame.Width() - from) * 3);
        }
    }

private:
    RgbFrame& m_frame;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_direct = false;
    std::unique_ptr<uint8_t[]> m_scratch;
};

// Splits interleaved rows into the blue, green and red planes. Only the part
// the view shows (`shownWidth` x `shownHeight` from the top left corner) is
// kept, so the planes never grow for what a header claims beyond it.
class PlaneSink : public JpegRowSink {
public:
    PlaneSink(PlaneBuffer& planes, int32_t shownWidth, int32_t shownHeight)
        : m_planes(planes), m_shownWidth(std::max(shownWidth, 0)), m_shownHeight(std::max(shownHeight, 0)) {}

    bool Begin(int32_t width, int32_t height) override {
        m_width = width;
        m_keptWidth = std::min(width, m_shownWidth);
        m_planes.Ensure(m_keptWidth, RowsShown(height));
        m_planes.SetImageSize(m_keptWidth, RowsShown(height));
        m_scratch.reset(new (std::nothrow) uint8_t[size_t(width) * 3 * kDecodeBatchRows]);
        return m_scratch != nullptr;
    }

    uint8_t* RowTarget(int32_t y) override {
        return m_scratch.get() + size_t(y % kDecodeBatchRows) * size_t(m_width) * 3;
    }

    void RowDone(int32_t y) override {
        const size_t offset = size_t(y) * size_t(m_planes.Stride());
        SplitRow(RowTarget(y), m_keptWidth, m_planes.Red() + offset, m_planes.Green() + offset,
                 m_planes.Blue() + offset);
    }

    int32_t RowsShown(int32_t height) const override { return std::min(height, m_shownHeight); }

private:
    PlaneBuffer& m_planes;
    int32_t m_shownWidth;
    int32_t m_shownHeight;
    int32_t m_width = 0;
    int32_t m_keptWidth = 0;
    std::unique_ptr<uint8_t[]> m_scratch;
};

}  // namespace

int DecodeIntoRgbFrame(const std::string& path, RgbFrame& frame) {
    RgbFrameSink sink(frame);
    if (DecodeJpegFile(path, sink) == 1) {
        sink.BlackenUncovered();
        return 1;
    }
    // Rows delivered before a fatal error would show half a picture.
    for (int32_t y = 0; y < frame.Height(); ++y) std::memset(frame.Row(y), 0, size_t(frame.Width()) * 3);
    return 0;
}

int DecodeAndPack(std::unique_ptr<DecodeRequest> request, PlaneBuffer& planes) {
    if (!request) return 0;
    std::unique_ptr<PackedFrame> packed;
    PlaneSink sink(planes, request->width, request->height);
    if (DecodeJpegFile(request->path, sink) == 1) {
        packed = PackFrame(planes, request->width, request->height, request->depth);
    }
    if (request->resultSlot) *request->resultSlot = std::move(packed);
    return 0;
}

void DecodeViewFile(MovieViewer& viewer, PlaneBuffer& planes, const std::string& name,
                    std::unique_ptr<PackedFrame>& lastDecoded) {
    auto request = std::make_unique<DecodeRequest>();
    request->height = viewer.Table().height;
    request->width = viewer.Table().width;
    request->depth = viewer.GetPixelDepth();
    request->resultSlot = &lastDecoded;
    request->path = name;
    DecodeAndPack(std::move(request), planes);
    viewer.Trace().Append("JPEG filename = %s\n", name.c_str());
}

}  // namespace zel
