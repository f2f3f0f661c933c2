#include "stored_png.h"

namespace zel::test {
namespace {

uint32_t BigEndian(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i) value = value << 8 | static_cast<uint8_t>(bytes[at + i]);
    return value;
}

bool Inflate(const std::string& zlib, std::string* raw, int* blocks, std::string* error) {
    if (zlib.size() < 6 || static_cast<uint8_t>(zlib[0]) != 0x78 || (uint8_t(zlib[0]) * 256 + uint8_t(zlib[1])) % 31) {
        *error = "bad zlib header";
        return false;
    }
    size_t at = 2;
    for (bool last = false; !last;) {
        if (at + 5 > zlib.size()) return *error = "truncated block header", false;
        const uint8_t head = static_cast<uint8_t>(zlib[at]);
        if ((head >> 1) != 0) return *error = "not a stored block", false;
        last = head & 1;
        const unsigned length = uint8_t(zlib[at + 1]) | uint8_t(zlib[at + 2]) << 8;
        const unsigned complement = uint8_t(zlib[at + 3]) | uint8_t(zlib[at + 4]) << 8;
        if ((length ^ 0xFFFF) != complement) return *error = "block length complement wrong", false;
        at += 5;
        if (at + length > zlib.size()) return *error = "block runs past the data", false;
        raw->append(zlib, at, length);
        at += length;
        ++*blocks;
    }
    if (at + 4 != zlib.size()) return *error = "zlib stream length wrong", false;
    if (BigEndian(zlib, at) != SlowAdler32(*raw)) return *error = "Adler-32 wrong", false;
    return true;
}

}  // namespace

uint32_t SlowCrc32(const std::string& bytes) {
    uint32_t crc = 0xFFFFFFFF;
    for (char c : bytes) {
        crc ^= static_cast<uint8_t>(c);
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    return ~crc;
}

uint32_t SlowAdler32(const std::string& bytes) {
    uint64_t a = 1, b = 0;
    for (char c : bytes) {
        a = (a + static_cast<uint8_t>(c)) % 65521;
        b = (b + a) % 65521;
    }
    return static_cast<uint32_t>(b << 16 | a);
}

bool ReadStoredPng(const std::string& file, StoredPng* png, std::string* error) {
    if (file.compare(0, 8, std::string("\x89PNG\r\n\x1a\n", 8)) != 0) return *error = "no PNG signature", false;
    std::string header, zlib;
    bool ended = false;
    for (size_t at = 8; !ended;) {
        if (at + 12 > file.size()) return *error = "truncated chunk", false;
        const uint32_t length = BigEndian(file, at);
        if (at + 12 + length > file.size()) return *error = "chunk runs past the file", false;
        const std::string typed = file.substr(at + 4, 4 + length);
        if (BigEndian(file, at + 8 + length) != SlowCrc32(typed)) return *error = "CRC wrong in " + typed.substr(0, 4), false;
        const std::string type = typed.substr(0, 4);
        if (type == "IHDR") header = typed.substr(4);
        if (type == "IDAT") zlib += typed.substr(4);
        ended = type == "IEND";
        at += 12 + length;
        if (ended && at != file.size()) return *error = "bytes after IEND", false;
    }
    if (header.size() != 13 || header.substr(8) != std::string("\x08\x02\x00\x00\x00", 5))
        return *error = "IHDR is not 8-bit RGB without interlace", false;
    png->width = static_cast<int>(BigEndian(header, 0));
    png->height = static_cast<int>(BigEndian(header, 4));
    std::string raw;
    png->idatBlocks = 0;
    if (!Inflate(zlib, &raw, &png->idatBlocks, error)) return false;
    const size_t stride = 1 + size_t(png->width) * 3;
    if (raw.size() != stride * size_t(png->height)) return *error = "image data size wrong", false;
    png->pixels.clear();
    for (int y = 0; y < png->height; ++y) {
        const size_t row = stride * size_t(y);
        if (raw[row] != 0) return *error = "row filter is not None", false;
        for (int x = 0; x < png->width; ++x) {
            const size_t p = row + 1 + size_t(x) * 3;
            png->pixels.push_back(uint32_t(uint8_t(raw[p])) << 16 | uint32_t(uint8_t(raw[p + 1])) << 8 |
                                  uint8_t(raw[p + 2]));
        }
    }
    return true;
}

}  // namespace zel::test
