// ZEL.OCX's four exports. regsvr32 calls DllRegisterServer and
// DllUnregisterServer; COM calls DllGetClassObject for the control class or
// the property page class, and DllCanUnloadNow before it frees the module.
#include <windows.h>

#include <olectl.h>

#include "class_factory.h"
#include "com_guard.h"
#include "guids.h"
#include "ole_control.h"
#include "registration.h"
#include "zel_ctrl.h"
#include "zel_prop_page.h"

namespace {

const zel::ole::FactoryEntry kFactories[] = {
    {&zel::control::kControlClsid, &zel::ole::CreateInstance<zel::control::CZelCtrl>},
    {&zel::control::kPropPageClsid, &zel::ole::CreateInstance<zel::control::CZelPropPage>},
};

}  // namespace

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID);

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
    if (reason == DLL_PROCESS_ATTACH) {
        zel::ole::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    } else if (reason == DLL_PROCESS_DETACH && !reserved) {
        // Unloaded by FreeLibrary (CoFreeUnusedLibraries), not by the process ending.
        zel::ole::OleControl::UnregisterWindowClass();
    }
    return TRUE;
}

STDAPI DllCanUnloadNow() { return zel::ole::ComGuard([] { return zel::ole::CanUnloadNow(); }); }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
    return zel::ole::ComGuard([&] {
        return zel::ole::GetClassObject(kFactories, sizeof kFactories / sizeof kFactories[0], clsid, iid, object);
    });
}

STDAPI DllRegisterServer() {
    return zel::ole::ComGuard([] { return zel::control::RegisterServer(zel::ole::ModuleInstance()); });
}

STDAPI DllUnregisterServer() {
    return zel::ole::ComGuard([] { return zel::control::UnregisterServer(zel::ole::ModuleInstance()); });
}

}  // extern "C"
