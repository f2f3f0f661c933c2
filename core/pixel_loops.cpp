#include "pixel_loops.h"

#include "pixel_loop_versions.h"

#if defined(ZEL_X86_PIXEL_LOOPS)
#include <cpuid.h>
#endif

namespace zel {

namespace {

#if defined(ZEL_X86_PIXEL_LOOPS)

struct CpuFeatures {
    bool sse2 = false;
    bool ssse3 = false;
    bool avx2 = false;
};

// AVX2 needs the operating system to save the 256-bit registers on a task
// switch, which it says through XCR0 (bits 1 and 2, SSE and AVX state); a
// processor with AVX2 under a system that does not save them must not use it.
// xgetbv is written out: its intrinsic wants -mxsave for the whole file.
CpuFeatures DetectFeatures() {
    CpuFeatures features;
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return features;
    features.sse2 = (edx & bit_SSE2) != 0;
    features.ssse3 = features.sse2 && (ecx & bit_SSSE3) != 0;
    const bool osSavesAvx = (ecx & bit_OSXSAVE) != 0 && (ecx & bit_AVX) != 0;
    if (!osSavesAvx || __get_cpuid_max(0, nullptr) < 7) return features;
    unsigned xcr0 = 0, xcr0High = 0;
    __asm__ volatile("xgetbv" : "=a"(xcr0), "=d"(xcr0High) : "c"(0));
    if ((xcr0 & 6) != 6) return features;
    __cpuid_count(7, 0, eax, ebx, ecx, edx);
    features.avx2 = features.ssse3 && (ebx & bit_AVX2) != 0;
    return features;
}

const CpuFeatures& Features() {
    static const CpuFeatures features = DetectFeatures();
    return features;
}

bool Runs(PixelIsa isa) {
    switch (isa) {
        case PixelIsa::Portable: return true;
        case PixelIsa::Sse2: return Features().sse2;
        case PixelIsa::Ssse3: return Features().ssse3;
        case PixelIsa::Avx2: return Features().avx2;
    }
    return false;
}

const PixelLoops* TableOf(PixelIsa isa) {
    switch (isa) {
        case PixelIsa::Portable: return &kPortablePixelLoops;
        case PixelIsa::Sse2: return &kSse2PixelLoops;
        case PixelIsa::Ssse3: return &kSsse3PixelLoops;
        case PixelIsa::Avx2: return &kAvx2PixelLoops;
    }
    return nullptr;
}

const PixelLoops& Choose() {
    if (Runs(PixelIsa::Avx2)) return kAvx2PixelLoops;
    if (Runs(PixelIsa::Ssse3)) return kSsse3PixelLoops;
    if (Runs(PixelIsa::Sse2)) return kSse2PixelLoops;
    return kPortablePixelLoops;
}

#else

const PixelLoops* TableOf(PixelIsa isa) { return isa == PixelIsa::Portable ? &kPortablePixelLoops : nullptr; }
bool Runs(PixelIsa) { return true; }
const PixelLoops& Choose() { return kPortablePixelLoops; }

#endif

}  // namespace

const PixelLoops& ChosenPixelLoops() {
    static const PixelLoops& chosen = Choose();
    return chosen;
}

const PixelLoops* PixelLoopsFor(PixelIsa isa) { return Runs(isa) ? TableOf(isa) : nullptr; }

const char* PixelIsaName(PixelIsa isa) {
    switch (isa) {
        case PixelIsa::Portable: return "portable";
        case PixelIsa::Sse2: return "SSE2";
        case PixelIsa::Ssse3: return "SSSE3";
        case PixelIsa::Avx2: return "AVX2";
    }
    return "unknown";
}

}  // namespace zel
