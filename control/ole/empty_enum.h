// The enumerator of a control that offers no connection points.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <atomic>
#include <new>

#include "class_factory.h"

namespace zel::ole {

class EmptyConnectionPointEnum : public IEnumConnectionPoints {
public:
    EmptyConnectionPointEnum() { LockModule(); }
    virtual ~EmptyConnectionPointEnum() { UnlockModule(); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != IID_IEnumConnectionPoints) return E_NOINTERFACE;
        *object = static_cast<IEnumConnectionPoints*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, IConnectionPoint** points, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (count && !points) return E_POINTER;
        return count ? S_FALSE : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override { return count ? S_FALSE : S_OK; }
    HRESULT STDMETHODCALLTYPE Reset() override { return S_OK; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumConnectionPoints** copy) override {
        if (!copy) return E_POINTER;
        *copy = new (std::nothrow) EmptyConnectionPointEnum();
        return *copy ? S_OK : E_OUTOFMEMORY;
    }

private:
    std::atomic<ULONG> m_references{1};
};

}  // namespace zel::ole
