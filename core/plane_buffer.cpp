#include "plane_buffer.h"

#include <algorithm>

namespace zel {

void PlaneBuffer::Ensure(int32_t width, int32_t height) {
    const int32_t stride = std::max(kStride, width);
    const int32_t rows = std::max(kRows, height);
    if (m_planes && stride == m_stride && rows <= m_rows) return;
    // Zeroed, so samples no picture has written yet read as black.
    m_planes = std::make_unique<uint8_t[]>(size_t(stride) * size_t(rows) * 3);
    m_stride = stride;
    m_rows = rows;
}

}  // namespace zel
