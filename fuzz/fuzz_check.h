// A property a fuzz target checks besides the sanitizers. A failure is reported
// where libFuzzer's own output goes (scripts/fuzz.sh closes the targets'
// standard error, which the decoder fills with warnings) and ends the run as a
// crash, so the input is kept as a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

#include <sanitizer/common_interface_defs.h>

namespace zel::fuzz {

[[noreturn]] inline void FailProperty(const char* condition, const char* file, int line) {
    char text[512];
    std::snprintf(text, sizeof text, "zel fuzz property failed: %s (%s:%d)", condition, file, line);
    __sanitizer_report_error_summary(text);
    std::abort();
}

}  // namespace zel::fuzz

#define ZEL_FUZZ_CHECK(condition) \
    ((condition) ? void(0) : ::zel::fuzz::FailProperty(#condition, __FILE__, __LINE__))
