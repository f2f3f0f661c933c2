// A connection point that keeps the sinks advised on it and never calls them.
// The control fires no events and no property notifications, yet containers
// advise on its default source interface and on IPropertyNotifySink and
// expect to find a connection point for each. It is part of its control: its
// references are the control's.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <vector>

namespace zel::ole {

class ConnectionPoint : public IConnectionPoint {
public:
    ConnectionPoint(IConnectionPointContainer& container, const IID& iid) : m_container(container), m_iid(&iid) {}
    ~ConnectionPoint();
    ConnectionPoint(const ConnectionPoint&) = delete;
    ConnectionPoint& operator=(const ConnectionPoint&) = delete;

    void SetInterface(const IID& iid) { m_iid = &iid; }
    const IID& Interface() const { return *m_iid; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override { return m_container.AddRef(); }
    ULONG STDMETHODCALLTYPE Release() override { return m_container.Release(); }

    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override;
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** container) override;
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override;
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override;
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections** connections) override;

private:
    IConnectionPointContainer& m_container;
    const IID* m_iid;
    std::vector<CONNECTDATA> m_sinks;  // each holds a reference to its sink
    DWORD m_nextCookie = 1;
};

// Copies of connection points and connections as the enumerators hand them out.
struct ConnectionPointPolicy {
    static const IID& Iid() { return IID_IEnumConnectionPoints; }
    static bool Copy(IConnectionPoint*& to, IConnectionPoint* const& from) {
        to = from;
        to->AddRef();
        return true;
    }
    static void Destroy(IConnectionPoint*& point) {
        if (point) point->Release();
        point = nullptr;
    }
};

struct ConnectionPolicy {
    static const IID& Iid() { return IID_IEnumConnections; }
    static bool Copy(CONNECTDATA& to, const CONNECTDATA& from) {
        to = from;
        to.pUnk->AddRef();
        return true;
    }
    static void Destroy(CONNECTDATA& connection) {
        if (connection.pUnk) connection.pUnk->Release();
        connection.pUnk = nullptr;
    }
};

}  // namespace zel::ole
