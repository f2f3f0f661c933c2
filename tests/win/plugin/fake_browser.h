// A browser function table for calling NpZel.dll's exports directly: it
// records requests and status texts and counts the memory it hands out, and
// can be told to refuse allocations.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "npapi.h"

namespace zel::test {

// An export of a loaded module as its own function type (through void(*)(),
// the one cast between function types that is always allowed).
template <class Function>
Function LoadExport(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

struct FakeBrowser {
    explicit FakeBrowser(uint16_t version);
    ~FakeBrowser();

    NPNetscapeFuncs table{};
    struct Request {
        std::string url;
        void* notifyData;
    };
    std::vector<Request> requests;
    std::vector<std::string> statuses;
    int allocations = 0;  // live blocks handed out
    int failAllocationsFrom = -1;  // the n-th MemAlloc (0-based) and later return null
    int allocationCalls = 0;
};

}  // namespace zel::test
