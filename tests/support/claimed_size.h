// Hostile pictures for the tests: a real JPEG file whose frame header is made to
// claim another size. Its scan data stays that of the real, small picture, so
// the file ends long before the picture it claims; libjpeg then makes up rows.
#pragma once

#include <cstdint>
#include <string>

namespace zel::test {

// Rewrites the height and width of the first frame header (SOFn) of the JPEG
// file at `path`. False when the file has no frame header.
bool ClaimSize(const std::string& path, uint16_t width, uint16_t height);

}  // namespace zel::test
