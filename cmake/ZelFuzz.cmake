# The fuzz preset: Debian's clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer. Everything the targets reach, libjpeg-turbo
# included (ZelLibJpeg.cmake), carries libFuzzer's coverage instrumentation;
# only the targets in fuzz/ link libFuzzer's main.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ZEL_FUZZ needs clang (the fuzz preset uses clang++-14), not ${CMAKE_CXX_COMPILER_ID}")
endif()

include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS "-fsanitize=fuzzer,address,undefined")
set(CMAKE_REQUIRED_LINK_OPTIONS "-fsanitize=fuzzer,address,undefined")
check_cxx_source_compiles([[
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
]] ZEL_LIBFUZZER_LINKS)
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(NOT ZEL_LIBFUZZER_LINKS)
    message(FATAL_ERROR "clang cannot link -fsanitize=fuzzer: scripts/setup.sh installs libclang-rt-14-dev")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)

# zel_add_fuzzer(NAME SOURCES ... LIBS ...): one libFuzzer target.
function(zel_add_fuzzer name)
    cmake_parse_arguments(arg "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS})
    target_link_options(${name} PRIVATE -fsanitize=fuzzer)
    zel_warnings(${name})
endfunction()
