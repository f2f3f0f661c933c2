// What the web build's tests cannot do under node, and the one macro that
// skips the rest of a test there, saying why. Elsewhere the macro does nothing.
#pragma once

#include <gtest/gtest.h>

namespace zel::test {

inline constexpr const char kWebHasNoThreads[] =
    "std::thread aborts in the web build: it is built without -pthread, since browsers give threads "
    "SharedArrayBuffer only on cross-origin isolated pages";

inline constexpr const char kWebCannotCaptureStderr[] =
    "GoogleTest's CaptureStderr sees nothing under Emscripten (its dup and dup2 reopen streams by "
    "name), so the messages on standard error are not checked";

}  // namespace zel::test

#ifdef __EMSCRIPTEN__
#define ZEL_SKIP_ON_WEB(reason) GTEST_SKIP() << (reason)
#else
#define ZEL_SKIP_ON_WEB(reason) static_cast<void>(0)
#endif
