// Persistence: every form runs the control's one property exchange. A load
// that fails part-way returns the error; the properties read before it stay.
#include "com_guard.h"
#include "ole_control.h"

namespace zel::ole {
namespace {

constexpr wchar_t kContentsStream[] = L"Contents";

}  // namespace

HRESULT OleControl::Exchange(PropExchange& exchange) {
    return ComGuard([&] {
        DoPropExchange(exchange);
        return exchange.Result();
    });
}

HRESULT OleControl::InitNew() {
    OnResetState();
    m_modified = false;
    return S_OK;
}

HRESULT OleControl::Load(IStream* stream) {
    if (!stream) return E_POINTER;
    StreamExchange exchange(stream, true);
    const HRESULT result = Exchange(exchange);
    if (SUCCEEDED(result)) m_modified = false;
    return result;
}

HRESULT OleControl::Save(IStream* stream, BOOL clearDirty) {
    if (!stream) return E_POINTER;
    StreamExchange exchange(stream, false);
    const HRESULT result = Exchange(exchange);
    if (SUCCEEDED(result) && clearDirty) m_modified = false;
    return result;
}

HRESULT OleControl::GetSizeMax(ULARGE_INTEGER* size) {
    if (!size) return E_POINTER;
    size->QuadPart = 0;
    return E_NOTIMPL;
}

HRESULT OleControl::Load(IPropertyBag* bag, IErrorLog* log) {
    if (!bag) return E_POINTER;
    BagExchange exchange(bag, log, true);
    const HRESULT result = Exchange(exchange);
    if (SUCCEEDED(result)) m_modified = false;
    return result;
}

HRESULT OleControl::Save(IPropertyBag* bag, BOOL clearDirty, BOOL) {
    if (!bag) return E_POINTER;
    BagExchange exchange(bag, nullptr, false);
    const HRESULT result = Exchange(exchange);
    if (SUCCEEDED(result) && clearDirty) m_modified = false;
    return result;
}

HRESULT OleControl::InitNew(IStorage*) { return InitNew(); }

HRESULT OleControl::Load(IStorage* storage) {
    if (!storage) return E_POINTER;
    ComPtr<IStream> stream;
    const HRESULT opened =
        storage->OpenStream(kContentsStream, nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, stream.Receive());
    if (FAILED(opened)) return opened;
    return Load(stream.Get());
}

HRESULT OleControl::Save(IStorage* storage, BOOL) {
    if (!storage) return E_POINTER;
    ComPtr<IStream> stream;
    const HRESULT created = storage->CreateStream(kContentsStream, STGM_CREATE | STGM_WRITE | STGM_SHARE_EXCLUSIVE,
                                                  0, 0, stream.Receive());
    if (FAILED(created)) return created;
    return Save(stream.Get(), TRUE);
}

}  // namespace zel::ole
