#include "browser.h"

namespace zel::plugin {

namespace {

NPNetscapeFuncs* gBrowserFuncs = nullptr;

}  // namespace

void SetBrowserFuncs(NPNetscapeFuncs* funcs) { gBrowserFuncs = funcs; }
NPNetscapeFuncs* BrowserFuncs() { return gBrowserFuncs; }
uint8_t BrowserMinorVersion() { return gBrowserFuncs ? uint8_t(gBrowserFuncs->version & 0xFF) : 0; }

// A browser table that is gone (after NP_Shutdown) or lacks a slot is never
// called through.
void* NPN_MemAlloc(uint32_t size) {
    return gBrowserFuncs && gBrowserFuncs->memalloc ? gBrowserFuncs->memalloc(size) : nullptr;
}

void NPN_MemFree(void* pointer) {
    if (gBrowserFuncs && gBrowserFuncs->memfree) gBrowserFuncs->memfree(pointer);
}

NPError NPN_GetURLNotify(NPP instance, const char* url, const char* target, void* notifyData) {
    if (BrowserMinorVersion() < 9) return NPERR_INCOMPATIBLE_VERSION_ERROR;
    if (!gBrowserFuncs->geturlnotify) return NPERR_GENERIC_ERROR;
    return gBrowserFuncs->geturlnotify(instance, url, target, notifyData);
}

void NPN_Status(NPP instance, const char* message) {
    if (gBrowserFuncs && gBrowserFuncs->status) gBrowserFuncs->status(instance, message);
}

}  // namespace zel::plugin
