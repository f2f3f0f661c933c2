#include "class_factory.h"

#include <atomic>
#include <new>

#include "com_guard.h"

namespace zel::ole {
namespace {

std::atomic<long> gModuleLocks{0};
HINSTANCE gModuleInstance = nullptr;

// A factory lives as long as its last reference, and holds the module meanwhile.
class ClassFactory : public IClassFactory {
public:
    explicit ClassFactory(CreateFunction create) : m_create(create) { LockModule(); }
    virtual ~ClassFactory() { UnlockModule(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
        *object = static_cast<IClassFactory*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++m_references); }
    ULONG STDMETHODCALLTYPE Release() override {
        const long left = --m_references;
        if (left == 0) delete this;
        return ULONG(left);
    }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        return ComGuard([&] { return m_create(iid, object); });
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        if (lock)
            LockModule();
        else
            UnlockModule();
        return S_OK;
    }

private:
    CreateFunction m_create;
    std::atomic<long> m_references{1};
};

}  // namespace

void LockModule() { ++gModuleLocks; }
void UnlockModule() { --gModuleLocks; }
bool ModuleInUse() { return gModuleLocks.load() != 0; }

void SetModuleInstance(HINSTANCE instance) { gModuleInstance = instance; }
HINSTANCE ModuleInstance() { return gModuleInstance; }

HRESULT GetClassObject(const FactoryEntry* table, size_t count, REFCLSID clsid, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    for (size_t i = 0; i < count; ++i) {
        if (*table[i].clsid != clsid) continue;
        ClassFactory* factory = new (std::nothrow) ClassFactory(table[i].create);
        if (!factory) return E_OUTOFMEMORY;
        const HRESULT result = factory->QueryInterface(iid, object);
        factory->Release();
        return result;
    }
    return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CanUnloadNow() { return ModuleInUse() ? S_FALSE : S_OK; }

}  // namespace zel::ole
