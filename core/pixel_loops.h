// Where the build can choose code by the processor at run time (x86-64 ELF with
// GCC), a pixel loop is compiled twice, for AVX2 and for the baseline, and the
// loader picks one. The interleaved R, G, B loops need byte shuffles that
// baseline SSE2 lacks. Elsewhere (the Windows builds) the baseline is used, and
// so under ThreadSanitizer, whose instrumented ifunc resolver would run before
// the sanitizer's runtime is ready.
#pragma once

#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) && \
    !defined(__SANITIZE_THREAD__)
#define ZEL_PIXEL_LOOP __attribute__((target_clones("avx2", "default")))
#else
#define ZEL_PIXEL_LOOP
#endif

#define ZEL_INLINE_BODY inline __attribute__((always_inline))
