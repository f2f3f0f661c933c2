// Registry and regsvr32 helpers of the registration tests.
#include "control_registry.h"

#include <gtest/gtest.h>

#include <ole2.h>

#include "guids.h"
#include "scoped_handle.h"
#include "wine_path.h"

namespace zel::test {

std::string OcxPath() { return WindowsPath(ZEL_OCX_PATH); }

std::string GuidText(const GUID& guid) {
    wchar_t wide[40] = {};
    StringFromGUID2(guid, wide, 40);
    return std::string(wide, wide + lstrlenW(wide));
}

DWORD RunRegsvr32(const std::string& arguments) {
    std::string command = "regsvr32.exe " + arguments;
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        ADD_FAILURE() << "regsvr32.exe did not start: " << GetLastError();
        return kRegsvr32DidNotFinish;
    }
    win32::ScopedKernelHandle processHandle(process.hProcess);
    win32::ScopedKernelHandle threadHandle(process.hThread);
    if (WaitForSingleObject(processHandle.Get(), 60000) != WAIT_OBJECT_0) {
        TerminateProcess(processHandle.Get(), 1);
        ADD_FAILURE() << "regsvr32.exe " << arguments << " did not end";
        return kRegsvr32DidNotFinish;
    }
    DWORD exitCode = kRegsvr32DidNotFinish;
    GetExitCodeProcess(processHandle.Get(), &exitCode);
    return exitCode;
}

std::optional<std::string> ReadClassesString(const std::string& key, const char* name) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &raw) != ERROR_SUCCESS) return std::nullopt;
    win32::ScopedRegistryKey owned(raw);
    char text[1024] = {};
    DWORD type = 0;
    DWORD bytes = sizeof text - 1;
    if (RegQueryValueExA(raw, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &bytes) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return std::nullopt;
    }
    return std::string(text);
}

bool ClassesKeyExists(const std::string& key) {
    HKEY raw = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &raw) != ERROR_SUCCESS) return false;
    RegCloseKey(raw);
    return true;
}

void RemoveZelRegistration() {
    using namespace zel::control;
    const std::string keys[] = {
        "CLSID\\" + GuidText(kControlClsid),     "CLSID\\" + GuidText(kPropPageClsid),
        kControlProgId,                           kPropPageProgId,
        "TypeLib\\" + GuidText(kTypeLibId),      "Interface\\" + GuidText(kDispatchIid),
        "Interface\\" + GuidText(kEventsIid),
    };
    for (const std::string& key : keys) RegDeleteTreeA(HKEY_CLASSES_ROOT, key.c_str());
}

DWORD RegisterZelForSuite() {
    RemoveZelRegistration();
    return RunRegsvr32("/s \"" + OcxPath() + "\"");
}

void UnregisterZelAfterSuite() {
    RunRegsvr32("/u /s \"" + OcxPath() + "\"");
    RemoveZelRegistration();
}

}  // namespace zel::test
