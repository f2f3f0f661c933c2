#include "url_resolver.h"

#include <cctype>

namespace zel::host {
namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 && HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string WithoutQuery(const std::string& url) { return url.substr(0, url.find_first_of("?#")); }

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    return true;
}

bool IsDrivePath(const std::string& path) {
    return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
           (path[2] == '\\' || path[2] == '/');
}

// "scheme:" with a scheme of two letters or more (one letter is a drive).
bool HasScheme(const std::string& url) {
    const size_t colon = url.find(':');
    if (colon == std::string::npos || colon < 2) return false;
    for (size_t i = 0; i < colon; ++i)
        if (!std::isalpha(static_cast<unsigned char>(url[i])) && url[i] != '+' && url[i] != '-' && url[i] != '.')
            return false;
    return true;
}

std::string Backslashes(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

}  // namespace

std::string ResolveUrl(const std::string& pageFolder, const std::string& url) {
    std::string path = Unescape(WithoutQuery(url));
    if (path.empty()) return "";
    if (StartsWithNoCase(path, "file:")) {
        path = path.substr(5);
        // file:///C:/x, file://C:/x and file:/C:/x all name C:\x.
        while (path.size() > 1 && path[0] == '/' && (path[1] == '/' || IsDrivePath(path.substr(1)))) path.erase(0, 1);
        return Backslashes(path);
    }
    if (HasScheme(path)) return "";
    if (IsDrivePath(path) || path[0] == '/' || path[0] == '\\') return Backslashes(path);
    std::string folder = pageFolder;
    if (!folder.empty() && folder.back() != '\\' && folder.back() != '/') folder += '\\';
    return Backslashes(folder + path);
}

std::string UrlBaseName(const std::string& url) {
    const std::string path = WithoutQuery(url);
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace zel::host
