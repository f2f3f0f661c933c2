#include "png_writer.h"

#include <algorithm>
#include <array>
#include <fstream>

namespace zel::host {
namespace {

constexpr size_t kMaxStoredBlock = 65535;  // a stored block's length is 16 bits

const std::array<uint32_t, 256>& CrcTable() {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

void PutBigEndian(std::string& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>((value >> shift) & 0xFF);
}

void PutChunk(std::string& out, const char* type, const std::string& data) {
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out += typed;
    PutBigEndian(out, Crc32(reinterpret_cast<const uint8_t*>(typed.data()), typed.size()));
}

std::string ZlibStored(const std::vector<uint8_t>& raw) {
    std::string out = "\x78\x01";  // deflate, 32 KiB window, no dictionary, fastest; (0x7801 % 31 == 0)
    size_t at = 0;
    do {
        const size_t length = std::min(kMaxStoredBlock, raw.size() - at);
        const bool last = at + length == raw.size();
        out += static_cast<char>(last ? 1 : 0);  // BFINAL, BTYPE 00 (stored)
        out += static_cast<char>(length & 0xFF);
        out += static_cast<char>(length >> 8);
        out += static_cast<char>(~length & 0xFF);
        out += static_cast<char>((~length >> 8) & 0xFF);
        out.append(reinterpret_cast<const char*>(raw.data() + at), length);
        at += length;
    } while (at < raw.size());
    PutBigEndian(out, Adler32(raw.data(), raw.size()));
    return out;
}

}  // namespace

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

uint32_t Adler32(const uint8_t* data, size_t size) {
    constexpr uint32_t kModulus = 65521;
    uint32_t a = 1, b = 0;
    for (size_t i = 0; i < size; ++i) {
        a = (a + data[i]) % kModulus;
        b = (b + a) % kModulus;
    }
    return b << 16 | a;
}

std::string EncodePng(int width, int height, const std::vector<uint32_t>& pixels) {
    if (width <= 0 || height <= 0 || pixels.size() != size_t(width) * size_t(height)) return "";
    std::vector<uint8_t> raw;
    raw.reserve(size_t(height) * (1 + size_t(width) * 3));
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // filter type None
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[size_t(y) * size_t(width) + size_t(x)];
            raw.push_back(static_cast<uint8_t>(p >> 16));
            raw.push_back(static_cast<uint8_t>(p >> 8));
            raw.push_back(static_cast<uint8_t>(p));
        }
    }
    std::string header;
    PutBigEndian(header, static_cast<uint32_t>(width));
    PutBigEndian(header, static_cast<uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // depth 8, RGB, deflate, filter 0, no interlace

    std::string file = "\x89PNG\r\n\x1a\n";
    PutChunk(file, "IHDR", header);
    PutChunk(file, "IDAT", ZlibStored(raw));
    PutChunk(file, "IEND", "");
    return file;
}

bool WritePngFile(const std::string& path, int width, int height, const std::vector<uint32_t>& pixels,
                  std::string* error) {
    const std::string file = EncodePng(width, height, pixels);
    if (file.empty()) {
        *error = "no picture to write (" + std::to_string(width) + " x " + std::to_string(height) + ")";
        return false;
    }
    std::ofstream out(path, std::ios::binary);
    out.write(file.data(), static_cast<std::streamsize>(file.size()));
    out.close();
    if (!out) {
        *error = "cannot write " + path;
        return false;
    }
    return true;
}

}  // namespace zel::host
