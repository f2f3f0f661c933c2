// The pixel loops on AVX2: 32 pixels a step. Its byte shuffle works within
// each 128-bit half, so three-byte pixels are loaded with pixels 0-15 in the
// low halves and 16-31 in the high ones, and the same shuffles as SSSE3's
// apply to both halves at once.
#include <immintrin.h>

#include "pixel_loop_versions.h"
#include "pixel_shuffles.h"

namespace zel {

namespace {

inline __m256i Load32(const uint8_t* from) { return _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from)); }
inline void Store32(uint8_t* to, __m256i value) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(to), value); }
inline __m256i Bytes(int value) { return _mm256_set1_epi8(char(value)); }

inline __m256i Mask(const int8_t (&table)[16]) {
    return _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(table)));
}
inline __m256i Shuffle(__m256i in, const int8_t (&mask)[16]) { return _mm256_shuffle_epi8(in, Mask(mask)); }
inline __m256i Gather(const __m256i in[3], const int8_t (&masks)[3][16]) {
    return _mm256_or_si256(_mm256_or_si256(Shuffle(in[0], masks[0]), Shuffle(in[1], masks[1])),
                           Shuffle(in[2], masks[2]));
}

// Register k of the 96 bytes of 32 pixels: bytes 16k.. in the low half,
// 48 + 16k.. in the high half.
inline __m256i LoadHalves(const uint8_t* from, int k) {
    const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 16 * k));
    const __m128i high = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + 48 + 16 * k));
    return _mm256_inserti128_si256(_mm256_castsi128_si256(low), high, 1);
}

// Three registers in that split order back into 96 contiguous bytes.
inline void StoreHalves(uint8_t* to, __m256i first, __m256i second, __m256i third) {
    Store32(to, _mm256_permute2x128_si256(first, second, 0x20));
    Store32(to + 32, _mm256_permute2x128_si256(third, first, 0x30));
    Store32(to + 64, _mm256_permute2x128_si256(second, third, 0x31));
}

inline void Deinterleave(const uint8_t* rgb, __m256i& r, __m256i& g, __m256i& b) {
    const __m256i in[3] = {LoadHalves(rgb, 0), LoadHalves(rgb, 1), LoadHalves(rgb, 2)};
    r = Gather(in, kSplit[0]);
    g = Gather(in, kSplit[1]);
    b = Gather(in, kSplit[2]);
}

inline __m256i ShiftRight8(__m256i v, int bits, int mask) {
    return _mm256_and_si256(_mm256_srli_epi16(v, bits), Bytes(mask));
}
inline __m256i ShiftLeft8(__m256i v, int bits, int mask) {
    return _mm256_and_si256(_mm256_slli_epi16(v, bits), Bytes(mask));
}

// The words' low and high bytes as in the SSE loops; unpacking works per half,
// so the halves are put back in order before the store.
template <int Depth>
inline void StoreWords(__m256i r, __m256i g, __m256i b, uint8_t* out) {
    __m256i high, low;
    if (Depth == 15) {
        high = _mm256_or_si256(ShiftRight8(r, 1, 0x7C), ShiftRight8(g, 6, 0x03));
        low = _mm256_or_si256(ShiftLeft8(g, 2, 0xE0), ShiftRight8(b, 3, 0x1F));
    } else {
        high = _mm256_or_si256(_mm256_and_si256(r, Bytes(0xF8)), ShiftRight8(g, 5, 0x07));
        low = _mm256_or_si256(ShiftLeft8(g, 3, 0xE0), ShiftRight8(b, 3, 0x1F));
    }
    const __m256i first = _mm256_unpacklo_epi8(low, high), second = _mm256_unpackhi_epi8(low, high);
    Store32(out, _mm256_permute2x128_si256(first, second, 0x20));
    Store32(out + 32, _mm256_permute2x128_si256(first, second, 0x31));
}

template <int Depth>
void PackRgbWords(const uint8_t* rgb, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 32 <= count; x += 32) {
        __m256i r, g, b;
        Deinterleave(rgb + 3 * x, r, g, b);
        StoreWords<Depth>(r, g, b, out + 2 * x);
    }
    const PixelLoops& rest = kSsse3PixelLoops;
    (Depth == 15 ? rest.packRgb15 : rest.packRgb16)(rgb + 3 * x, count - x, out + 2 * x);
}

