// Splits a text file into white-space separated tokens, as the description and
// morph files are read: spaces, tabs, line breaks, vertical tabs and form feeds
// separate tokens and carry no other meaning. Each token remembers its line so
// that a refused file can say where it went wrong.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>

namespace zel {

struct Token {
    std::string text;
    int line = 0;
    size_t length = 0;  // the token's real length; text keeps at most kMaxTokenKept bytes
    bool hasNul = false;
};

class TokenReader {
public:
    // Longer tokens are measured but not kept whole, so a file without white
    // space cannot make the reader hold it all in memory.
    static constexpr size_t kMaxTokenKept = 1024;

    explicit TokenReader(std::FILE* file) : m_file(file) {}

    // The next token, or nullopt at the end of the file.
    std::optional<Token> Next();
    int Line() const { return m_line; }

private:
    std::FILE* m_file;
    int m_line = 1;
};

// A token as a message may quote it: at most 40 bytes, NUL bytes as '?'.
std::string ShownToken(const Token& token);

// An optionally signed decimal integer that fits in 32 bits, and nothing else.
std::optional<int32_t> ParseInt32(const std::string& text);

}  // namespace zel
