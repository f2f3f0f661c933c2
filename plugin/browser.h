// The browser's function table as the plug-in keeps it, and the wrappers
// through which everything in the plug-in calls the browser.
#pragma once

#include "npapi.h"

namespace zel::plugin {

// Held from NP_Initialize until NP_Shutdown; null outside.
void SetBrowserFuncs(NPNetscapeFuncs* funcs);
NPNetscapeFuncs* BrowserFuncs();
uint8_t BrowserMinorVersion();

void* NPN_MemAlloc(uint32_t size);
void NPN_MemFree(void* pointer);
// Returns NPERR_INCOMPATIBLE_VERSION_ERROR without calling a browser older than 0.9.
NPError NPN_GetURLNotify(NPP instance, const char* url, const char* target, void* notifyData);
void NPN_Status(NPP instance, const char* message);

}  // namespace zel::plugin
