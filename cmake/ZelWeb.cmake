# The web preset: Debian's Emscripten through its own CMake toolchain file.
# Programs that run under node (the tests, moviegen, the decode check) are
# linked to see the host's disk (NODERAWFS), grow their memory as native
# programs do, and flush their standard streams when main returns.
function(zel_node_program target)
    if(EMSCRIPTEN)
        target_link_options(${target} PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1 -sEXIT_RUNTIME=1)
    endif()
endfunction()

if(NOT EMSCRIPTEN)
    return()
endif()

# emcc runs JavaScript tools of its own with node and needs Debian's acorn
# package for them. Debian's node finds it; another node (NodeSource's) only
# through NODE_PATH, which the web preset sets for configure, build and test.
list(GET CMAKE_CROSSCOMPILING_EMULATOR 0 node)
execute_process(
    COMMAND "${node}" -e "require('acorn')"
    RESULT_VARIABLE acornMissing
    OUTPUT_QUIET ERROR_QUIET)
if(acornMissing)
    message(FATAL_ERROR "node cannot load acorn, which emcc needs: build through the web preset, "
                        "which sets NODE_PATH=/usr/share/nodejs (scripts/setup.sh installs acorn)")
endif()

# The repository's package.json makes every .js below it an ES module for node;
# the programs Emscripten writes for node are CommonJS, so the build tree says
# so for its own files.
file(CONFIGURE OUTPUT "${CMAKE_BINARY_DIR}/package.json" CONTENT "{\n  \"type\": \"commonjs\"\n}\n")
