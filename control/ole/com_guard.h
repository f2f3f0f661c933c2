// NoThrow for COM methods and exports: E_OUTOFMEMORY or E_UNEXPECTED instead
// of an exception.
#pragma once

#include <windows.h>

#include <utility>

#include "no_throw.h"

namespace zel::ole {

template <class Body>
HRESULT ComGuard(Body&& body) noexcept {
    return NoThrow<HRESULT>(E_OUTOFMEMORY, E_UNEXPECTED, std::forward<Body>(body));
}

}  // namespace zel::ole
