// The plug-in step: for each subkey of "Software\Netscape\Netscape Navigator"
// (a version; "Users" in any case is skipped), in the registry's order, its
// "Main" key's "Plugins Directory" receives a copy. The first version without
// them ends the walk as a failure; copies made before it stay. A copy that
// fails fails the step too, but the later versions still receive theirs.
#include <windows.h>

#include <string>
#include <vector>

#include "install.h"
#include "scoped_handle.h"

namespace zel::installer {

namespace {

constexpr char kNavigatorKey[] = "Software\\Netscape\\Netscape Navigator";

win32::ScopedRegistryKey OpenForReading(const std::string& path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
    return win32::ScopedRegistryKey(key);
}

// The value as text, whatever its type, however long; the stored bytes need
// not end in a NUL. Empty when it is missing.
bool ReadText(HKEY key, const char* name, std::string& text) {
    DWORD size = 0;
    if (RegQueryValueExA(key, name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return false;
    std::vector<char> bytes(size_t(size) + 1, '\0');
    if (RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &size) != ERROR_SUCCESS) {
        return false;
    }
    text.assign(bytes.data());
    return true;
}

}  // namespace

int InstallPlugin(const char* fileName) {
    win32::ScopedRegistryKey navigator = OpenForReading(kNavigatorKey);
    if (!navigator) return 0;
    int result = 1;
    for (DWORD index = 0;; ++index) {
        // Subkey names are at most 255 characters; a longer one, which the
        // registry cannot hold, would be a broken registry and fails the step.
        char name[256];
        const LONG found = RegEnumKeyA(navigator.Get(), index, name, sizeof name);
        if (found == ERROR_NO_MORE_ITEMS) return result;
        if (found != ERROR_SUCCESS) return 0;
        if (lstrcmpiA(name, "Users") == 0) continue;
        win32::ScopedRegistryKey main = OpenForReading(std::string(kNavigatorKey) + "\\" + name + "\\Main");
        std::string directory;
        if (!main || !ReadText(main.Get(), "Plugins Directory", directory)) return 0;
        const std::string destination = directory + "\\" + fileName;
        if (!CopyFileA(fileName, destination.c_str(), FALSE)) result = 0;
    }
}

}  // namespace zel::installer
