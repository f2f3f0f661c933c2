// What the registration tests share: ZEL.OCX's path as Wine shows it, the
// real regsvr32.exe run on it, and the registry keys the module owns, read
// back and removed with the registry API.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

namespace zel::test {

// ZEL.OCX of this build, on Wine's Z: drive.
std::string OcxPath();

// "{XXXXXXXX-...}", as the registry spells a GUID.
std::string GuidText(const GUID& guid);

// Runs "regsvr32.exe ARGUMENTS" and waits for it; its exit code, or
// kRegsvr32DidNotFinish when it could not start or did not end in time.
inline constexpr DWORD kRegsvr32DidNotFinish = 0xFFFFFFFF;
DWORD RunRegsvr32(const std::string& arguments);

// A string value under HKEY_CLASSES_ROOT (name nullptr: the default value);
// nothing when the key or the value is missing or is not a string.
std::optional<std::string> ReadClassesString(const std::string& key, const char* name = nullptr);
bool ClassesKeyExists(const std::string& key);

// Deletes every key a registration of ZEL.OCX writes, so that each test
// starts from, and leaves, a registry without it.
void RemoveZelRegistration();

// For suites that need the control registered: from a clean registry,
// regsvr32's exit code; and back to a registry without it.
DWORD RegisterZelForSuite();
void UnregisterZelAfterSuite();

}  // namespace zel::test
