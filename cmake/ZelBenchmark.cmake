# Provides the target zel_benchmark: Google Benchmark. Natively it is Debian's
# libbenchmark-dev. The win64 build measures the code users run (the Windows
# builds' own pixel loops under Wine), and there is no Debian package for
# mingw, so Debian's source package (unpacked by scripts/setup.sh) is built as
# a static library with the same toolchain, as libjpeg-turbo is.
add_library(zel_benchmark INTERFACE)

if(NOT WIN32)
    find_package(benchmark REQUIRED)
    target_link_libraries(zel_benchmark INTERFACE benchmark::benchmark)
    return()
endif()

set(benchmarkSource "${ZEL_CACHE_DIR}/benchmark/src")
if(NOT EXISTS "${benchmarkSource}/CMakeLists.txt")
    message(FATAL_ERROR "Google Benchmark's source not found in ${benchmarkSource}: run scripts/setup.sh")
endif()

include(ExternalProject)
set(benchmarkPrefix "${CMAKE_BINARY_DIR}/google-benchmark")
set(benchmarkLibrary "${benchmarkPrefix}/install/lib/libbenchmark.a")
# Debian's patches leave the version to the packaging (GIT_VERSION); 0.0.0
# takes the one its project() names. The two HAVE_ values answer checks that
# cannot run while cross-compiling.
ExternalProject_Add(google_benchmark
    SOURCE_DIR "${benchmarkSource}"
    PREFIX "${benchmarkPrefix}"
    BINARY_DIR "${benchmarkPrefix}/build"
    INSTALL_DIR "${benchmarkPrefix}/install"
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DCMAKE_BUILD_TYPE=Release
        -DBUILD_SHARED_LIBS=OFF
        -DGIT_VERSION=0.0.0
        -DBENCHMARK_ENABLE_TESTING=OFF
        -DBENCHMARK_ENABLE_GTEST_TESTS=OFF
        -DBENCHMARK_ENABLE_WERROR=OFF
        -DBENCHMARK_INSTALL_DOCS=OFF
        -DHAVE_STD_REGEX=ON
        -DHAVE_STEADY_CLOCK=ON
    BUILD_BYPRODUCTS "${benchmarkLibrary}"
    USES_TERMINAL_BUILD OFF)

file(MAKE_DIRECTORY "${benchmarkPrefix}/install/include")
add_library(zel_benchmark_static STATIC IMPORTED GLOBAL)
set_target_properties(zel_benchmark_static PROPERTIES
    IMPORTED_LOCATION "${benchmarkLibrary}"
    INTERFACE_INCLUDE_DIRECTORIES "${benchmarkPrefix}/install/include"
    INTERFACE_COMPILE_DEFINITIONS BENCHMARK_STATIC_DEFINE
    INTERFACE_LINK_LIBRARIES shlwapi)
add_dependencies(zel_benchmark_static google_benchmark)
target_link_libraries(zel_benchmark INTERFACE zel_benchmark_static)
