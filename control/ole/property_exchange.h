// One pass of a control's persistent properties to or from its container: a
// binary stream (IPersistStreamInit, IPersistStorage) or a property bag (the
// <PARAM>s of a web page, IPersistPropertyBag). The control lists its
// properties once, in one function, and the same list serves every direction.
//
// Stream layout, little-endian: the version (4 bytes), then each property in
// the order exchanged: a number as 4 bytes, a string as its byte count (4
// bytes) followed by its bytes. A stream that ends early or holds a string
// longer than kMaxStringBytes fails the load with an error; what was read
// before stays.
#pragma once

#include <windows.h>

#include <ocidl.h>

#include <string>

namespace zel::ole {

class PropExchange {
public:
    virtual ~PropExchange() = default;
    bool IsLoading() const { return m_loading; }
    HRESULT Result() const { return m_result; }

    // The persisted version: written on save; on load, the version stored
    // (the current one when the storage holds none).
    virtual void ExchangeVersion(DWORD& version, DWORD current) = 0;
    virtual void ExchangeLong(const wchar_t* name, LONG& value, LONG defaultValue) = 0;
    // A property stored without a default: missing on load leaves the value as it is.
    virtual void ExchangeString(const wchar_t* name, std::string& value) = 0;

protected:
    explicit PropExchange(bool loading) : m_loading(loading) {}
    void Fail(HRESULT result) {
        if (SUCCEEDED(m_result)) m_result = result;
    }

    HRESULT m_result = S_OK;

private:
    bool m_loading;
};

inline constexpr DWORD kMaxStringBytes = 1u << 20;

class StreamExchange : public PropExchange {
public:
    StreamExchange(IStream* stream, bool loading) : PropExchange(loading), m_stream(stream) {}
    void ExchangeVersion(DWORD& version, DWORD current) override;
    void ExchangeLong(const wchar_t* name, LONG& value, LONG defaultValue) override;
    void ExchangeString(const wchar_t* name, std::string& value) override;

private:
    bool Transfer(void* bytes, DWORD size);

    IStream* m_stream;
};

class BagExchange : public PropExchange {
public:
    BagExchange(IPropertyBag* bag, IErrorLog* log, bool loading) : PropExchange(loading), m_bag(bag), m_log(log) {}
    void ExchangeVersion(DWORD& version, DWORD current) override;
    void ExchangeLong(const wchar_t* name, LONG& value, LONG defaultValue) override;
    void ExchangeString(const wchar_t* name, std::string& value) override;

private:
    // Reads `name` converted to `type`; false when the bag has no such property.
    bool Read(const wchar_t* name, VARTYPE type, VARIANT* value);
    void Write(const wchar_t* name, VARIANT* value);

    IPropertyBag* m_bag;
    IErrorLog* m_log;
};

}  // namespace zel::ole
