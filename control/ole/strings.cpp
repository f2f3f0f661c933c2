#include "strings.h"

#include <climits>

namespace zel::ole {

std::wstring Widen(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), wide.data(), length);
    return wide;
}

std::string Narrow(const wchar_t* text, size_t length) {
    if (!text || length == 0 || length > INT_MAX) return {};
    const int bytes = WideCharToMultiByte(CP_ACP, 0, text, int(length), nullptr, 0, nullptr, nullptr);
    std::string narrow(size_t(bytes), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, int(length), narrow.data(), bytes, nullptr, nullptr);
    return narrow;
}

BSTR NewBstr(const std::string& text) {
    const std::wstring wide = Widen(text);
    return SysAllocStringLen(wide.data(), UINT(wide.size()));
}

}  // namespace zel::ole
