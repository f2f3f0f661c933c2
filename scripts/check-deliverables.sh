#!/usr/bin/env bash
# Checks the shipped binaries as a Windows machine will meet them: the plug-in's
# and the control's exports are undecorated, the control's keep their ordinals
# and its export directory names it ZEL.OCX, and every deliverable imports
# system DLLs only (the mingw runtime is linked in). Prints one line per check;
# exits 1 if any fails.
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

# Each export as "ORDINAL NAME", in ordinal order, and the module name stored
# in the export directory.
check_ordinals() {
    local preset=$1 file=$2 objdump=$3 module=$4 exports=$5
    local path="build/$preset/$file"
    [ -f "$path" ] || return  # check has reported it
    local dump
    dump=$("$objdump" -p "$path")
    local base
    base=$(sed -n 's/^Ordinal Base[[:space:]]*//p' <<<"$dump")
    local numbered
    numbered=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$dump" | sed -n 's/^\t\[ *\([0-9]*\)\] \(.*\)$/\1 \2/p' |
        while read -r index name; do echo "$((index + ${base:-0})) $name"; done | sort -n | tr '\n' ' ')
    if [ "$numbered" != "$exports " ]; then
        echo "FAIL $path exports by ordinal '$numbered', not '$exports'"
        failures=$((failures + 1))
    else
        echo "ok   $path exports by ordinal $exports"
    fi
    local named
    named=$(sed -n 's/^Name[[:space:]]*[0-9a-fA-F]* //p' <<<"$dump")
    if [ "$named" != "$module" ]; then
        echo "FAIL $path names itself '$named' in its export directory, not '$module'"
        failures=$((failures + 1))
    else
        echo "ok   $path names itself $module"
    fi
}

plugin_exports="NP_GetEntryPoints NP_Initialize NP_Shutdown"
check win32 plugin/NpZel.dll i686-w64-mingw32-objdump "$plugin_exports"
check win64 plugin/NpZel.dll x86_64-w64-mingw32-objdump "$plugin_exports"
control_exports="DllCanUnloadNow DllGetClassObject DllRegisterServer DllUnregisterServer"
control_ordinals="1 DllCanUnloadNow 2 DllGetClassObject 3 DllRegisterServer 4 DllUnregisterServer"
check win32 control/ZEL.OCX i686-w64-mingw32-objdump "$control_exports"
check win64 control/ZEL.OCX x86_64-w64-mingw32-objdump "$control_exports"
check_ordinals win32 control/ZEL.OCX i686-w64-mingw32-objdump ZEL.OCX "$control_ordinals"
check_ordinals win64 control/ZEL.OCX x86_64-w64-mingw32-objdump ZEL.OCX "$control_ordinals"
check win32 installer/ZelSetup.exe i686-w64-mingw32-objdump ""
exit $((failures > 0))
