#include "json_check.h"

#include <cstdint>
#include <cstring>

namespace zel::fuzz {

namespace {

class JsonChecker {
public:
    explicit JsonChecker(const std::string& text) : m_text(text) {}

    bool Check() {
        SkipSpace();
        if (!Value(0)) return false;
        SkipSpace();
        return m_at == m_text.size();
    }

private:
    static constexpr int kMaxDepth = 64;

    int Peek() const { return m_at < m_text.size() ? static_cast<unsigned char>(m_text[m_at]) : -1; }

    void SkipSpace() {
        while (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r') ++m_at;
    }

    bool Take(char c) {
        if (Peek() != static_cast<unsigned char>(c)) return false;
        ++m_at;
        return true;
    }

    bool Value(int depth) {
        if (depth > kMaxDepth) return false;
        switch (Peek()) {
            case '{': return Container('}', depth, true);
            case '[': return Container(']', depth, false);
            case '"': return String();
            case 't': return Literal("true");
            case 'f': return Literal("false");
            case 'n': return Literal("null");
            default: return Number();
        }
    }

    bool Container(char close, int depth, bool members) {
        ++m_at;
        SkipSpace();
        if (Take(close)) return true;
        for (;;) {
            SkipSpace();
            if (members) {
                if (!String()) return false;
                SkipSpace();
                if (!Take(':')) return false;
                SkipSpace();
            }
            if (!Value(depth + 1)) return false;
            SkipSpace();
            if (Take(close)) return true;
            if (!Take(',')) return false;
        }
    }

    bool Literal(const char* word) {
        const size_t length = std::strlen(word);
        if (m_text.compare(m_at, length, word) != 0) return false;
        m_at += length;
        return true;
    }

    bool Digits() {
        const size_t start = m_at;
        while (Peek() >= '0' && Peek() <= '9') ++m_at;
        return m_at > start;
    }

    bool Number() {
        Take('-');
        if (!Take('0') && !(Peek() >= '1' && Peek() <= '9' && Digits())) return false;
        if (Take('.') && !Digits()) return false;
        if (Take('e') || Take('E')) {
            if (!Take('+')) Take('-');
            if (!Digits()) return false;
        }
        return true;
    }

    bool String() {
        if (!Take('"')) return false;
        for (;;) {
            const int c = Peek();
            if (c < 0x20) return false;  // the end of the text, or a raw control character
            if (c == '"') {
                ++m_at;
                return true;
            }
            if (c == '\\') {
                if (!Escape()) return false;
            } else if (c >= 0x80) {
                if (!Utf8Sequence()) return false;
            } else {
                ++m_at;
            }
        }
    }

    bool Escape() {
        ++m_at;
        const int c = Peek();
        ++m_at;
        if (c == 'u') {
            for (int k = 0; k < 4; ++k, ++m_at) {
                const int h = Peek();
                if (!((h >= '0' && h <= '9') || (h >= 'a' && h <= 'f') || (h >= 'A' && h <= 'F'))) return false;
            }
            return true;
        }
        return c != -1 && std::strchr("\"\\/bfnrt", c) != nullptr;
    }

    // Decodes the sequence and checks the code point it makes.
    bool Utf8Sequence() {
        const int lead = Peek();
        int more = 0;
        uint32_t point = 0, lowest = 0;
        if ((lead & 0xE0) == 0xC0) {
            more = 1;
            point = uint32_t(lead & 0x1F);
            lowest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            more = 2;
            point = uint32_t(lead & 0x0F);
            lowest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            more = 3;
            point = uint32_t(lead & 0x07);
            lowest = 0x10000;
        } else {
            return false;
        }
        ++m_at;
        for (int k = 0; k < more; ++k, ++m_at) {
            const int next = Peek();
            if (next < 0 || (next & 0xC0) != 0x80) return false;
            point = point << 6 | uint32_t(next & 0x3F);
        }
        return point >= lowest && point <= 0x10FFFF && !(point >= 0xD800 && point <= 0xDFFF);
    }

    const std::string& m_text;
    size_t m_at = 0;
};

}  // namespace

bool IsValidJson(const std::string& text) { return JsonChecker(text).Check(); }

}  // namespace zel::fuzz
