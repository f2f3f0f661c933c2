// The browser's side of the NPAPI tables: the NPN functions a plug-in calls,
// each a thin forward to the BrowserHost that owns the calling instance
// (NPP.ndata), or, for the memory functions, to the host with the plug-in loaded.
#pragma once

#include "npapi.h"

namespace zel::host {

class BrowserHost;

struct BrowserCalls {
    static void Fill(NPNetscapeFuncs* table, uint16_t version);
    // The host NPN_MemAlloc and NPN_MemFree book to; false if another one holds it.
    static bool Activate(BrowserHost* host);
    static void Deactivate(BrowserHost* host);

    static NPError GetUrl(NPP instance, const char* url, const char* target);
    static NPError GetUrlNotify(NPP instance, const char* url, const char* target, void* notifyData);
    static NPError PostUrl(NPP instance, const char* url, const char* target, uint32_t len, const char* buf,
                           NPBool file);
    static NPError PostUrlNotify(NPP instance, const char* url, const char* target, uint32_t len, const char* buf,
                                 NPBool file, void* notifyData);
    static NPError RequestRead(NPStream* stream, void* rangeList);
    static NPError NewStream(NPP instance, NPMIMEType type, const char* target, NPStream** stream);
    static int32_t Write(NPP instance, NPStream* stream, int32_t len, void* buffer);
    static NPError DestroyStream(NPP instance, NPStream* stream, NPReason reason);
    static void Status(NPP instance, const char* message);
    static const char* UserAgent(NPP instance);
    static void* MemAlloc(uint32_t size);
    static void MemFree(void* pointer);
    static uint32_t MemFlush(uint32_t size);
    static void ReloadPlugins(NPBool reloadPages);
    static void* GetJavaEnv();
    static void* GetJavaPeer(NPP instance);
};

}  // namespace zel::host
