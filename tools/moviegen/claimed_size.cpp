// Hostile pictures for tests, benchmarks and fuzzing seeds: a real JPEG file
// whose frame header claims another size. Its scan data stays that of the real,
// small picture, so the file ends long before the picture it claims.
#include "moviegen.h"

#include <fstream>
#include <iterator>
#include <vector>

namespace zel::moviegen {

bool ClaimSize(const std::string& path, uint16_t width, uint16_t height) {
    std::vector<unsigned char> bytes;
    {
        std::ifstream in(path, std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
    }
    // Markers after SOI: FF, code, two length bytes, then the segment. A frame
    // header is FF C0..CF except C4 (Huffman tables), C8 and CC.
    size_t at = 2;
    while (at + 9 < bytes.size() && bytes[at] == 0xFF) {
        const unsigned char code = bytes[at + 1];
        if (code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC) {
            bytes[at + 5] = uint8_t(height >> 8);
            bytes[at + 6] = uint8_t(height);
            bytes[at + 7] = uint8_t(width >> 8);
            bytes[at + 8] = uint8_t(width);
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
            return bool(out);
        }
        at += 2 + (size_t(bytes[at + 2]) << 8 | bytes[at + 3]);
    }
    return false;
}

}  // namespace zel::moviegen
