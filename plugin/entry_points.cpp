// The three exports. The browser calls NP_GetEntryPoints, then NP_Initialize
// (which finishes the table NP_GetEntryPoints filled), then the NPP functions
// for each instance, and NP_Shutdown before it unloads the module; DllMain
// covers a browser that unloads it without NP_Shutdown.
#include "browser.h"
#include "no_throw.h"
#include "npp.h"
#include "viewer_app.h"

namespace {

NPPluginFuncs* gPluginFuncs = nullptr;

}  // namespace

extern "C" {

NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* table) {
    if (!table) return NPERR_INVALID_FUNCTABLE_ERROR;
    table->version = 9;  // 0.9
    table->newp = zel::plugin::NPP_New;
    table->destroy = zel::plugin::NPP_Destroy;
    table->setwindow = zel::plugin::NPP_SetWindow;
    table->newstream = zel::plugin::NPP_NewStream;
    table->destroystream = zel::plugin::NPP_DestroyStream;
    table->asfile = zel::plugin::NPP_StreamAsFile;
    table->writeready = zel::plugin::NPP_WriteReady;
    table->write = zel::plugin::NPP_Write;
    table->print = zel::plugin::NPP_Print;
    table->event = nullptr;
    gPluginFuncs = table;
    return NPERR_NO_ERROR;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
    // FreeLibrary (reserved is null) without NP_Shutdown first; at process
    // exit nothing is left to send the window a message.
    if (reason == DLL_PROCESS_DETACH && !reserved) zel::plugin::ViewerApp::OnModuleUnload();
    return TRUE;
}

NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browser) {
    if (!browser) return NPERR_INVALID_FUNCTABLE_ERROR;
    zel::plugin::SetBrowserFuncs(browser);
    if ((browser->version >> 8) != 0) return NPERR_INCOMPATIBLE_VERSION_ERROR;
    // The notification slots exist only in tables of 0.9 and later.
    if ((browser->version & 0xFF) >= 9 && gPluginFuncs) {
        gPluginFuncs->urlnotify = zel::plugin::NPP_URLNotify;
        gPluginFuncs->javaClass = nullptr;
    }
    return zel::NoThrow(NPERR_OUT_OF_MEMORY_ERROR, NPERR_GENERIC_ERROR, [] {
        zel::plugin::ViewerApp::Create();
        return NPERR_NO_ERROR;
    });
}

NPError NP_EXPORT_CALL NP_Shutdown(void) {
    zel::plugin::ViewerApp::Destroy();
    zel::plugin::SetBrowserFuncs(nullptr);
    return NPERR_NO_ERROR;
}

}  // extern "C"
