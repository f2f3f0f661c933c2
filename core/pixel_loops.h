// The row loops every picture goes through: packing into the screen's format,
// the plug-in's plane split and the crossfade's mix. Each exists once portably
// (the reference) and, on x86, for SSE2, SSSE3 and AVX2; one table per version.
// The table is chosen once, by what the processor reports through CPUID, in
// every x86 build (32- and 64-bit Windows, Linux); elsewhere (WebAssembly) the
// portable loops run. Every version writes exactly the reference's bytes.
#pragma once

#include <cstddef>
#include <cstdint>

namespace zel {

enum class PixelIsa { Portable, Sse2, Ssse3, Avx2 };

// Rows of `count` pixels. Sources and targets may have any alignment and do not
// overlap; nothing beyond `count` pixels is read or written.
struct PixelLoops {
    PixelIsa isa;
    // Interleaved R, G, B into 5-5-5 and 5-6-5 words (little-endian) or B, G, R.
    void (*packRgb15)(const uint8_t* rgb, size_t count, uint8_t* out);
    void (*packRgb16)(const uint8_t* rgb, size_t count, uint8_t* out);
    void (*packRgb24)(const uint8_t* rgb, size_t count, uint8_t* out);
    // The same from three planes.
    void (*packPlanes15)(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out);
    void (*packPlanes16)(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out);
    void (*packPlanes24)(const uint8_t* red, const uint8_t* green, const uint8_t* blue, size_t count, uint8_t* out);
    // Interleaved R, G, B into three planes.
    void (*splitRgb)(const uint8_t* rgb, size_t count, uint8_t* red, uint8_t* green, uint8_t* blue);
    // The floor of the mean of every channel: of 5-5-5 or 5-6-5 words, or of
    // `count` single bytes (B, G, R samples).
    void (*blend15)(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out);
    void (*blend16)(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out);
    void (*blendBytes)(const uint8_t* a, const uint8_t* b, size_t count, uint8_t* out);
};

// The fastest version this processor runs, chosen on the first call.
const PixelLoops& ChosenPixelLoops();

// That version, when this build has it and this processor runs it; else none.
const PixelLoops* PixelLoopsFor(PixelIsa isa);

const char* PixelIsaName(PixelIsa isa);

}  // namespace zel
