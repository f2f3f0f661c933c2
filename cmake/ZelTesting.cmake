# GoogleTest in every build and the way tests are registered.
# Natively Debian's built library is used; the Windows and web builds compile
# its sources (/usr/src/googletest) with their own toolchains. Windows test
# programs run under 64-bit Wine through tests/win/wine-run.sh; the 32-bit build
# cannot run here (this kernel has no 32-bit execution), so its tests are built
# only. Web test programs run under node (the preset's emulator).
include(GoogleTest)
enable_testing()

if(NOT CMAKE_CROSSCOMPILING)
    find_package(GTest REQUIRED)
    add_library(zel_gtest INTERFACE)
    target_link_libraries(zel_gtest INTERFACE GTest::gtest GTest::gmock)
    add_library(zel_gtest_main INTERFACE)
    target_link_libraries(zel_gtest_main INTERFACE zel_gtest GTest::gtest_main)
    set(ZEL_RUN_TESTS ON)
else()
    set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    if(EMSCRIPTEN)
        # Without -pthread Emscripten's pthreads are stubs; GoogleTest needs none.
        set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
    endif()
    add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL SYSTEM)
    add_library(zel_gtest INTERFACE)
    target_link_libraries(zel_gtest INTERFACE gtest gmock)
    add_library(zel_gtest_main INTERFACE)
    target_link_libraries(zel_gtest_main INTERFACE zel_gtest gtest_main)
    if(EMSCRIPTEN)
        set(ZEL_RUN_TESTS ON)
    elseif(CMAKE_SYSTEM_PROCESSOR STREQUAL "AMD64")
        set(ZEL_RUN_TESTS ON)
        set(ZEL_WINE_RUN "${CMAKE_SOURCE_DIR}/tests/win/wine-run.sh")
        set(ZEL_WINE_STATE "${CMAKE_BINARY_DIR}/wine")
        set(CMAKE_CROSSCOMPILING_EMULATOR "${ZEL_WINE_RUN};--state;${ZEL_WINE_STATE}")
        set(ZEL_HTTP_SERVER "${CMAKE_SOURCE_DIR}/tests/win/control/http-server.sh")
        set(ZEL_HTTP_STATE "${CMAKE_BINARY_DIR}/http")
    else()
        set(ZEL_RUN_TESTS OFF)
    endif()
endif()

# zel_add_gtest(NAME SOURCES ... LIBS ... [DISPLAYS null 16 8] [HTTP] [PROPERTIES name value ...])
# Under Wine a program runs on Wine's null graphics driver (a 32-bit display)
# unless DISPLAYS names Xvfb depths; each display registers the program's
# tests once more, prefixed "depthN.". The program learns its display from
# ZEL_WINE_DISPLAY (null, xvfb16, xvfb8).
# With HTTP its tests also need the loopback HTTP server (fixture "http"): they
# find the folder it serves in ZEL_HTTP_ROOT, the file holding its port in
# ZEL_HTTP_PORT_FILE and its request log in ZEL_HTTP_LOG (Unix paths).
function(zel_add_gtest name)
    cmake_parse_arguments(arg "HTTP" "" "SOURCES;LIBS;DISPLAYS;PROPERTIES" ${ARGN})
    add_executable(${name} ${arg_SOURCES})
    target_link_libraries(${name} PRIVATE ${arg_LIBS} zel_gtest_main)
    zel_warnings(${name})
    zel_node_program(${name})
    if(NOT ZEL_RUN_TESTS)
        return()
    endif()
    if(NOT CMAKE_CROSSCOMPILING)
        gtest_discover_tests(${name} PROPERTIES TIMEOUT 120 ${arg_PROPERTIES})
        return()
    endif()
    if(EMSCRIPTEN)
        # Listing the cases starts node and compiles the whole program.
        gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES TIMEOUT 120 ${arg_PROPERTIES})
        return()
    endif()
    if(NOT arg_DISPLAYS)
        set(arg_DISPLAYS null)
    endif()
    foreach(display IN LISTS arg_DISPLAYS)
        if(display STREQUAL "null")
            set(fixture wine)
            set(prefix "")
            set(environment "ZEL_WINE_DISPLAY=null")
        else()
            set(fixture xvfb${display})
            set(prefix "depth${display}.")
            set(environment "ZEL_WINE_DISPLAY=xvfb${display}")
            set_property(GLOBAL APPEND PROPERTY ZEL_XVFB_DEPTHS ${display})
        endif()
        set(testList "")
        if(arg_HTTP)
            set(testList TEST_LIST ${name}_${display}_TESTS)
        endif()
        gtest_discover_tests(${name}
            TEST_PREFIX "${prefix}"
            DISCOVERY_MODE PRE_TEST
            DISCOVERY_TIMEOUT 120
            ${testList}
            PROPERTIES FIXTURES_REQUIRED ${fixture} ENVIRONMENT ${environment} TIMEOUT 300 ${arg_PROPERTIES})
        if(arg_HTTP)
            zel_require_http(${name}_${display}_TESTS "${fixture}" "${environment}")
        endif()
    endforeach()
