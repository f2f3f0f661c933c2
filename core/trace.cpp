#include "trace.h"

#include <cstdarg>

#include "stdio_file.h"

namespace zel {

void TraceFile::Append(const char* format, ...) const {
    StdioFile file = OpenStdioFile(m_path, m_mode);
    if (!file) return;
    va_list args;
    va_start(args, format);
    std::vfprintf(file.get(), format, args);
    va_end(args);
}

}  // namespace zel
