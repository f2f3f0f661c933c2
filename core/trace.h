// Trace files: each line is appended by opening the file, writing and closing
// it again, so several writers (and a crash) never lose a line. Tracing never
// stops the work: a file that cannot be opened is skipped.
#pragma once

#include <string>

namespace zel {

class TraceFile {
public:
    TraceFile(std::string path, const char* mode) : m_path(std::move(path)), m_mode(mode) {}

    void SetPath(std::string path) { m_path = std::move(path); }
    const std::string& Path() const { return m_path; }

    // printf-style; one call is one opening of the file.
    void Append(const char* format, ...) const __attribute__((format(printf, 2, 3)));

private:
    std::string m_path;
    const char* m_mode;
};

}  // namespace zel
