// The yardstick of the decode figures: libjpeg-turbo decoding a file into one
// contiguous RGB buffer with nothing of ours around it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::bench {

// Decodes `path` into `pixels` (resized to fit, rows from a few bytes in);
// false on any failure.
bool BareDecode(const std::string& path, std::vector<uint8_t>& pixels);

}  // namespace zel::bench