void PackRgb15(const uint8_t* rgb, size_t count, uint8_t* out) { PackRgbWords<15>(rgb, count, out); }
void PackRgb16(const uint8_t* rgb, size_t count, uint8_t* out) { PackRgbWords<16>(rgb, count, out); }

void PackRgb24(const uint8_t* rgb, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 32 <= count; x += 32) {
        const __m256i in[3] = {LoadHalves(rgb + 3 * x, 0), LoadHalves(rgb + 3 * x, 1), LoadHalves(rgb + 3 * x, 2)};
        // The first and the last register take nothing from the input's far end.
        StoreHalves(out + 3 * x, _mm256_or_si256(Shuffle(in[0], kSwap[0][0]), Shuffle(in[1], kSwap[0][1])),
                    Gather(in, kSwap[1]), _mm256_or_si256(Shuffle(in[1], kSwap[2][1]), Shuffle(in[2], kSwap[2][2])));
    }
    kSsse3PixelLoops.packRgb24(rgb + 3 * x, count - x, out + 3 * x);
}

template <int Depth>
void PackPlanesWords(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 32 <= count; x += 32) {
        StoreWords<Depth>(Load32(red + x), Load32(green + x), Load32(blue + x), out + 2 * x);
    }
    const PixelLoops& rest = kSsse3PixelLoops;
    (Depth == 15 ? rest.packPlanes15 : rest.packPlanes16)(red + x, green + x, blue + x, count - x, out + 2 * x);
}

void PackPlanes15(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    PackPlanesWords<15>(red, green, blue, count, out);
}
void PackPlanes16(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    PackPlanesWords<16>(red, green, blue, count, out);
}

void PackPlanes24(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 32 <= count; x += 32) {
        const __m256i bgr[3] = {Load32(blue + x), Load32(green + x), Load32(red + x)};
        StoreHalves(out + 3 * x, Gather(bgr, kJoin[0]), Gather(bgr, kJoin[1]), Gather(bgr, kJoin[2]));
    }
    kSsse3PixelLoops.packPlanes24(red + x, green + x, blue + x, count - x, out + 3 * x);
}

void SplitRgb(const uint8_t* rgb, size_t count, uint8_t* red, uint8_t* green, uint8_t* blue) {
    size_t x = 0;
    for (; x + 32 <= count; x += 32) {
        __m256i r, g, b;
        Deinterleave(rgb + 3 * x, r, g, b);
        Store32(red + x, r);
        Store32(green + x, g);
        Store32(blue + x, b);
    }
    kSsse3PixelLoops.splitRgb(rgb + 3 * x, count - x, red + x, green + x, blue + x);
}

template <uint16_t Keep>
void BlendWords(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) {
    const __m256i keep = _mm256_set1_epi16(short(Keep));
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        const __m256i p = Load32(a + 2 * i), q = Load32(b + 2 * i);
        const __m256i half = _mm256_srli_epi16(_mm256_and_si256(_mm256_xor_si256(p, q), keep), 1);
        Store32(out + 2 * i, _mm256_add_epi16(_mm256_and_si256(p, q), half));
    }
    const PixelLoops& rest = kSsse3PixelLoops;
    (Keep == 0x7BDE ? rest.blend15 : rest.blend16)(a + 2 * i, b + 2 * i, count - i, out + 2 * i);
}

void BlendBytes(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) {
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i p = Load32(a + i), q = Load32(b + i);
        const __m256i odd = _mm256_and_si256(_mm256_xor_si256(p, q), Bytes(1));
        Store32(out + i, _mm256_sub_epi8(_mm256_avg_epu8(p, q), odd));
    }
    kSsse3PixelLoops.blendBytes(a + i, b + i, count - i, out + i);
}

}  // namespace

extern const PixelLoops kAvx2PixelLoops = {
    PixelIsa::Avx2, PackRgb15, PackRgb16,          PackRgb24,          PackPlanes15, PackPlanes16,
    PackPlanes24,   SplitRgb,  BlendWords<0x7BDE>, BlendWords<0xF7DE>, BlendBytes,
};

}  // namespace zel
