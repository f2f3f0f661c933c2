// Nothing may leave a C or COM entry point, a window procedure or a thread's
// entry as an exception. Each such boundary runs its body through NoThrow:
// memory that cannot be had becomes `outOfMemory`, any other exception `failed`.
#pragma once

#include <new>
#include <utility>

namespace zel {

template <class Result, class Body>
Result NoThrow(Result outOfMemory, Result failed, Body&& body) noexcept {
    try {
        return std::forward<Body>(body)();
    } catch (const std::bad_alloc&) {
        return outOfMemory;
    } catch (...) {
        return failed;
    }
}

// For a boundary with no result to give (a void NPP function): whatever the
// body throws ends the call.
template <class Body>
void NoThrow(Body&& body) noexcept {
    try {
        std::forward<Body>(body)();
    } catch (...) {
    }
}

}  // namespace zel
