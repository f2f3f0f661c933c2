# Provides the target zel_jpeg: the libjpeg API of libjpeg-turbo with SIMD.
# Natively it is Debian's libjpeg62-turbo; for Windows there is no package, so
# Debian's source package (unpacked by scripts/setup.sh) is built as a static
# library with the same mingw toolchain and nasm. The fuzz preset builds the
# same source with clang, AddressSanitizer and libFuzzer's coverage but without
# SIMD (assembly is not instrumented), so the decoder's paths guide the fuzzer
# and its writes into our rows are checked. The web preset builds it with
# Emscripten, also without SIMD (libjpeg-turbo has none for wasm): its C code
# decodes to the same pixels as the SIMD builds, which the web preset's tests
# check against Debian's djpeg.
add_library(zel_jpeg INTERFACE)

if(NOT WIN32 AND NOT ZEL_FUZZ AND NOT EMSCRIPTEN)
    find_package(JPEG REQUIRED)
    target_link_libraries(zel_jpeg INTERFACE JPEG::JPEG)
    return()
endif()

set(jpegSource "${ZEL_CACHE_DIR}/libjpeg-turbo/src")
if(NOT EXISTS "${jpegSource}/CMakeLists.txt")
    message(FATAL_ERROR "libjpeg-turbo source not found in ${jpegSource}: run scripts/setup.sh")
endif()

include(ExternalProject)
set(jpegPrefix "${CMAKE_BINARY_DIR}/libjpeg-turbo")

# The static library alone, without SIMD, configured with the CMake arguments
# ARGS; its headers are the source's and jconfig.h in the build folder. A value
# that is a list (the emulator) goes in CACHE_ARGS, which keeps it whole.
function(zel_jpeg_without_simd)
    cmake_parse_arguments(arg "" "" "ARGS;CACHE_ARGS" ${ARGN})
    set(jpegBuild "${jpegPrefix}/build")
    ExternalProject_Add(libjpeg_turbo
        SOURCE_DIR "${jpegSource}"
        PREFIX "${jpegPrefix}"
        BINARY_DIR "${jpegBuild}"
        CMAKE_GENERATOR Ninja
        CMAKE_ARGS
            ${arg_ARGS}
            -DCMAKE_BUILD_TYPE=Release
            -DENABLE_SHARED=OFF
            -DENABLE_STATIC=ON
            -DWITH_TURBOJPEG=OFF
            -DWITH_SIMD=OFF
        CMAKE_CACHE_ARGS ${arg_CACHE_ARGS}
        BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
        INSTALL_COMMAND ""
        BUILD_BYPRODUCTS "${jpegBuild}/libjpeg.a"
        USES_TERMINAL_BUILD OFF)
    file(MAKE_DIRECTORY "${jpegBuild}")
    add_library(zel_jpeg_static STATIC IMPORTED GLOBAL)
    set_target_properties(zel_jpeg_static PROPERTIES
        IMPORTED_LOCATION "${jpegBuild}/libjpeg.a"
        INTERFACE_INCLUDE_DIRECTORIES "${jpegSource};${jpegBuild}")
    add_dependencies(zel_jpeg_static libjpeg_turbo)
    target_link_libraries(zel_jpeg INTERFACE zel_jpeg_static)
endfunction()

if(ZEL_FUZZ)
    string(JOIN " " jpegFlags -g -fsanitize=fuzzer-no-link,address -fno-omit-frame-pointer)
    zel_jpeg_without_simd(ARGS -DCMAKE_C_COMPILER=${CMAKE_C_COMPILER} -DCMAKE_C_FLAGS=${jpegFlags})
    return()
endif()

# libjpeg-turbo's configure runs its size checks under the emulator; node's
# default flags there give a wrong word size (see the web preset).
if(EMSCRIPTEN)
    zel_jpeg_without_simd(
        ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        CACHE_ARGS "-DCMAKE_CROSSCOMPILING_EMULATOR:STRING=${CMAKE_CROSSCOMPILING_EMULATOR}")
    return()
endif()

set(jpegLibrary "${jpegPrefix}/install/lib/libjpeg.a")
ExternalProject_Add(libjpeg_turbo
    SOURCE_DIR "${jpegSource}"
    PREFIX "${jpegPrefix}"
    BINARY_DIR "${jpegPrefix}/build"
    INSTALL_DIR "${jpegPrefix}/install"
    CMAKE_GENERATOR Ninja
    CMAKE_ARGS
        -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
        -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
        -DCMAKE_BUILD_TYPE=Release
        -DENABLE_SHARED=OFF
        -DENABLE_STATIC=ON
        -DWITH_TURBOJPEG=OFF
        -DREQUIRE_SIMD=ON
        # Its Windows installer target names a shared "jpeg" we never build;
        # with the old policy CMake warns about that on every configure.
        -DCMAKE_POLICY_DEFAULT_CMP0058=NEW
    BUILD_BYPRODUCTS "${jpegLibrary}"
    USES_TERMINAL_BUILD OFF)

file(MAKE_DIRECTORY "${jpegPrefix}/install/include")
add_library(zel_jpeg_static STATIC IMPORTED GLOBAL)
set_target_properties(zel_jpeg_static PROPERTIES
    IMPORTED_LOCATION "${jpegLibrary}"
    INTERFACE_INCLUDE_DIRECTORIES "${jpegPrefix}/install/include")
add_dependencies(zel_jpeg_static libjpeg_turbo)
target_link_libraries(zel_jpeg INTERFACE zel_jpeg_static)
