// What the web benchmark measures against: the bare decode of a view (the same
// yardstick as the native benchmarks) and the heap the module's allocator holds.
#include <malloc.h>

#include <string>
#include <vector>

#include "bare_decode.h"
#include "exports.h"
#include "no_throw.h"

extern "C" {

int zel_bare_decode(const char* path) {
    if (!path) return 0;
    return zel::NoThrow(0, 0, [&] {
        std::vector<uint8_t> pixels;
        return zel::bench::BareDecode(path, pixels) ? 1 : 0;
    });
}

double zel_heap_bytes() {
#if defined(__GLIBC__)
    return double(mallinfo2().uordblks);
#else
    return double(mallinfo().uordblks);
#endif
}

}  // extern "C"
