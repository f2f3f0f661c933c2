// A stand-in for the control in the installer's tests: registering it creates
// the ProgID key the real control creates, so a test can see that
// Regsvr32.exe really ran it; unregistering removes it.
#include <windows.h>

extern "C" {
HRESULT STDAPICALLTYPE DllRegisterServer(void);
HRESULT STDAPICALLTYPE DllUnregisterServer(void);
}

HRESULT STDAPICALLTYPE DllRegisterServer(void) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, "ZEL.ZelCtrl.1", 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
        return E_FAIL;
    }
    RegCloseKey(key);
    return S_OK;
}

HRESULT STDAPICALLTYPE DllUnregisterServer(void) {
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "ZEL.ZelCtrl.1");
    return S_OK;
}
