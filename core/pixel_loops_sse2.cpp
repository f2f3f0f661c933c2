// The pixel loops on SSE2, which every x86-64 processor and the 32-bit
// Windows build's baseline has. Without a byte shuffle, three-byte pixels are
// widened to 32-bit lanes and narrowed back with shifts and masks.
#include "pixel_lanes_sse.h"

namespace zel {

namespace {

inline __m128i Qwords(long long value) { return _mm_set1_epi64x(value); }

// Four pixels of three bytes (the low 12 bytes of `x`) as four 32-bit lanes
// holding the bytes in their low three: lane k = bytes 3k, 3k+1, 3k+2.
inline __m128i Widen(__m128i x) {
    const __m128i pairs = _mm_unpacklo_epi64(x, _mm_srli_si128(x, 6));  // pixels 0, 1 | 2, 3
    const __m128i first = _mm_and_si128(pairs, Qwords(0xFFFFFF));
    const __m128i second = _mm_and_si128(_mm_slli_epi64(pairs, 8), Qwords(0xFFFFFF00000000LL));
    return _mm_or_si128(first, second);
}

// The reverse: four lanes' low three bytes as 12 bytes, the top four 0.
inline __m128i Narrow(__m128i lanes) {
    const __m128i pairs = _mm_or_si128(_mm_and_si128(lanes, Qwords(0xFFFFFF)),
                                       _mm_and_si128(_mm_srli_epi64(lanes, 8), Qwords(0xFFFFFF000000LL)));
    return _mm_or_si128(_mm_move_epi64(pairs), _mm_slli_si128(_mm_srli_si128(pairs, 8), 6));
}

// Byte k of 16 lanes (each holding one pixel's bytes) as 16 bytes.
inline __m128i LaneByte(const __m128i lanes[4], int k) {
    __m128i words[2];
    for (int half = 0; half < 2; ++half) {
        const __m128i a = _mm_and_si128(_mm_srli_epi32(lanes[2 * half], 8 * k), _mm_set1_epi32(0xFF));
        const __m128i b = _mm_and_si128(_mm_srli_epi32(lanes[2 * half + 1], 8 * k), _mm_set1_epi32(0xFF));
        words[half] = _mm_packs_epi32(a, b);
    }
    return _mm_packus_epi16(words[0], words[1]);
}

// 16 pixels of R, G, B from 48 bytes, never reading beyond them.
inline void Deinterleave(const uint8_t* rgb, __m128i& r, __m128i& g, __m128i& b) {
    const __m128i lanes[4] = {Widen(Load16(rgb)), Widen(Load16(rgb + 12)), Widen(Load16(rgb + 24)),
                              Widen(_mm_srli_si128(Load16(rgb + 32), 4))};
    r = LaneByte(lanes, 0);
    g = LaneByte(lanes, 1);
    b = LaneByte(lanes, 2);
}

template <int Depth>
void PackRgbWords(const uint8_t* rgb, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        __m128i r, g, b;
        Deinterleave(rgb + 3 * x, r, g, b);
        if (Depth == 15) Store15(r, g, b, out + 2 * x);
        if (Depth == 16) Store16Bits(r, g, b, out + 2 * x);
    }
    const PixelLoops& rest = kPortablePixelLoops;
    (Depth == 15 ? rest.packRgb15 : rest.packRgb16)(rgb + 3 * x, count - x, out + 2 * x);
}

void PackRgb15(const uint8_t* rgb, size_t count, uint8_t* out) { PackRgbWords<15>(rgb, count, out); }
void PackRgb16(const uint8_t* rgb, size_t count, uint8_t* out) { PackRgbWords<16>(rgb, count, out); }

// R and B change places within every three bytes: a byte moves two places
// down or up, or (G) stays. Which one a byte does depends on its position
// modulo 3, so each of the 48 bytes' three registers has its own masks.
void PackRgb24(const uint8_t* rgb, size_t count, uint8_t* out) {
    const __m128i stay[3] = {_mm_setr_epi8(0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0),
                             _mm_setr_epi8(-1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1),
                             _mm_setr_epi8(0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0)};
    const __m128i fromAbove[3] = {stay[1], stay[2], stay[0]};
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i in[3] = {Load16(rgb + 3 * x), Load16(rgb + 3 * x + 16), Load16(rgb + 3 * x + 32)};
        for (int k = 0; k < 3; ++k) {
            // Byte i of `above` is input byte i + 2, of `below` input byte i - 2.
            __m128i above = _mm_srli_si128(in[k], 2);
            __m128i below = _mm_slli_si128(in[k], 2);
            if (k < 2) above = _mm_or_si128(above, _mm_slli_si128(in[k + 1], 14));
            if (k > 0) below = _mm_or_si128(below, _mm_srli_si128(in[k - 1], 14));
            const __m128i moved = _mm_or_si128(_mm_and_si128(above, fromAbove[k]),
                                               _mm_andnot_si128(_mm_or_si128(stay[k], fromAbove[k]), below));
            Store16(out + 3 * x + 16 * k, _mm_or_si128(_mm_and_si128(in[k], stay[k]), moved));
        }
    }
    kPortablePixelLoops.packRgb24(rgb + 3 * x, count - x, out + 3 * x);
}

void PackPlanes15(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    PackPlanesWords<15>(red, green, blue, count, out);
}
void PackPlanes16(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    PackPlanesWords<16>(red, green, blue, count, out);
}

// B, G, R, 0 in 32-bit lanes by interleaving, then narrowed to three bytes.
void PackPlanes24(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    const __m128i zero = _mm_setzero_si128();
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i r = Load16(red + x), g = Load16(green + x), b = Load16(blue + x);
        const __m128i bgLow = _mm_unpacklo_epi8(b, g), bgHigh = _mm_unpackhi_epi8(b, g);
        const __m128i rLow = _mm_unpacklo_epi8(r, zero), rHigh = _mm_unpackhi_epi8(r, zero);
        const __m128i n0 = Narrow(_mm_unpacklo_epi16(bgLow, rLow)), n1 = Narrow(_mm_unpackhi_epi16(bgLow, rLow));
        const __m128i n2 = Narrow(_mm_unpacklo_epi16(bgHigh, rHigh)), n3 = Narrow(_mm_unpackhi_epi16(bgHigh, rHigh));
        Store16(out + 3 * x, _mm_or_si128(n0, _mm_slli_si128(n1, 12)));
        Store16(out + 3 * x + 16, _mm_or_si128(_mm_srli_si128(n1, 4), _mm_slli_si128(n2, 8)));
        Store16(out + 3 * x + 32, _mm_or_si128(_mm_srli_si128(n2, 8), _mm_slli_si128(n3, 4)));
    }
    kPortablePixelLoops.packPlanes24(red + x, green + x, blue + x, count - x, out + 3 * x);
}

void SplitRgb(const uint8_t* rgb, size_t count, uint8_t* red, uint8_t* green, uint8_t* blue) {
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        __m128i r, g, b;
        Deinterleave(rgb + 3 * x, r, g, b);
        Store16(red + x, r);
        Store16(green + x, g);
        Store16(blue + x, b);
    }
    kPortablePixelLoops.splitRgb(rgb + 3 * x, count - x, red + x, green + x, blue + x);
}

}  // namespace

extern const PixelLoops kSse2PixelLoops = {
    PixelIsa::Sse2,      PackRgb15,           PackRgb16,          PackRgb24,    PackPlanes15, PackPlanes16,
    PackPlanes24,        SplitRgb,            BlendWords<0x7BDE>, BlendWords<0xF7DE>, BlendBytesSse,
};

}  // namespace zel
