// Pixel work on 128-bit lanes, shared by the SSE2 and SSSE3 loops. Everything
// here has internal linkage, so each of those files, compiled for its own
// instruction set, keeps its own copy and no other file ever links to one.
#pragma once

#include <emmintrin.h>

#include "pixel_loop_versions.h"

namespace zel {
namespace {

inline __m128i Load16(const uint8_t* from) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(from)); }
inline void Store16(uint8_t* to, __m128i value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(to), value); }
inline __m128i Bytes(int value) { return _mm_set1_epi8(char(value)); }

// x86 has no byte shifts: a 16-bit shift moves bits between the two bytes of a
// lane, and the mask drops exactly those.
inline __m128i ShiftRight8(__m128i v, int bits, int mask) {
    return _mm_and_si128(_mm_srli_epi16(v, bits), Bytes(mask));
}
inline __m128i ShiftLeft8(__m128i v, int bits, int mask) {
    return _mm_and_si128(_mm_slli_epi16(v, bits), Bytes(mask));
}

// The low and high bytes of 16 words, written as 32 bytes.
inline void StoreWords(__m128i low, __m128i high, uint8_t* out) {
    Store16(out, _mm_unpacklo_epi8(low, high));
    Store16(out + 16, _mm_unpackhi_epi8(low, high));
}

// 5-5-5: high byte R >> 3 in bits 2-6 and G's top two bits; low byte the
// rest of G >> 3 in bits 5-7 and B >> 3.
inline void Store15(__m128i r, __m128i g, __m128i b, uint8_t* out) {
    const __m128i high = _mm_or_si128(ShiftRight8(r, 1, 0x7C), ShiftRight8(g, 6, 0x03));
    const __m128i low = _mm_or_si128(ShiftLeft8(g, 2, 0xE0), ShiftRight8(b, 3, 0x1F));
    StoreWords(low, high, out);
}

// 5-6-5: high byte R's top five bits and G's top three; low byte the next
// three of G and B >> 3.
inline void Store16Bits(__m128i r, __m128i g, __m128i b, uint8_t* out) {
    const __m128i high = _mm_or_si128(_mm_and_si128(r, Bytes(0xF8)), ShiftRight8(g, 5, 0x07));
    const __m128i low = _mm_or_si128(ShiftLeft8(g, 3, 0xE0), ShiftRight8(b, 3, 0x1F));
    StoreWords(low, high, out);
}

template <int Depth>
void PackPlanesWords(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i r = Load16(red + x), g = Load16(green + x), b = Load16(blue + x);
        if (Depth == 15) Store15(r, g, b, out + 2 * x);
        if (Depth == 16) Store16Bits(r, g, b, out + 2 * x);
    }
    const PixelLoops& rest = kPortablePixelLoops;
    (Depth == 15 ? rest.packPlanes15 : rest.packPlanes16)(red + x, green + x, blue + x, count - x, out + 2 * x);
}

// floor((p + q) / 2) of every field, as the portable loop: (p & q) plus
// (p ^ q) with each field's lowest bit cleared, shifted down by one.
template <uint16_t Keep>
void BlendWords(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) {
    const __m128i keep = _mm_set1_epi16(short(Keep));
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        const __m128i p = Load16(a + 2 * i), q = Load16(b + 2 * i);
        const __m128i half = _mm_srli_epi16(_mm_and_si128(_mm_xor_si128(p, q), keep), 1);
        Store16(out + 2 * i, _mm_add_epi16(_mm_and_si128(p, q), half));
    }
    const PixelLoops& rest = kPortablePixelLoops;
    (Keep == 0x7BDE ? rest.blend15 : rest.blend16)(a + 2 * i, b + 2 * i, count - i, out + 2 * i);
}

// The rounded-up mean less the bit it rounded up by.
inline void BlendBytesSse(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) {
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m128i p = Load16(a + i), q = Load16(b + i);
        const __m128i odd = _mm_and_si128(_mm_xor_si128(p, q), Bytes(1));
        Store16(out + i, _mm_sub_epi8(_mm_avg_epu8(p, q), odd));
    }
    kPortablePixelLoops.blendBytes(a + i, b + i, count - i, out + i);
}

}  // namespace
}  // namespace zel
