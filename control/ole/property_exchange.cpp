#include "property_exchange.h"

#include "strings.h"

namespace zel::ole {

bool StreamExchange::Transfer(void* bytes, DWORD size) {
    if (FAILED(m_result)) return false;
    ULONG done = 0;
    const HRESULT result = IsLoading() ? m_stream->Read(bytes, size, &done) : m_stream->Write(bytes, size, &done);
    if (FAILED(result) || done != size) {
        Fail(FAILED(result) ? result : (IsLoading() ? STG_E_READFAULT : STG_E_WRITEFAULT));
        return false;
    }
    return true;
}

void StreamExchange::ExchangeVersion(DWORD& version, DWORD current) {
    DWORD stored = IsLoading() ? 0 : current;
    if (Transfer(&stored, sizeof stored)) version = stored;
}

void StreamExchange::ExchangeLong(const wchar_t*, LONG& value, LONG) {
    LONG stored = value;
    if (Transfer(&stored, sizeof stored)) value = stored;
}

void StreamExchange::ExchangeString(const wchar_t*, std::string& value) {
    if (!IsLoading()) {
        if (value.size() > kMaxStringBytes) return Fail(E_INVALIDARG);
        DWORD size = DWORD(value.size());
        if (Transfer(&size, sizeof size) && size) Transfer(value.data(), size);
        return;
    }
    DWORD size = 0;
    if (!Transfer(&size, sizeof size)) return;
    if (size > kMaxStringBytes) return Fail(E_UNEXPECTED);
    std::string stored(size, '\0');
    if (size == 0 || Transfer(stored.data(), size)) value = std::move(stored);
}

bool BagExchange::Read(const wchar_t* name, VARTYPE type, VARIANT* value) {
    // Asking for the type we need lets the bag convert; a bag that cannot
    // still hands back what it holds, converted here.
    value->vt = type;
    if (FAILED(m_bag->Read(name, value, m_log))) {
        VariantClear(value);
        return false;
    }
    if (value->vt != type && FAILED(VariantChangeType(value, value, 0, type))) {
        VariantClear(value);
        Fail(DISP_E_TYPEMISMATCH);
        return false;
    }
    return true;
}

void BagExchange::Write(const wchar_t* name, VARIANT* value) {
    const HRESULT result = m_bag->Write(name, value);
    if (FAILED(result)) Fail(result);
}

void BagExchange::ExchangeVersion(DWORD& version, DWORD current) {
    LONG stored = LONG(current);
    ExchangeLong(L"_Version", stored, LONG(current));
    version = DWORD(stored);
}

void BagExchange::ExchangeLong(const wchar_t* name, LONG& value, LONG defaultValue) {
    ScopedVariant variant;
    if (IsLoading()) {
        value = Read(name, VT_I4, variant.Get()) ? (*variant).lVal : defaultValue;
        return;
    }
    variant.Get()->vt = VT_I4;
    variant.Get()->lVal = value;
    Write(name, variant.Get());
}

void BagExchange::ExchangeString(const wchar_t* name, std::string& value) {
    ScopedVariant variant;
    if (IsLoading()) {
        if (Read(name, VT_BSTR, variant.Get())) value = Narrow((*variant).bstrVal);
        return;
    }
    variant.Get()->vt = VT_BSTR;
    variant.Get()->bstrVal = NewBstr(value);
    if (!variant.Get()->bstrVal) return Fail(E_OUTOFMEMORY);
    Write(name, variant.Get());
}

}  // namespace zel::ole
