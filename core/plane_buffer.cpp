#include "plane_buffer.h"

#include <algorithm>
#include <new>

#include "sizes.h"

namespace zel {

bool PlaneBuffer::Ensure(int32_t width, int32_t height) {
    const int32_t stride = std::max(kStride, width);
    const int32_t rows = std::max(kRows, height);
    if (m_planes && stride == m_stride && rows <= m_rows) return true;
    const std::optional<uint64_t> bytes = CheckedBytes({uint64_t(stride), uint64_t(rows), 3});
    if (!bytes) return false;
    // Zeroed, so samples no picture has written yet read as black.
    std::unique_ptr<uint8_t[]> planes(new (std::nothrow) uint8_t[size_t(*bytes)]());
    if (!planes) return false;
    m_planes = std::move(planes);
    m_stride = stride;
    m_rows = rows;
    return true;
}

}  // namespace zel
