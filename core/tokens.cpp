#include "tokens.h"


namespace zel {

namespace {

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

int TokenReader::Get() {
    if (m_left == 0) {
        if (!m_limitReached && std::getc(m_file) != EOF) m_limitReached = true;
        return EOF;
    }
    const int c = std::getc(m_file);
    if (c != EOF) --m_left;
    return c;
}

std::optional<Token> TokenReader::Next() {
    int c = Get();
    while (c != EOF && IsSpace(c)) {
        if (c == '\n') ++m_line;
        c = Get();
    }
    if (c == EOF) return std::nullopt;

    Token token;
    token.line = m_line;
    while (c != EOF && !IsSpace(c)) {
        if (c == '\0') token.hasNul = true;
        if (token.text.size() < kMaxTokenKept) token.text.push_back(static_cast<char>(c));
        ++token.length;
        c = Get();
    }
    if (c == '\n') ++m_line;
    return token;
}

std::string ShownToken(const Token& token) {
    std::string shown = token.text.substr(0, 40);
    if (token.length > shown.size()) shown += "...";
    for (char& c : shown) {
        if (c == '\0') c = '?';
    }
    return shown;
}

std::optional<int32_t> ParseInt32(const std::string& text) {
    size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i == text.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace zel