endfunction()

# Gives the tests discovered into the list variable `testList` the http fixture
# and the server's environment besides their display's. gtest_discover_tests
# passes each property a single value, so the two-value lists are set by a
# script CTest reads right after the discovered tests.
function(zel_require_http testList displayFixture displayEnvironment)
    set_property(GLOBAL PROPERTY ZEL_HTTP_WANTED ON)
    set(environment
        ${displayEnvironment}
        "ZEL_HTTP_ROOT=${ZEL_HTTP_STATE}/root"
        "ZEL_HTTP_PORT_FILE=${ZEL_HTTP_STATE}/port"
        "ZEL_HTTP_LOG=${ZEL_HTTP_STATE}/log")
    set(script "${CMAKE_CURRENT_BINARY_DIR}/${testList}_http.cmake")
    file(WRITE "${script}"
        "if(NOT \"\${${testList}}\" STREQUAL \"\")\n"
        "    set_tests_properties(\${${testList}} PROPERTIES\n"
        "        FIXTURES_REQUIRED \"${displayFixture};http\"\n"
        "        ENVIRONMENT \"${environment}\")\n"
        "endif()\n")
    set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES "${script}")
endfunction()

# The fixtures of the Wine tests; called once every test is registered, so
# that only the X displays some program asked for are started.
function(zel_add_wine_fixtures)
    if(NOT (ZEL_RUN_TESTS AND ZEL_WINE_RUN))
        return()
    endif()
    # One settled prefix per build tree, shared by every test; the wrapper
    # creates it under a lock, so parallel tests never race to build it.
    add_test(NAME wine.prefix COMMAND "${ZEL_WINE_RUN}" --state "${ZEL_WINE_STATE}" --setup)
    set_tests_properties(wine.prefix PROPERTIES FIXTURES_SETUP wine TIMEOUT 300)
    add_test(NAME wine.shutdown COMMAND "${ZEL_WINE_RUN}" --state "${ZEL_WINE_STATE}" --shutdown)
    set_tests_properties(wine.shutdown PROPERTIES FIXTURES_CLEANUP wine)

    get_property(depths GLOBAL PROPERTY ZEL_XVFB_DEPTHS)
    list(REMOVE_DUPLICATES depths)
    foreach(depth IN LISTS depths)
        add_test(NAME xvfb${depth}.start COMMAND "${ZEL_WINE_RUN}" --state "${ZEL_WINE_STATE}" --start-xvfb ${depth})
        set_tests_properties(xvfb${depth}.start PROPERTIES
            FIXTURES_SETUP xvfb${depth} FIXTURES_REQUIRED wine TIMEOUT 60)
        add_test(NAME xvfb${depth}.stop COMMAND "${ZEL_WINE_RUN}" --state "${ZEL_WINE_STATE}" --stop-xvfb ${depth})
        set_tests_properties(xvfb${depth}.stop PROPERTIES FIXTURES_CLEANUP xvfb${depth})
    endforeach()

    get_property(http GLOBAL PROPERTY ZEL_HTTP_WANTED)
    if(http)
        add_test(NAME http.start COMMAND "${ZEL_HTTP_SERVER}" --state "${ZEL_HTTP_STATE}" --start)
        set_tests_properties(http.start PROPERTIES FIXTURES_SETUP http TIMEOUT 60)
        add_test(NAME http.stop COMMAND "${ZEL_HTTP_SERVER}" --state "${ZEL_HTTP_STATE}" --stop)
        set_tests_properties(http.stop PROPERTIES FIXTURES_CLEANUP http)
    endif()
endfunction()
