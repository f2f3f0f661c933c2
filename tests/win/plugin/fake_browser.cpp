#include "fake_browser.h"

#include <cstdlib>

namespace zel::test {

namespace {

FakeBrowser* gBrowser = nullptr;

void* MemAlloc(uint32_t size) {
    const int call = gBrowser->allocationCalls++;
    if (gBrowser->failAllocationsFrom >= 0 && call >= gBrowser->failAllocationsFrom) return nullptr;
    ++gBrowser->allocations;
    return std::malloc(size);
}

void MemFree(void* pointer) {
    if (!pointer) return;
    --gBrowser->allocations;
    std::free(pointer);
}

NPError GetURLNotify(NPP, const char* url, const char*, void* notifyData) {
    gBrowser->requests.push_back({url ? url : "", notifyData});
    return NPERR_NO_ERROR;
}

void Status(NPP, const char* message) { gBrowser->statuses.push_back(message ? message : ""); }

}  // namespace

FakeBrowser::FakeBrowser(uint16_t version) {
    gBrowser = this;
    table.size = sizeof table;
    table.version = version;
    table.memalloc = MemAlloc;
    table.memfree = MemFree;
    table.geturlnotify = GetURLNotify;
    table.status = Status;
}

FakeBrowser::~FakeBrowser() {
    // A newer fake may already have taken over the table's functions.
    if (gBrowser == this) gBrowser = nullptr;
}

}  // namespace zel::test
