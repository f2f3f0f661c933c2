// The NPP functions, in the order of the plug-in function table. Every one
// works on the one ViewerApp; the InstanceRecord is all an instance owns. The
// browser is C: each function ends with an error result rather than let an
// exception out.
#include "npp.h"

#include <cstring>

#include "browser.h"
#include "no_throw.h"
#include "viewer_app.h"

namespace zel::plugin {

namespace {

InstanceRecord* RecordOf(NPP instance) { return static_cast<InstanceRecord*>(instance->pdata); }

}  // namespace

NPError NPP_New(NPMIMEType, NPP instance, uint16_t mode, int16_t, char*[], char*[], NPSavedData* saved) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    auto* record = static_cast<InstanceRecord*>(NPN_MemAlloc(sizeof(InstanceRecord)));
    instance->pdata = record;
    if (!record) return NPERR_OUT_OF_MEMORY_ERROR;
    record->window = nullptr;
    record->mode = mode;
    if (saved) {
        // Only a whole index is restored, as it stands: the description that
        // arrives judges it. What else the browser hands back is freed unread.
        if (saved->buf && saved->len >= int32_t(sizeof(int32_t)) && ViewerApp::Current()) {
            int32_t view = 0;
            std::memcpy(&view, saved->buf, sizeof view);
            ViewerApp::Current()->RestoreSavedView(view);
        }
        if (saved->buf) NPN_MemFree(saved->buf);
        NPN_MemFree(saved);
    }
    return NPERR_NO_ERROR;
}

NPError NPP_Destroy(NPP instance, NPSavedData** save) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    InstanceRecord* record = RecordOf(instance);
    if (!record) return NPERR_NO_ERROR;
    ViewerApp* app = ViewerApp::Current();
    if (save && app) {
        // Saved only when both blocks could be had: never written through null.
        auto* data = static_cast<NPSavedData*>(NPN_MemAlloc(sizeof(NPSavedData)));
        void* buffer = data ? NPN_MemAlloc(sizeof(int32_t)) : nullptr;
        if (data && buffer) {
            const int32_t view = app->GetCurrentView();
            std::memcpy(buffer, &view, sizeof view);
            data->len = sizeof(int32_t);
            data->buf = buffer;
            *save = data;
        } else if (data) {
            NPN_MemFree(data);
        }
    }
    if (app && record->window) app->ReleaseWindow();
    NPN_MemFree(record);
    instance->pdata = nullptr;
    return NPERR_NO_ERROR;
}

NPError NPP_SetWindow(NPP instance, NPWindow* window) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    InstanceRecord* record = RecordOf(instance);
    ViewerApp* app = ViewerApp::Current();
    if (!window || !record || !app) return NPERR_GENERIC_ERROR;
    HWND handle = static_cast<HWND>(window->window);
    if (!handle) {
        if (record->window) app->ReleaseWindow();
        return NPERR_NO_ERROR;
    }
    if (record->window) app->ReleaseWindow();
    record->window = window;
    app->AttachWindow(handle);
    return NPERR_NO_ERROR;
}

NPError NPP_NewStream(NPP instance, NPMIMEType, NPStream*, NPBool, uint16_t* stype) {
    if (!instance) return NPERR_INVALID_INSTANCE_ERROR;
    if (stype) *stype = NP_ASFILEONLY;
    return NPERR_NO_ERROR;
}

NPError NPP_DestroyStream(NPP instance, NPStream*, NPReason) {
    return instance ? NPERR_NO_ERROR : NPERR_INVALID_INSTANCE_ERROR;
}

void NPP_StreamAsFile(NPP instance, NPStream* stream, const char* fname) {
    NoThrow([&] {
        if (ViewerApp* app = ViewerApp::Current()) app->DispatchStreamFile(instance, stream, fname);
    });
}

int32_t NPP_WriteReady(NPP, NPStream*) { return 10; }

int32_t NPP_Write(NPP, NPStream*, int32_t, int32_t len, void*) { return len; }

void NPP_Print(NPP instance, NPPrint* printInfo) {
    if (instance && printInfo && printInfo->mode == NP_FULL) printInfo->print.fullPrint.pluginPrinted = false;
}

void NPP_URLNotify(NPP instance, const char*, NPReason reason, void* notifyData) {
    NoThrow([&] {
        if (ViewerApp* app = ViewerApp::Current()) app->OnURLNotify(instance, notifyData, reason == NPRES_DONE);
    });
}

}  // namespace zel::plugin
