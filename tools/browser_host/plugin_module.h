// A plug-in DLL bound as a browser binds it: LoadLibrary, NP_GetEntryPoints
// with the table's size filled in, NP_Initialize with the browser's table;
// NP_Shutdown and FreeLibrary when the module is released.
#pragma once

#include <windows.h>

#include <string>

#include "npapi.h"

namespace zel::host {

class PluginModule {
public:
    PluginModule() = default;
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    // `browser` must outlive the module: the plug-in keeps the pointer.
    bool Load(const std::string& dllPath, NPNetscapeFuncs* browser, std::string* error);
    // NP_Shutdown (when NP_Initialize succeeded) and FreeLibrary.
    void Unload();

    bool Loaded() const { return m_initialized; }
    NPError InitializeResult() const { return m_initializeResult; }
    const NPPluginFuncs& Functions() const { return m_functions; }
    FARPROC Export(const char* name) const;

private:
    HMODULE m_module = nullptr;
    NPPluginFuncs m_functions{};
    NPError m_initializeResult = NPERR_GENERIC_ERROR;
    bool m_initialized = false;
};

}  // namespace zel::host
