// Reads back the PNG files the browser host writes, checking each layer on the
// way: signature, chunk CRCs, IHDR, the zlib header, stored DEFLATE blocks with
// their length complements, Adler-32 and the per-row filter bytes. Only what
// the writer produces (RGB, 8 bits, stored blocks, filter 0) is accepted.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::test {

struct StoredPng {
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // 0x00RRGGBB
    int idatBlocks = 0;            // stored DEFLATE blocks seen
};

// False with *error naming the first thing that is wrong.
bool ReadStoredPng(const std::string& file, StoredPng* png, std::string* error);

// CRC-32 and Adler-32 computed bit by bit, independently of the writer's tables.
uint32_t SlowCrc32(const std::string& bytes);
uint32_t SlowAdler32(const std::string& bytes);

}  // namespace zel::test
