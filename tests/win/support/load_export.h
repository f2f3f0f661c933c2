// A module's export as its own function type.
#pragma once

#include <windows.h>

namespace zel::test {

// Through void(*)(), the one cast between function types that is always allowed.
template <class Function>
Function LoadExport(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace zel::test
