// Byte counts of pictures and buffers, computed in 64 bits and checked. A
// picture's sides come from files nobody here wrote; on the 32-bit build a
// plain size_t product of them wraps (65500 * 65500 * 3 does) and a buffer far
// too small would be written as if it were large enough.
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <limits>
#include <optional>

namespace zel {

// The product of `factors` when it neither overflows 64 bits nor exceeds
// `limit`; the limit defaults to what this build's size_t can count. Tests pass
// a 32-bit limit to check what the 32-bit build computes.
inline std::optional<uint64_t> CheckedBytes(std::initializer_list<uint64_t> factors,
                                            uint64_t limit = std::numeric_limits<size_t>::max()) {
    uint64_t product = 1;
    for (uint64_t factor : factors) {
        if (factor != 0 && product > std::numeric_limits<uint64_t>::max() / factor) return std::nullopt;
        product *= factor;
    }
    if (product > limit) return std::nullopt;
    return product;
}

}  // namespace zel
