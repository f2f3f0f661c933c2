// The plug-in functions the browser calls through the table.
#pragma once

#include "npapi.h"

// The module's exports, named in NpZel.def.
extern "C" {
NPError NP_EXPORT_CALL NP_GetEntryPoints(NPPluginFuncs* table);
NPError NP_EXPORT_CALL NP_Initialize(NPNetscapeFuncs* browser);
NPError NP_EXPORT_CALL NP_Shutdown(void);
}

namespace zel::plugin {

NPError NPP_New(NPMIMEType type, NPP instance, uint16_t mode, int16_t argc, char* argn[], char* argv[],
                NPSavedData* saved);
NPError NPP_Destroy(NPP instance, NPSavedData** save);
NPError NPP_SetWindow(NPP instance, NPWindow* window);
NPError NPP_NewStream(NPP instance, NPMIMEType type, NPStream* stream, NPBool seekable, uint16_t* stype);
NPError NPP_DestroyStream(NPP instance, NPStream* stream, NPReason reason);
void NPP_StreamAsFile(NPP instance, NPStream* stream, const char* fname);
int32_t NPP_WriteReady(NPP instance, NPStream* stream);
int32_t NPP_Write(NPP instance, NPStream* stream, int32_t offset, int32_t len, void* buffer);
void NPP_Print(NPP instance, NPPrint* printInfo);
void NPP_URLNotify(NPP instance, const char* url, NPReason reason, void* notifyData);

// What the plug-in keeps per instance, in the instance's pdata.
struct InstanceRecord {
    NPWindow* window;
    uint16_t mode;
};

}  // namespace zel::plugin
