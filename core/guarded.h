// Calls at a boundary no C++ exception may cross: a C or NPAPI entry point, a
// COM method, a window procedure, a thread's entry, WinMain. Whatever the body
// throws (std::bad_alloc from a hostile movie's tables, say) ends the call with
// the boundary's own failure result instead of unwinding into foreign code.
#pragma once

#include <utility>

namespace zel {

template <class Result, class Body>
Result Guarded(Result failure, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (...) {
        return failure;
    }
}

template <class Body>
void Guarded(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}

}  // namespace zel
