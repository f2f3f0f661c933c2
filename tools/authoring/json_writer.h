// A small streaming JSON writer: values are appended in document order and the
// writer places the commas and colons. Strings are taken as UTF-8; a byte that
// does not start a well-formed UTF-8 sequence (a name in an old code page, say)
// is written as U+FFFD, so the output is always valid JSON.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zel::authoring {

// `text` as a quoted JSON string.
std::string JsonString(const std::string& text);

class JsonWriter {
public:
    void BeginObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void BeginArray() { Open('['); }
    void EndArray() { Close(']'); }
    // The member name of the value that follows, inside an object.
    void Key(const std::string& name);
    void String(const std::string& text);
    void Number(int64_t value);
    void Unsigned(uint64_t value);
    void Bool(bool value);
    void Null();

    // The document so far, with a final line break once it is complete.
    std::string Text() const { return m_depth.empty() && !m_text.empty() ? m_text + "\n" : m_text; }

private:
    void Open(char bracket);
    void Close(char bracket);
    void BeforeValue();

    std::string m_text;
    std::vector<bool> m_depth;  // per open container: does it hold a value yet?
    bool m_afterKey = false;
};

}  // namespace zel::authoring
