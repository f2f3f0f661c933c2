// What the web benchmark measures against: the bare decode of a view (the same
// yardstick as the native benchmarks) and the heap the module's allocator holds.
#include <malloc.h>

// Under a sanitizer the sanitizer's allocator serves malloc, and only it knows
// what is held.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define ZEL_SANITIZER_HEAP 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define ZEL_SANITIZER_HEAP 1
#endif
#endif
#include <cstddef>
#include <string>
#include <vector>

#include "bare_decode.h"
#include "exports.h"
#include "no_throw.h"

extern "C" {

#if defined(ZEL_SANITIZER_HEAP)
// The sanitizers' runtimes export it; GCC ships no header that declares it.
size_t __sanitizer_get_current_allocated_bytes();
#endif

int zel_bare_decode(const char* path) {
    if (!path) return 0;
    return zel::NoThrow(0, 0, [&] {
        std::vector<uint8_t> pixels;
        return zel::bench::BareDecode(path, pixels) ? 1 : 0;
    });
}

double zel_heap_bytes() {
#if defined(ZEL_SANITIZER_HEAP)
    return double(__sanitizer_get_current_allocated_bytes());
#elif defined(__GLIBC__)
    return double(mallinfo2().uordblks);
#else
    return double(mallinfo().uordblks);
#endif
}

}  // extern "C"
