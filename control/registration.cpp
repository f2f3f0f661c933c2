// DllRegisterServer's and DllUnregisterServer's work. The type library is
// registered from the module's own TYPELIB 1 resource; the two classes are one
// table of registry entries, written on registering, whose three root keys
// are deleted on unregistering. Wide registry calls throughout: the module's
// path may hold any character.
#include "registration.h"

#include <ole2.h>
#include <oleauto.h>
#include <olectl.h>

#include <optional>
#include <string>
#include <vector>

#include "guids.h"
#include "scoped_handle.h"

namespace zel::control {
namespace {

using win32::ScopedRegistryKey;

struct TypeLibTraits {
    static ITypeLib* Invalid() { return nullptr; }
    static void Close(ITypeLib* library) { library->Release(); }
};
using ScopedTypeLib = win32::ScopedHandle<ITypeLib*, TypeLibTraits>;

// zel.idl gives the library this locale, and RegisterTypeLib files the
// registration under it; LoadRegTypeLib finds it there.
constexpr LCID kTypeLibLcid = MAKELCID(MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), SORT_DEFAULT);

// One registry entry under HKEY_CLASSES_ROOT: a key, and one string value in
// it unless the key alone is the entry ("Control", "Insertable").
struct Entry {
    std::wstring key;
    const wchar_t* name;  // nullptr: the key's default value
    std::optional<std::wstring> value;
};

std::wstring GuidText(const GUID& guid) {
    wchar_t text[40] = {};
    StringFromGUID2(guid, text, 40);
    return text;
}

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

std::optional<std::wstring> ModulePath(HINSTANCE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(module, path.data(), DWORD(path.size()));
        if (length == 0) return std::nullopt;
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        if (path.size() >= 32768) return std::nullopt;  // longer than any Windows path
        path.resize(path.size() * 2);
    }
}

std::optional<std::wstring> LoadText(HINSTANCE module, int id) {
    wchar_t text[256] = {};
    if (LoadStringW(module, UINT(id), text, 256) <= 0) return std::nullopt;
    return std::wstring(text);
}

std::wstring ControlKey() { return L"CLSID\\" + GuidText(kControlClsid); }
std::wstring PropPageKey() { return L"CLSID\\" + GuidText(kPropPageClsid); }

std::vector<Entry> ClassEntries(const std::wstring& path, const std::wstring& controlName,
                                const std::wstring& pageName) {
    const std::wstring control = ControlKey();
    const std::wstring page = PropPageKey();
    const std::wstring progId = Widen(kControlProgId);
    const std::wstring version = std::to_wstring(kTypeLibMajor) + L"." + std::to_wstring(kTypeLibMinor);
    return {
        {control, nullptr, controlName},
        {control + L"\\InprocServer32", nullptr, path},
        {control + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
        {control + L"\\ProgID", nullptr, progId},
        {control + L"\\Control", nullptr, std::nullopt},
        {control + L"\\Insertable", nullptr, std::nullopt},
        {control + L"\\ToolboxBitmap32", nullptr, path + L", " + std::to_wstring(kIdbToolbox)},
        // MiscStatus's own value covers every aspect; subkey 1 is DVASPECT_CONTENT's.
        {control + L"\\MiscStatus", nullptr, L"0"},
        {control + L"\\MiscStatus\\1", nullptr, std::to_wstring(kMiscStatus)},
        {control + L"\\TypeLib", nullptr, GuidText(kTypeLibId)},
        {control + L"\\Version", nullptr, version},
        {progId, nullptr, controlName},
        {progId + L"\\CLSID", nullptr, GuidText(kControlClsid)},
        {progId + L"\\Insertable", nullptr, std::nullopt},
        {page, nullptr, pageName},
        {page + L"\\InprocServer32", nullptr, path},
        {page + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
    };
}

bool Write(const Entry& entry) {
    HKEY raw = nullptr;
    if (RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE,
                        nullptr, &raw, nullptr) != ERROR_SUCCESS) {
        return false;
    }
    ScopedRegistryKey key(raw);
    if (!entry.value) return true;
    const DWORD bytes = DWORD((entry.value->size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.Get(), entry.name, 0, REG_SZ, reinterpret_cast<const BYTE*>(entry.value->c_str()),
                          bytes) == ERROR_SUCCESS;
}

// Deletes a key with everything below it; a key that is not there is already
// deleted. (RegDeleteTreeW would need Vista.)
bool DeleteTree(HKEY parent, const std::wstring& path) {
    HKEY raw = nullptr;
    const LSTATUS opened = RegOpenKeyExW(parent, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS, &raw);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    ScopedRegistryKey key(raw);
    for (;;) {
        wchar_t child[256];  // a key name has at most 255 characters
        DWORD length = 256;
        const LSTATUS found = RegEnumKeyExW(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr);
        if (found == ERROR_NO_MORE_ITEMS) break;
        if (found != ERROR_SUCCESS || !DeleteTree(key.Get(), child)) return false;
    }
    key.Reset();
    return RegDeleteKeyW(parent, path.c_str()) == ERROR_SUCCESS;
}

// The path is taken by value: RegisterTypeLib's declaration wants it writable.
bool RegisterTypeLibrary(std::wstring path) {
    ITypeLib* raw = nullptr;
    if (FAILED(LoadTypeLibEx(path.c_str(), REGKIND_NONE, &raw))) return false;
    ScopedTypeLib library(raw);
    return SUCCEEDED(RegisterTypeLib(library.Get(), path.data(), nullptr));
}

// Unregisters the library under the locale and system kind it was registered
// with: a 32-bit module registers a win32 library, a 64-bit one a win64.
bool UnregisterTypeLibrary() {
    ITypeLib* raw = nullptr;
    if (FAILED(LoadRegTypeLib(kTypeLibId, kTypeLibMajor, kTypeLibMinor, kTypeLibLcid, &raw))) return false;
    ScopedTypeLib library(raw);
    TLIBATTR* attributes = nullptr;
    if (FAILED(library.Get()->GetLibAttr(&attributes))) return false;
    const LCID lcid = attributes->lcid;
    const SYSKIND kind = attributes->syskind;
    library.Get()->ReleaseTLibAttr(attributes);
    return SUCCEEDED(UnRegisterTypeLib(kTypeLibId, kTypeLibMajor, kTypeLibMinor, lcid, kind));
}

}  // namespace

HRESULT RegisterServer(HINSTANCE module) {
    const std::optional<std::wstring> path = ModulePath(module);
    if (!path || !RegisterTypeLibrary(*path)) return SELFREG_E_TYPELIB;

    const std::optional<std::wstring> controlName = LoadText(module, kIdsControlTypeName);
    const std::optional<std::wstring> pageName = LoadText(module, kIdsPropPageTypeName);
    if (!controlName || !pageName) return SELFREG_E_CLASS;
    for (const Entry& entry : ClassEntries(*path, *controlName, *pageName)) {
        if (!Write(entry)) return SELFREG_E_CLASS;
    }
    return S_OK;
}

HRESULT UnregisterServer(HINSTANCE) {
    if (!UnregisterTypeLibrary()) return SELFREG_E_TYPELIB;
    bool deleted = true;
    for (const std::wstring& key : {ControlKey(), Widen(kControlProgId), PropPageKey()}) {
        deleted = DeleteTree(HKEY_CLASSES_ROOT, key) && deleted;
    }
    return deleted ? S_OK : SELFREG_E_CLASS;
}

}  // namespace zel::control
