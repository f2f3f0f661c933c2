// JSON string escaping (with UTF-8 validation) and the writer's punctuation.
#include "json_writer.h"

namespace zel::authoring {

namespace {

// The length of the well-formed UTF-8 sequence at `i`, or 0 (RFC 3629: no
// overlong forms, no surrogates, nothing above U+10FFFF).
size_t Utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;
        if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size()) return 0;
    if (byte(i + 1) < low || byte(i + 1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
    }
    return length;
}

}  // namespace

std::string JsonString(const std::string& text) {
    static constexpr char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            const size_t length = Utf8Length(text, i);
            out += length == 0 ? "\\ufffd" : text.substr(i, length);
            i += length == 0 ? 1 : length;
            continue;
        }
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\b': out += "\\b"; break;
            case '\f': out += "\\f"; break;
            case '\n': out += "\\n"; break;
            case '\r': out += "\\r"; break;
            case '\t': out += "\\t"; break;
            default:
                if (c < 0x20) {
                    out += "\\u00";
                    out += kHex[c >> 4];
                    out += kHex[c & 0xF];
                } else {
                    out += char(c);
                }
        }
        ++i;
    }
    return out + "\"";
}

void JsonWriter::Key(const std::string& name) {
    BeforeValue();
    m_text += JsonString(name) + ":";
    m_afterKey = true;
}

void JsonWriter::String(const std::string& text) {
    BeforeValue();
    m_text += JsonString(text);
}

void JsonWriter::Number(int64_t value) {
    BeforeValue();
    m_text += std::to_string(value);
}

void JsonWriter::Unsigned(uint64_t value) {
    BeforeValue();
    m_text += std::to_string(value);
}

void JsonWriter::Bool(bool value) {
    BeforeValue();
    m_text += value ? "true" : "false";
}

void JsonWriter::Null() {
    BeforeValue();
    m_text += "null";
}

void JsonWriter::Open(char bracket) {
    BeforeValue();
    m_text += bracket;
    m_depth.push_back(false);
}

void JsonWriter::Close(char bracket) {
    if (!m_depth.empty()) m_depth.pop_back();
    m_text += bracket;
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        // The value completes its member; the key already placed the comma.
        m_afterKey = false;
        return;
    }
    if (!m_depth.empty()) {
        if (m_depth.back()) m_text += ",";
        m_depth.back() = true;
    }
}

}  // namespace zel::authoring
