#include "plugin_module.h"

namespace zel::host {
namespace {

// FARPROC to the export's real type; going through void(*)() keeps GCC's
// function-cast warning quiet, as it treats that type as a generic one.
template <class Function>
Function ExportAs(HMODULE module, const char* name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

std::string Describe(const char* step, NPError error) {
    return std::string(step) + " returned NPError " + std::to_string(error);
}

}  // namespace

PluginModule::~PluginModule() { Unload(); }

bool PluginModule::Load(const std::string& dllPath, NPNetscapeFuncs* browser, std::string* error) {
    Unload();
    m_module = LoadLibraryA(dllPath.c_str());
    if (!m_module) {
        *error = "LoadLibrary failed for " + dllPath + " (error " + std::to_string(GetLastError()) + ")";
        return false;
    }
    const auto getEntryPoints = ExportAs<NP_GetEntryPointsFunc>(m_module, "NP_GetEntryPoints");
    const auto initialize = ExportAs<NP_InitializeFunc>(m_module, "NP_Initialize");
    if (!getEntryPoints || !initialize || !GetProcAddress(m_module, "NP_Shutdown")) {
        *error = dllPath + " lacks NP_GetEntryPoints, NP_Initialize or NP_Shutdown";
        Unload();
        return false;
    }
    m_functions = NPPluginFuncs{};
    m_functions.size = sizeof m_functions;
    const NPError entryResult = getEntryPoints(&m_functions);
    if (entryResult != NPERR_NO_ERROR) {
        *error = Describe("NP_GetEntryPoints", entryResult);
        Unload();
        return false;
    }
    if (!m_functions.newp || !m_functions.destroy || !m_functions.setwindow || !m_functions.newstream ||
        !m_functions.destroystream) {
        *error = "NP_GetEntryPoints left NPP_New, NPP_Destroy, NPP_SetWindow or a stream function empty";
        Unload();
        return false;
    }
    m_initializeResult = initialize(browser);
    if (m_initializeResult != NPERR_NO_ERROR) {
        *error = Describe("NP_Initialize", m_initializeResult);
        Unload();
        return false;
    }
    m_initialized = true;
    return true;
}

void PluginModule::Unload() {
    if (!m_module) return;
    if (m_initialized) {
        if (const auto shutdown = ExportAs<NP_ShutdownFunc>(m_module, "NP_Shutdown")) shutdown();
    }
    FreeLibrary(m_module);
    m_module = nullptr;
    m_initialized = false;
    m_functions = NPPluginFuncs{};
}

FARPROC PluginModule::Export(const char* name) const { return m_module ? GetProcAddress(m_module, name) : nullptr; }

}  // namespace zel::host
