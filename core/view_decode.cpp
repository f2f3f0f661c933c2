#include "view_decode.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "jpeg_decode.h"
#include "movie_viewer.h"
#include "pack.h"
#include "pixel_loops.h"
#include "sizes.h"

namespace zel {

namespace {

// Rows that differ in width from the frame are decoded into scratch rows and
// the overlap is copied; the decoder never delivers rows below the frame.
class RgbFrameSink : public JpegRowSink {
public:
    explicit RgbFrameSink(RgbFrame& frame) : m_frame(frame) {}

    bool Begin(int32_t width, int32_t height) override {
        m_width = width;
        m_height = height;
        m_direct = width == m_frame.Width();
        if (m_direct) return true;
        const std::optional<uint64_t> bytes = CheckedBytes({uint64_t(width), 3, uint64_t(kDecodeBatchRows)});
        if (bytes) m_scratch.reset(new (std::nothrow) uint8_t[size_t(*bytes)]);
        return m_scratch != nullptr;
    }

    uint8_t* RowTarget(int32_t y) override {
        if (m_direct) return m_frame.Row(y);
        return m_scratch.get() + size_t(y % kDecodeBatchRows) * size_t(m_width) * 3;
    }

    void RowDone(int32_t y) override {
        if (m_direct) return;
        const int32_t overlap = std::min(m_width, m_frame.Width());
        std::memcpy(m_frame.Row(y), RowTarget(y), size_t(overlap) * 3);
    }

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

// Splits interleaved rows into the blue, green and red planes, which are made
// large enough for the frame; columns beyond the planes' stride (the margin
// of a cropped wider picture) are dropped.
class PlaneSink : public JpegRowSink {
public:
    PlaneSink(PlaneBuffer& planes, DecodeBounds frame) : m_planes(planes), m_frame(frame) {}

    bool Begin(int32_t width, int32_t height) override {
        if (!m_planes.Ensure(m_frame.width, m_frame.height)) return false;
        m_width = width;
        m_columns = std::min(width, m_planes.Stride());
        m_planes.SetImageSize(m_columns, height);
        const std::optional<uint64_t> bytes = CheckedBytes({uint64_t(width), 3, uint64_t(kDecodeBatchRows)});
        if (bytes) m_scratch.reset(new (std::nothrow) uint8_t[size_t(*bytes)]);
        return m_scratch != nullptr;
    }

    uint8_t* RowTarget(int32_t y) override {
        return m_scratch.get() + size_t(y % kDecodeBatchRows) * size_t(m_width) * 3;
    }

    void RowDone(int32_t y) override {
        const size_t offset = size_t(y) * size_t(m_planes.Stride());
        m_split(RowTarget(y), size_t(m_columns), m_planes.Red() + offset, m_planes.Green() + offset,
                m_planes.Blue() + offset);
    }

private:
    PlaneBuffer& m_planes;
    DecodeBounds m_frame;
    int32_t m_width = 0;
    int32_t m_columns = 0;
    std::unique_ptr<uint8_t[]> m_scratch;
    decltype(PixelLoops::splitRgb) m_split = ChosenPixelLoops().splitRgb;
};

}  // namespace

int DecodeIntoRgbFrame(const std::string& path, RgbFrame& frame) {
    if (!frame.Valid()) return 0;
    RgbFrameSink sink(frame);
    if (DecodeJpegFile(path, sink, {frame.Width(), frame.Height()}) == 1) {
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
    PlaneSink sink(planes, {request->width, request->height});
    if (DecodeJpegFile(request->path, sink, {request->width, request->height}) == 1) {
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
