#include "view_decode.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <cstring>
#include <new>
#include <vector>

#include "jpeg_decode.h"
#include "movie_viewer.h"
#include "pack.h"
#include "sizes.h"

namespace zel {

namespace {

// Rows the decoder writes and the sink reads back at once, each starting where
// libjpeg-turbo keeps it in the cache (SkewedRowStart).
class ScratchRows {
public:
    bool Allocate(int32_t width) {
        const std::optional<uint64_t> rowBytes = CheckedBytes({uint64_t(width), 3});
        if (!rowBytes) return false;
        m_stride = (size_t(*rowBytes) + 15) & ~size_t{15};
        const std::optional<uint64_t> bytes = CheckedBytes({uint64_t(m_stride), uint64_t(kDecodeBatchRows)});
        if (!bytes || *bytes > std::numeric_limits<size_t>::max() - kRowSkewSlack) return false;
        m_memory.reset(new (std::nothrow) uint8_t[size_t(*bytes) + kRowSkewSlack]);
        if (!m_memory) return false;
        m_first = SkewedRowStart(m_memory.get());
        return true;
    }

    uint8_t* Row(int32_t y) { return m_first + size_t(y % kDecodeBatchRows) * m_stride; }

private:
    std::unique_ptr<uint8_t[]> m_memory;
    uint8_t* m_first = nullptr;
    size_t m_stride = 0;
};

// Rows that differ in width from the frame are decoded into scratch rows and
// the overlap is copied; the decoder never delivers rows below the frame.
class RgbFrameSink : public JpegRowSink {
public:
    explicit RgbFrameSink(RgbFrame& frame) : m_frame(frame) {}

    bool Begin(int32_t width, int32_t height) override {
        m_width = width;
        m_height = height;
        m_direct = width == m_frame.Width();
        return m_direct || m_scratch.Allocate(width);
    }

    uint8_t* RowTarget(int32_t y) override { return m_direct ? m_frame.Row(y) : m_scratch.Row(y); }

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
    ScratchRows m_scratch;
};

// Splits interleaved rows into the blue, green and red planes, which are made
// large enough for the frame, and packs each row from its planes while they
// are still in the cache, so decoding and packing are one pass over the
// picture. Columns beyond the planes' stride (the margin of a cropped wider
// picture) are dropped. A depth that packs nothing fills only the planes.
class PlaneSink : public JpegRowSink {
public:
    PlaneSink(PlaneBuffer& planes, const DecodeRequest& request)
        : m_planes(planes), m_frame{request.width, request.height}, m_depth(request.depth) {}

    bool Begin(int32_t width, int32_t height) override {
        if (!m_planes.Ensure(m_frame.width, m_frame.height)) return false;
        m_rows = height;
        m_columns = std::min(width, m_planes.Stride());
        m_planes.SetImageSize(m_columns, height);
        m_packed = NewPackedFrame(m_frame.width, m_frame.height, m_depth);
        return m_scratch.Allocate(width);
    }

    uint8_t* RowTarget(int32_t y) override { return m_scratch.Row(y); }

    void RowDone(int32_t y) override {
        const size_t offset = size_t(y) * size_t(m_planes.Stride());
        uint8_t* red = m_planes.Red() + offset;
        uint8_t* green = m_planes.Green() + offset;
        uint8_t* blue = m_planes.Blue() + offset;
        m_loops.splitRgb(RowTarget(y), size_t(m_columns), red, green, blue);
        if (!m_packed) return;
        const int32_t shown = std::min(m_frame.width, m_columns);
        m_packer.fromPlanes(red, green, blue, size_t(shown), m_packed->Row(y));
        BlackenRowFrom(*m_packed, y, shown);
    }

    // Once every row has arrived: the packed frame, black below the picture.
    std::unique_ptr<PackedFrame> TakePacked() {
        if (m_packed) {
            for (int32_t y = m_rows; y < m_frame.height; ++y) BlackenRowFrom(*m_packed, y, 0);
        }
        return std::move(m_packed);
    }

private:
    PlaneBuffer& m_planes;
    DecodeBounds m_frame;
    int32_t m_depth;
    int32_t m_rows = 0;
    int32_t m_columns = 0;
    ScratchRows m_scratch;
    std::unique_ptr<PackedFrame> m_packed;
    const PixelLoops& m_loops = ChosenPixelLoops();
    const RowPacker m_packer = RowPackerFor(m_depth, m_loops);
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
    PlaneSink sink(planes, *request);
    if (DecodeJpegFile(request->path, sink, {request->width, request->height}) == 1) packed = sink.TakePacked();
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
