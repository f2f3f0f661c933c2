#include "embed_tag.h"

#include <cctype>

namespace zel::host {
namespace {

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

size_t FindTagStart(const std::string& html) {
    static const std::string kOpen = "<embed";
    for (size_t at = 0; at + kOpen.size() <= html.size(); ++at) {
        if (!EqualNoCase(html.substr(at, kOpen.size()), kOpen)) continue;
        const size_t next = at + kOpen.size();
        if (next < html.size() && (IsSpace(html[next]) || html[next] == '/' || html[next] == '>')) return next;
    }
    return std::string::npos;
}

}  // namespace

std::optional<std::string> EmbedTag::Attribute(const std::string& name) const {
    for (const auto& [key, value] : attributes)
        if (EqualNoCase(key, name)) return value;
    return std::nullopt;
}

std::optional<EmbedTag> FindEmbedTag(const std::string& html) {
    size_t at = FindTagStart(html);
    if (at == std::string::npos) return std::nullopt;
    EmbedTag tag;
    const auto isNameChar = [](char c) { return !IsSpace(c) && c != '=' && c != '>' && c != '/' && c != '"' && c != '\''; };
    while (at < html.size()) {
        const char c = html[at];
        if (c == '>') return tag;
        if (!isNameChar(c)) {
            ++at;
            continue;
        }
        const size_t nameStart = at;
        while (at < html.size() && isNameChar(html[at])) ++at;
        std::string name = html.substr(nameStart, at - nameStart);
        size_t look = at;
        while (look < html.size() && IsSpace(html[look])) ++look;
        std::string value;
        if (look < html.size() && html[look] == '=') {
            at = look + 1;
            while (at < html.size() && IsSpace(html[at])) ++at;
            if (at < html.size() && (html[at] == '"' || html[at] == '\'')) {
                const size_t close = html.find(html[at], at + 1);
                if (close == std::string::npos) return std::nullopt;
                value = html.substr(at + 1, close - at - 1);
                at = close + 1;
            } else {
                const size_t valueStart = at;
                while (at < html.size() && !IsSpace(html[at]) && html[at] != '>') ++at;
                value = html.substr(valueStart, at - valueStart);
            }
        }
        tag.attributes.emplace_back(std::move(name), std::move(value));
    }
    return std::nullopt;
}

}  // namespace zel::host
