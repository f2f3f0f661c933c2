#include "file_names.h"

namespace zel {

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

char Upper(char c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c; }

}  // namespace

bool IsDosDeviceName(const std::string& component) {
    size_t end = component.find_first_of(".:");
    if (end == std::string::npos) end = component.size();
    while (end > 0 && component[end - 1] == ' ') --end;
    std::string base;
    for (size_t i = 0; i < end; ++i) base += Upper(component[i]);
    if (base == "CON" || base == "PRN" || base == "AUX" || base == "NUL" || base == "CONIN$" || base == "CONOUT$") {
        return true;
    }
    if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0)) return false;
    const unsigned char digit = static_cast<unsigned char>(base[3]);
    // Windows also takes the superscript digits of code page 1252 (¹ ² ³).
    return (digit >= '1' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

bool IsPlainFileName(const std::string& name) {
    if (name.empty() || name.find_first_of(std::string("/\\:\0", 4)) != std::string::npos) return false;
    if (name.find_first_not_of(". ") == std::string::npos) return false;
    return !IsDosDeviceName(name);
}

bool NamesADevice(const std::string& path) {
    // A drive ("C:") is not a component; what follows it is.
    size_t start = path.size() >= 2 && path[1] == ':' ? 2 : 0;
    while (start <= path.size()) {
        size_t end = start;
        while (end < path.size() && !IsSeparator(path[end])) ++end;
        if (IsDosDeviceName(path.substr(start, end - start))) return true;
        start = end + 1;
    }
    return false;
}

bool IsOpenableMorphPath(const std::string& path) {
    if (path.empty() || path.find('\0') != std::string::npos) return false;
    if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) return false;
    return !NamesADevice(path);
}

}  // namespace zel
