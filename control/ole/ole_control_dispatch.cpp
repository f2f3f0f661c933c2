// Automation: names are looked up in the type library's description of the
// dispatch interface; calls go through the control's dispatch map.
#include "com_guard.h"
#include "ole_control.h"
#include "strings.h"

namespace zel::ole {

HRESULT OleControl::DispatchTypeInfo(ITypeInfo** info) {
    if (!m_dispatchInfo) {
        ComPtr<ITypeLib> typeLib;
        const HRESULT result = GetTypeLib(LOCALE_USER_DEFAULT, typeLib.Receive());
        if (FAILED(result)) return result;
        const HRESULT found = typeLib->GetTypeInfoOfGuid(*m_dispatchIid, m_dispatchInfo.Receive());
        if (FAILED(found)) return found;
    }
    *info = ComPtr<ITypeInfo>::Share(m_dispatchInfo.Get()).Detach();
    return S_OK;
}

HRESULT OleControl::GetTypeInfoCount(UINT* count) {
    if (!count) return E_POINTER;
    *count = 1;
    return S_OK;
}

HRESULT OleControl::GetTypeInfo(UINT index, LCID, ITypeInfo** info) {
    if (!info) return E_POINTER;
    *info = nullptr;
    if (index != 0) return DISP_E_BADINDEX;
    return DispatchTypeInfo(info);
}

// Both calls reserve their interface argument: anything but IID_NULL is refused.
HRESULT OleControl::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids) return E_POINTER;
    ComPtr<ITypeInfo> info;
    const HRESULT result = DispatchTypeInfo(info.Receive());
    if (FAILED(result)) return result;
    return info->GetIDsOfNames(names, count, ids);
}

HRESULT OleControl::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                           EXCEPINFO*, UINT* argumentError) {
    if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!params) return E_POINTER;
    // The About box is modal: its loop runs the container's messages.
    const KeepAlive alive(*this);
    return ComGuard([&] { return InvokeEntry(id, flags, *params, result, argumentError); });
}

HRESULT OleControl::InvokeEntry(DISPID id, WORD flags, DISPPARAMS& params, VARIANT* result, UINT* argumentError) {
    size_t count = 0;
    const DispatchEntry* map = GetDispatchMap(count);
    const DispatchEntry* entry = nullptr;
    for (size_t i = 0; i < count && !entry; ++i)
        if (map[i].id == id) entry = &map[i];
    if (!entry) return DISP_E_MEMBERNOTFOUND;

    if (entry->method) {
        if (!(flags & DISPATCH_METHOD)) return DISP_E_MEMBERNOTFOUND;
        if (params.cArgs != 0) return DISP_E_BADPARAMCOUNT;
        entry->method(*this);
        if (result) VariantInit(result);
        return S_OK;
    }

    std::string& value = *entry->property(*this);
    if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
        if (params.cArgs != 1) return DISP_E_BADPARAMCOUNT;
        if (params.cNamedArgs != 1 || !params.rgdispidNamedArgs || params.rgdispidNamedArgs[0] != DISPID_PROPERTYPUT)
            return DISP_E_PARAMNOTOPTIONAL;
        ScopedVariant text;
        if (FAILED(VariantChangeType(text.Get(), &params.rgvarg[0], 0, VT_BSTR))) {
            if (argumentError) *argumentError = 0;
            return DISP_E_TYPEMISMATCH;
        }
        value = Narrow((*text).bstrVal);
        SetModifiedFlag(true);
        return S_OK;
    }
    if (flags & (DISPATCH_PROPERTYGET | DISPATCH_METHOD)) {
        if (params.cArgs != 0) return DISP_E_BADPARAMCOUNT;
        if (!result) return S_OK;
        VariantInit(result);
        result->bstrVal = NewBstr(value);
        if (!result->bstrVal) return E_OUTOFMEMORY;
        result->vt = VT_BSTR;
        return S_OK;
    }
    return DISP_E_MEMBERNOTFOUND;
}

}  // namespace zel::ole
