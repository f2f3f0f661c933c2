// COM for the length of one call on whatever thread makes it: the loader's
// std::thread never initialised COM, the control's window thread already has.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace zel::control {

class ScopedComApartment {
public:
    // S_FALSE (already initialised here) also counts and must be undone;
    // RPC_E_CHANGED_MODE leaves the thread's own apartment in place, and COM
    // works in it just the same.
    ScopedComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ScopedComApartment() {
        if (SUCCEEDED(m_result)) CoUninitialize();
    }
    ScopedComApartment(const ScopedComApartment&) = delete;
    ScopedComApartment& operator=(const ScopedComApartment&) = delete;

private:
    HRESULT m_result;
};

}  // namespace zel::control
