#include "connection_point.h"

#include <olectl.h>

#include <algorithm>

#include "array_enum.h"
#include "com_guard.h"

namespace zel::ole {

ConnectionPoint::~ConnectionPoint() {
    for (CONNECTDATA& sink : m_sinks) sink.pUnk->Release();
}

HRESULT ConnectionPoint::QueryInterface(REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (iid != IID_IUnknown && iid != IID_IConnectionPoint) return E_NOINTERFACE;
    *object = static_cast<IConnectionPoint*>(this);
    AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionInterface(IID* iid) {
    if (!iid) return E_POINTER;
    *iid = *m_iid;
    return S_OK;
}

HRESULT ConnectionPoint::GetConnectionPointContainer(IConnectionPointContainer** container) {
    if (!container) return E_POINTER;
    *container = &m_container;
    m_container.AddRef();
    return S_OK;
}

HRESULT ConnectionPoint::Advise(IUnknown* sink, DWORD* cookie) {
    if (!cookie) return E_POINTER;
    *cookie = 0;
    if (!sink) return E_POINTER;
    IUnknown* held = nullptr;
    if (FAILED(sink->QueryInterface(*m_iid, reinterpret_cast<void**>(&held))) || !held) return CONNECT_E_CANNOTCONNECT;
    const HRESULT stored = ComGuard([&] {
        m_sinks.push_back(CONNECTDATA{held, m_nextCookie});
        return S_OK;
    });
    if (FAILED(stored)) {
        held->Release();
        return stored;
    }
    *cookie = m_nextCookie++;
    return S_OK;
}

HRESULT ConnectionPoint::Unadvise(DWORD cookie) {
    const auto found =
        std::find_if(m_sinks.begin(), m_sinks.end(), [cookie](const CONNECTDATA& sink) { return sink.dwCookie == cookie; });
    if (found == m_sinks.end()) return CONNECT_E_NOCONNECTION;
    IUnknown* sink = found->pUnk;
    m_sinks.erase(found);
    sink->Release();
    return S_OK;
}

HRESULT ConnectionPoint::EnumConnections(IEnumConnections** connections) {
    if (!connections) return E_POINTER;
    *connections = ArrayEnum<IEnumConnections, CONNECTDATA, ConnectionPolicy>::Create(m_sinks.data(), m_sinks.size());
    return *connections ? S_OK : E_OUTOFMEMORY;
}

}  // namespace zel::ole
