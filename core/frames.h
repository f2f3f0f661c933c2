// The two kinds of view frame. The control keeps RgbFrames and packs the current
// one at each paint; the plug-in packs once and keeps PackedFrames in the
// screen's format.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "frame_table.h"
#include "sizes.h"

namespace zel {

// PixelDepth: the screen's format, 15 (RGB 5-5-5), 16 (RGB 5-6-5) or 24 (B, G, R);
// 0 when it could not be detected.
inline constexpr int32_t kDepth15 = 15;
inline constexpr int32_t kDepth16 = 16;
inline constexpr int32_t kDepth24 = 24;

inline bool IsPackedDepth(int32_t depth) { return depth == kDepth15 || depth == kDepth16 || depth == kDepth24; }

// Where rows that libjpeg-turbo decodes into start. It writes a row that starts
// on a 16-byte (SSE2) or 32-byte (AVX2) boundary with non-temporal stores, past
// the cache: rows read back at once, or written into pages just cleared, would
// then wait for memory. They start 8 bytes past such a boundary instead, in a
// block kRowSkewSlack bytes larger than what it holds.
inline constexpr size_t kRowSkewSlack = 15 + 8;
inline uint8_t* SkewedRowStart(uint8_t* block) {
    const uintptr_t start = reinterpret_cast<uintptr_t>(block);
    return block + (((start + 15) & ~uintptr_t{15}) - start) + 8;
}

// width x height pixels of R, G, B bytes, rows top to bottom without padding.
// Black when made, unless made Unset for a writer that covers every byte (a
// decode straight into the frame): clearing memory that is about to be written
// whole would cost a pass over every view.
class RgbFrame : public Frame {
public:
    enum class Fill { Black, Unset };

    // Check Valid() afterwards: the memory may not be had.
    RgbFrame(int32_t width, int32_t height, Fill fill = Fill::Black) : m_width(width), m_height(height) {
        const std::optional<uint64_t> size =
            width > 0 && height > 0 ? CheckedBytes({uint64_t(width), uint64_t(height), 3}) : std::nullopt;
        const std::optional<uint64_t> allocated = size ? CheckedBytes({*size + kRowSkewSlack}) : std::nullopt;
        if (!allocated) return;
        m_memory.reset(fill == Fill::Black ? new (std::nothrow) uint8_t[size_t(*allocated)]()
                                           : new (std::nothrow) uint8_t[size_t(*allocated)]);
        if (!m_memory) return;
        m_size = size_t(*size);
        // A view decoded straight into a new frame lands on pages the system
        // has just cleared: streaming past the cache there made a whole movie's
        // load a quarter slower (measured under Linux).
        m_pixels = SkewedRowStart(m_memory.get());
    }

    bool Valid() const { return m_pixels != nullptr && m_size > 0; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    size_t Size() const { return m_size; }
    uint8_t* Row(int32_t y) { return m_pixels + size_t(y) * size_t(m_width) * 3; }
    const uint8_t* Row(int32_t y) const { return m_pixels + size_t(y) * size_t(m_width) * 3; }
    // A copy of every byte.
    std::vector<uint8_t> Pixels() const { return std::vector<uint8_t>(m_pixels, m_pixels + m_size); }

private:
    int32_t m_width;
    int32_t m_height;
    size_t m_size = 0;
    std::unique_ptr<uint8_t[]> m_memory;
    uint8_t* m_pixels = nullptr;
};

// A new frame, or none when the memory cannot be had.
inline std::unique_ptr<RgbFrame> NewRgbFrame(int32_t width, int32_t height,
                                             RgbFrame::Fill fill = RgbFrame::Fill::Black) {
    std::unique_ptr<RgbFrame> frame(new (std::nothrow) RgbFrame(width, height, fill));
    return frame && frame->Valid() ? std::move(frame) : nullptr;
}

// Bytes of one packed row: 2 a pixel at 15 and 16 bits; 3 at 24 bits, plus one
// 0 byte after a row of odd width so every row has an even length. 0 for any
// other depth, and for a row this build cannot count in a size_t.
size_t PackedRowBytes(int32_t width, int32_t depth);

class PackedFrame : public Frame {
public:
    // Black: every byte 0. Unset: the bytes are left as allocated, for a writer
    // that fills every pixel and pad byte itself (packing and blending).
    enum class Fill { Black, Unset };

    // Check Valid() afterwards: the memory may not be had.
    PackedFrame(int32_t width, int32_t height, int32_t depth, Fill fill = Fill::Black)
        : m_width(width), m_height(height), m_depth(depth) {
        const std::optional<uint64_t> size =
            height > 0 ? CheckedBytes({PackedRowBytes(width, depth), uint64_t(height)}) : std::nullopt;
        if (!size) return;
        m_size = size_t(*size);
        m_bytes.reset(fill == Fill::Black ? new (std::nothrow) uint8_t[m_size]() : new (std::nothrow) uint8_t[m_size]);
    }

    bool Valid() const { return m_bytes != nullptr && m_size > 0; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    int32_t Depth() const { return m_depth; }
    size_t RowBytes() const { return PackedRowBytes(m_width, m_depth); }
    size_t Size() const { return m_size; }
    uint8_t* Row(int32_t y) { return m_bytes.get() + size_t(y) * RowBytes(); }
    const uint8_t* Row(int32_t y) const { return m_bytes.get() + size_t(y) * RowBytes(); }
    // A copy of every byte, pad bytes included.
    std::vector<uint8_t> Bytes() const { return std::vector<uint8_t>(m_bytes.get(), m_bytes.get() + m_size); }

private:
    int32_t m_width;
    int32_t m_height;
    int32_t m_depth;
    size_t m_size = 0;
    std::unique_ptr<uint8_t[]> m_bytes;
};

}  // namespace zel
