// An owning COM reference: released exactly once, never copied by accident.
#pragma once

#include <windows.h>

#include <unknwn.h>

#include <utility>

namespace zel::ole {

template <class T>
class ComPtr {
public:
    ComPtr() = default;
    // Takes a reference the caller already holds.
    explicit ComPtr(T* object) : m_object(object) {}
    ~ComPtr() { Reset(); }
    ComPtr(const ComPtr& other) : m_object(other.m_object) {
        if (m_object) m_object->AddRef();
    }
    ComPtr& operator=(const ComPtr& other) {
        if (other.m_object) other.m_object->AddRef();
        Reset(other.m_object);
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : m_object(std::exchange(other.m_object, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) Reset(std::exchange(other.m_object, nullptr));
        return *this;
    }

    // A new reference of its own to `object`.
    static ComPtr Share(T* object) {
        if (object) object->AddRef();
        return ComPtr(object);
    }

    T* Get() const { return m_object; }
    T* operator->() const { return m_object; }
    explicit operator bool() const { return m_object != nullptr; }
    T** Receive() {
        Reset();
        return &m_object;
    }
    void** ReceiveVoid() { return reinterpret_cast<void**>(Receive()); }
    T* Detach() { return std::exchange(m_object, nullptr); }
    void Reset(T* object = nullptr) {
        if (m_object) m_object->Release();
        m_object = object;
    }

    template <class Other>
    ComPtr<Other> As(REFIID iid) const {
        ComPtr<Other> result;
        if (m_object) m_object->QueryInterface(iid, result.ReceiveVoid());
        return result;
    }

private:
    T* m_object = nullptr;
};

}  // namespace zel::ole
