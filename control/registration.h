// What regsvr32 asks of the module: the type library from the module's own
// TYPELIB 1 resource, then the control class and the property page class.
#pragma once

#include <windows.h>

namespace zel::control {

// DllRegisterServer's steps: the type library first, the two classes only
// after it registered. S_OK, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
HRESULT RegisterServer(HINSTANCE module);

// DllUnregisterServer's steps: the type library first, the two classes only
// after it was unregistered. S_OK, SELFREG_E_TYPELIB or SELFREG_E_CLASS.
HRESULT UnregisterServer(HINSTANCE module);

}  // namespace zel::control
