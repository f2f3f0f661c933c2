// A browser function table for calling NpZel.dll's exports directly: it
// records requests and status texts and counts the memory it hands out, and
// can be told to refuse allocations.
#pragma once

#include <string>
#include <vector>

#include <windows.h>

#include "load_export.h"
#include "npapi.h"

namespace zel::test {

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
