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

    // With `byteLimit`, reading stops after that many bytes as if the file
    // ended there, and LimitReached() tells whether more was left.
    explicit TokenReader(std::FILE* file, uint64_t byteLimit = UINT64_MAX) : m_file(file), m_left(byteLimit) {}

    // The next token, or nullopt at the end of the file (or of its limit).
    std::optional<Token> Next();
    int Line() const { return m_line; }
    bool LimitReached() const { return m_limitReached; }

private:
    int Get();

    std::FILE* m_file;
    uint64_t m_left;
    bool m_limitReached = false;
    int m_line = 1;
};

// A token as a message may quote it: at most 40 bytes, NUL bytes as '?'.
std::string ShownToken(const Token& token);

// An optionally signed decimal integer that fits in 32 bits, and nothing else.
std::optional<int32_t> ParseInt32(const std::string& text);

}  // namespace zel
