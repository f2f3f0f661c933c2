// The control step: a copy in the system directory, registered by
// "Regsvr32.exe /s <copy>". The installer waits for Regsvr32.exe and reports
// its verdict, so "Successful!" means the control is registered, not merely
// that a program was started; /s keeps Regsvr32.exe from showing a second
// message of its own and waiting for the user.
#include <windows.h>

#include <string>

#include "install.h"
#include "scoped_handle.h"

namespace zel::installer {

int InstallControl(const char* fileName) {
    char system[MAX_PATH];
    const UINT length = GetSystemDirectoryA(system, sizeof system);
    if (length == 0 || length >= sizeof system) return 0;
    const std::string destination = std::string(system) + "\\" + fileName;
    if (!CopyFileA(fileName, destination.c_str(), FALSE)) return 0;

    std::string command = "Regsvr32.exe /s \"" + destination + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
        return 0;
    }
    win32::ScopedKernelHandle processHandle(process.hProcess);
    win32::ScopedKernelHandle threadHandle(process.hThread);
    WaitForSingleObject(processHandle.Get(), INFINITE);
    DWORD exitCode = 1;
    GetExitCodeProcess(processHandle.Get(), &exitCode);
    return exitCode == 0 ? 1 : 0;
}

}  // namespace zel::installer
