// The reference pixel loops: one pixel at a time, as the formats are defined.
// Every other version must write exactly these bytes.
#include "pixel_loop_versions.h"

namespace zel {

namespace {

void PutWord(uint32_t word, uint8_t* out) {
    out[0] = uint8_t(word);
    out[1] = uint8_t(word >> 8);
}

uint32_t Word15(uint32_t r, uint32_t g, uint32_t b) { return (r >> 3) << 10 | (g >> 3) << 5 | b >> 3; }
uint32_t Word16(uint32_t r, uint32_t g, uint32_t b) { return (r >> 3) << 11 | (g >> 2) << 5 | b >> 3; }

void PackRgb15(const uint8_t* rgb, size_t count, uint8_t* out) {
    for (size_t x = 0; x < count; ++x) PutWord(Word15(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]), out + 2 * x);
}

void PackRgb16(const uint8_t* rgb, size_t count, uint8_t* out) {
    for (size_t x = 0; x < count; ++x) PutWord(Word16(rgb[3 * x], rgb[3 * x + 1], rgb[3 * x + 2]), out + 2 * x);
}

void PackRgb24(const uint8_t* rgb, size_t count, uint8_t* out) {
    for (size_t x = 0; x < count; ++x) {
        out[3 * x] = rgb[3 * x + 2];
        out[3 * x + 1] = rgb[3 * x + 1];
        out[3 * x + 2] = rgb[3 * x];
    }
}

void PackPlanes15(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    for (size_t x = 0; x < count; ++x) PutWord(Word15(red[x], green[x], blue[x]), out + 2 * x);
}

void PackPlanes16(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    for (size_t x = 0; x < count; ++x) PutWord(Word16(red[x], green[x], blue[x]), out + 2 * x);
}

void PackPlanes24(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out) {
    for (size_t x = 0; x < count; ++x) {
        out[3 * x] = blue[x];
        out[3 * x + 1] = green[x];
        out[3 * x + 2] = red[x];
    }
}

void SplitRgb(const uint8_t* rgb, size_t count, uint8_t* red, uint8_t* green, uint8_t* blue) {
    for (size_t x = 0; x < count; ++x) {
        red[x] = rgb[3 * x];
        green[x] = rgb[3 * x + 1];
        blue[x] = rgb[3 * x + 2];
    }
}

// floor((p + q) / 2) of each field is (p & q) + ((p ^ q) >> 1), provided the
// shift carries no field's low bit into its neighbour: `keep` clears the
// lowest bit of every field before the shift.
void BlendWords(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out, uint32_t keep) {
    for (size_t i = 0; i < count; ++i) {
        const uint32_t p = uint32_t(a[2 * i] | a[2 * i + 1] << 8);
        const uint32_t q = uint32_t(b[2 * i] | b[2 * i + 1] << 8);
        PutWord((p & q) + (((p ^ q) & keep) >> 1), out + 2 * i);
    }
}

void Blend15(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) { BlendWords(a, b, count, out, 0x7BDE); }
void Blend16(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) { BlendWords(a, b, count, out, 0xF7DE); }

void BlendBytes(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out) {
    for (size_t i = 0; i < count; ++i) out[i] = uint8_t((a[i] + b[i]) >> 1);
}

}  // namespace

extern const PixelLoops kPortablePixelLoops = {
    PixelIsa::Portable, PackRgb15,    PackRgb16, PackRgb24, PackPlanes15, PackPlanes16,
    PackPlanes24,       SplitRgb,     Blend15,   Blend16,   BlendBytes,
};

}  // namespace zel
