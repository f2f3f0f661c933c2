// The framework's COM enumerators (verbs, connection points, connections):
// each holds its own copies of a fixed list and hands the caller further
// copies, as the IEnum interfaces ask. A Policy names the interface and says
// how one item is copied for a caller and let go.
#pragma once

#include <windows.h>

#include <atomic>
#include <new>
#include <vector>

#include "class_factory.h"

namespace zel::ole {

template <class Enum, class Item, class Policy>
class ArrayEnum : public Enum {
public:
    // A new enumerator over copies of `items`, or null when memory runs out.
    static Enum* Create(const Item* items, size_t count) noexcept {
        auto* enumerator = new (std::nothrow) ArrayEnum();
        if (!enumerator) return nullptr;
        if (!enumerator->Fill(items, count)) {
            enumerator->Release();
            return nullptr;
        }
        return enumerator;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        *object = nullptr;
        if (iid != IID_IUnknown && iid != Policy::Iid()) return E_NOINTERFACE;
        *object = static_cast<Enum*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --m_references;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* items, ULONG* fetched) override {
        if (fetched) *fetched = 0;
        if (count && !items) return E_POINTER;
        if (count > 1 && !fetched) return E_INVALIDARG;
        ULONG done = 0;
        while (done < count && m_next < m_items.size()) {
            if (!Policy::Copy(items[done], m_items[m_next])) {
                for (ULONG i = 0; i < done; ++i) Policy::Destroy(items[i]);
                return E_OUTOFMEMORY;
            }
            ++done;
            ++m_next;
        }
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        const size_t left = m_items.size() - m_next;
        m_next += count < left ? count : left;
        return count <= left ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        m_next = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(Enum** copy) override {
        if (!copy) return E_POINTER;
        *copy = Create(m_items.data(), m_items.size());
        if (!*copy) return E_OUTOFMEMORY;
        static_cast<ArrayEnum*>(*copy)->m_next = m_next;
        return S_OK;
    }

private:
    ArrayEnum() { LockModule(); }
    virtual ~ArrayEnum() {
        for (Item& item : m_items) Policy::Destroy(item);
        UnlockModule();
    }

    bool Fill(const Item* items, size_t count) noexcept {
        try {
            m_items.reserve(count);
        } catch (...) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            m_items.emplace_back();
            if (!Policy::Copy(m_items.back(), items[i])) {
                m_items.pop_back();
                return false;
            }
        }
        return true;
    }

    std::atomic<ULONG> m_references{1};
    std::vector<Item> m_items;
    size_t m_next = 0;
};

}  // namespace zel::ole
