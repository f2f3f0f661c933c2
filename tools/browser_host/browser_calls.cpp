#include "browser_calls.h"

#include <cstdlib>

#include "browser_host.h"

namespace zel::host {
namespace {

BrowserHost* gActiveHost = nullptr;

BrowserHost* HostOf(NPP instance) { return instance ? static_cast<BrowserHost*>(instance->ndata) : nullptr; }

}  // namespace

void BrowserCalls::Fill(NPNetscapeFuncs* table, uint16_t version) {
    *table = NPNetscapeFuncs{};
    table->size = sizeof *table;
    table->version = version;
    table->geturl = GetUrl;
    table->posturl = PostUrl;
    table->requestread = RequestRead;
    table->newstream = NewStream;
    table->write = Write;
    table->destroystream = DestroyStream;
    table->status = Status;
    table->uagent = UserAgent;
    table->memalloc = MemAlloc;
    table->memfree = MemFree;
    table->memflush = MemFlush;
    table->reloadplugins = ReloadPlugins;
    table->getJavaEnv = GetJavaEnv;
    table->getJavaPeer = GetJavaPeer;
    table->geturlnotify = GetUrlNotify;
    table->posturlnotify = PostUrlNotify;
}

bool BrowserCalls::Activate(BrowserHost* host) {
    if (gActiveHost && gActiveHost != host) return false;
    gActiveHost = host;
    return true;
}

void BrowserCalls::Deactivate(BrowserHost* host) {
    if (gActiveHost == host) gActiveHost = nullptr;
}

NPError BrowserCalls::GetUrl(NPP instance, const char* url, const char* target) {
    BrowserHost* host = HostOf(instance);
    if (!host) return NPERR_INVALID_INSTANCE_ERROR;
    return host->QueueRequest(instance, url, target, false, nullptr);
}

NPError BrowserCalls::GetUrlNotify(NPP instance, const char* url, const char* target, void* notifyData) {
    BrowserHost* host = HostOf(instance);
    if (!host) return NPERR_INVALID_INSTANCE_ERROR;
    return host->QueueRequest(instance, url, target, true, notifyData);
}

// The host serves local files only: nothing can be posted or pushed.
NPError BrowserCalls::PostUrl(NPP, const char*, const char*, uint32_t, const char*, NPBool) {
    return NPERR_GENERIC_ERROR;
}
NPError BrowserCalls::PostUrlNotify(NPP, const char*, const char*, uint32_t, const char*, NPBool, void*) {
    return NPERR_GENERIC_ERROR;
}
NPError BrowserCalls::RequestRead(NPStream*, void*) { return NPERR_GENERIC_ERROR; }
NPError BrowserCalls::NewStream(NPP, NPMIMEType, const char*, NPStream**) { return NPERR_GENERIC_ERROR; }
int32_t BrowserCalls::Write(NPP, NPStream*, int32_t, void*) { return -1; }
NPError BrowserCalls::DestroyStream(NPP, NPStream*, NPReason) { return NPERR_GENERIC_ERROR; }

void BrowserCalls::Status(NPP instance, const char* message) {
    if (BrowserHost* host = HostOf(instance)) host->m_statuses.push_back(message ? message : "");
}

const char* BrowserCalls::UserAgent(NPP instance) {
    const BrowserHost* host = HostOf(instance);
    return host ? host->UserAgent() : "ZelBrowserHost/1.0";
}

void* BrowserCalls::MemAlloc(uint32_t size) {
    return gActiveHost ? gActiveHost->MemAlloc(size) : std::malloc(size);
}

void BrowserCalls::MemFree(void* pointer) {
    if (gActiveHost)
        gActiveHost->MemFree(pointer);
    else
        std::free(pointer);
}

uint32_t BrowserCalls::MemFlush(uint32_t) { return 0; }
void BrowserCalls::ReloadPlugins(NPBool) {}
void* BrowserCalls::GetJavaEnv() { return nullptr; }
void* BrowserCalls::GetJavaPeer(NPP) { return nullptr; }

}  // namespace zel::host
