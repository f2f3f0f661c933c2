// The control keeps its properties as strings of the system's code page, the
// form the download service and the file system take; COM hands them over as
// BSTRs. These convert between the two.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <string>

namespace zel::ole {

std::wstring Widen(const std::string& text);
std::string Narrow(const wchar_t* text, size_t length);
inline std::string Narrow(BSTR text) { return text ? Narrow(text, SysStringLen(text)) : std::string(); }
// A new BSTR for `text`; null when memory runs out.
BSTR NewBstr(const std::string& text);

// Owns a VARIANT and clears it once.
class ScopedVariant {
public:
    ScopedVariant() { VariantInit(&m_value); }
    ~ScopedVariant() { VariantClear(&m_value); }
    ScopedVariant(const ScopedVariant&) = delete;
    ScopedVariant& operator=(const ScopedVariant&) = delete;
    VARIANT* Get() { return &m_value; }
    const VARIANT& operator*() const { return m_value; }

private:
    VARIANT m_value;
};

}  // namespace zel::ole
