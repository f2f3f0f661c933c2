// The module's class factories and its lock count. Each creatable class adds
// one entry to a static table; DllGetClassObject and DllCanUnloadNow walk it.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <new>

namespace zel::ole {

// Creates a new object and answers `iid` on it (the object's first reference
// belongs to the caller of `Create`).
using CreateFunction = HRESULT (*)(REFIID iid, void** object);

struct FactoryEntry {
    const CLSID* clsid;
    CreateFunction create;
};

// Every live object and every LockServer(TRUE) holds the module.
void LockModule();
void UnlockModule();
bool ModuleInUse();

// The module instance handle, set from DllMain.
void SetModuleInstance(HINSTANCE instance);
HINSTANCE ModuleInstance();

HRESULT GetClassObject(const FactoryEntry* table, size_t count, REFCLSID clsid, REFIID iid, void** object);
HRESULT CanUnloadNow();

// Creates a C++ COM object of type T (reference count 1) and hands `iid` of it out.
template <class T>
HRESULT CreateInstance(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    T* instance = new (std::nothrow) T();
    if (!instance) return E_OUTOFMEMORY;
    const HRESULT result = instance->QueryInterface(iid, object);
    instance->Release();
    return result;
}

}  // namespace zel::ole
