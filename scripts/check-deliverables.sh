#!/usr/bin/env bash
# Checks the shipped binaries as a Windows machine will meet them: the plug-in's
# exports are undecorated and every deliverable imports system DLLs only (the
# mingw runtime is linked in). Prints one line per check; exits 1 if any fails.
set -uo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

allowed='^(kernel32|user32|gdi32|ddraw|msvcrt|ole32|oleaut32|urlmon|advapi32|shell32|comctl32|version)\.dll$'
failures=0

check() {
    local preset=$1 file=$2 objdump=$3 exports=$4
    local path="build/$preset/$file"
    if [ ! -f "$path" ]; then
        echo "FAIL $path: not built"
        failures=$((failures + 1))
        return
    fi
    local dump
    dump=$("$objdump" -p "$path")
    local bad
    bad=$(sed -n 's/^\tDLL Name: //p' <<<"$dump" | tr 'A-Z' 'a-z' | grep -Ev "$allowed" | tr '\n' ' ')
    if [ -n "$bad" ]; then
        echo "FAIL $path imports non-system DLLs: $bad"
        failures=$((failures + 1))
    else
        echo "ok   $path imports system DLLs only"
    fi
    if [ -n "$exports" ]; then
        local names
        names=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\t\[ *[0-9]*\] //p' | sort | tr '\n' ' ')
        if [ "$names" != "$exports " ]; then
            echo "FAIL $path exports '$names', not '$exports'"
            failures=$((failures + 1))
        else
            echo "ok   $path exports $exports"
        fi
    fi
}

plugin_exports="NP_GetEntryPoints NP_Initialize NP_Shutdown"
check win32 plugin/NpZel.dll i686-w64-mingw32-objdump "$plugin_exports"
check win64 plugin/NpZel.dll x86_64-w64-mingw32-objdump "$plugin_exports"
check win32 installer/ZelSetup.exe i686-w64-mingw32-objdump ""
exit $((failures > 0))
