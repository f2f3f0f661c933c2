// The pixel loops on SSSE3: its byte shuffle moves three-byte pixels to and
// from planes in one step per register. Loops without three-byte pixels are
// the same as on SSE2.
#include <tmmintrin.h>

#include "pixel_lanes_sse.h"
#include "pixel_shuffles.h"

namespace zel {

namespace {

inline __m128i Mask(const int8_t (&table)[16]) { return _mm_load_si128(reinterpret_cast<const __m128i*>(table)); }

inline __m128i Shuffle(__m128i in, const int8_t (&mask)[16]) { return _mm_shuffle_epi8(in, Mask(mask)); }

inline __m128i Gather(const __m128i in[3], const int8_t (&masks)[3][16]) {
    return _mm_or_si128(_mm_or_si128(Shuffle(in[0], masks[0]), Shuffle(in[1], masks[1])), Shuffle(in[2], masks[2]));
}

inline void Deinterleave(const uint8_t* rgb, __m128i& r, __m128i& g, __m128i& b) {
    const __m128i in[3] = {Load16(rgb), Load16(rgb + 16), Load16(rgb + 32)};
    r = Gather(in, kSplit[0]);
    g = Gather(in, kSplit[1]);
    b = Gather(in, kSplit[2]);
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

void PackRgb24(const uint8_t* rgb, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i in[3] = {Load16(rgb + 3 * x), Load16(rgb + 3 * x + 16), Load16(rgb + 3 * x + 32)};
        // The first and the last register take nothing from the input's far end.
        Store16(out + 3 * x, _mm_or_si128(Shuffle(in[0], kSwap[0][0]), Shuffle(in[1], kSwap[0][1])));
        Store16(out + 3 * x + 16, Gather(in, kSwap[1]));
        Store16(out + 3 * x + 32, _mm_or_si128(Shuffle(in[1], kSwap[2][1]), Shuffle(in[2], kSwap[2][2])));
    }
    kPortablePixelLoops.packRgb24(rgb + 3 * x, count - x, out + 3 * x);
}

void PackPlanes15(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    PackPlanesWords<15>(red, green, blue, count, out);
}
void PackPlanes16(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    PackPlanesWords<16>(red, green, blue, count, out);
}

void PackPlanes24(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    size_t x = 0;
    for (; x + 16 <= count; x += 16) {
        const __m128i bgr[3] = {Load16(blue + x), Load16(green + x), Load16(red + x)};
        for (int k = 0; k < 3; ++k) Store16(out + 3 * x + 16 * k, Gather(bgr, kJoin[k]));
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

extern const PixelLoops kSsse3PixelLoops = {
    PixelIsa::Ssse3, PackRgb15, PackRgb16,          PackRgb24,          PackPlanes15,  PackPlanes16,
    PackPlanes24,    SplitRgb,  BlendWords<0x7BDE>, BlendWords<0xF7DE>, BlendBytesSse,
};

}  // namespace zel
