// PNG files without zlib: 8-bit RGB (colour type 2), no interlace, every row
// with filter 0, the image data in DEFLATE "stored" blocks inside a zlib stream.
// The files are larger than compressed ones but any PNG reader takes them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::host {

// The whole file for `pixels` (0x00RRGGBB, rows from the top), or "" when the
// size is not positive or does not match the pixel count.
std::string EncodePng(int width, int height, const std::vector<uint32_t>& pixels);

bool WritePngFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels,
                  std::string* error);

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);
uint32_t Adler32(const uint8_t* data, size_t size);

}  // namespace zel::host
