#!/usr/bin/env bash
# Checks the built Windows modules: each exports exactly ImportTable and
# Linkage under undecorated names and imports only Windows system DLLs.
set -u
dir=${1:?usage: check_windows_modules.sh GAUGES_DIR}
objdump=i686-w64-mingw32-objdump
status=0
system_dlls='^(KERNEL32|USER32|GDI32|WINMM|DSOUND|DDRAW|MSVCRT|ADVAPI32|OLE32)\.DLL$'
for module in Quillmar Quillmar_EADI Quillmar_EHSI; do
    file="$dir/$module.gau"
    if [ ! -f "$file" ]; then
        echo "$module: $file is missing"; status=1; continue
    fi
    if ! $objdump -f "$file" | grep -q 'file format pei-i386'; then
        echo "$module: not a 32-bit Windows library"; status=1
    fi
    exports=$($objdump -p "$file" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
              grep -E '^\s+\[ *[0-9]+\] ' | awk '{print $NF}' | sort | tr '\n' ' ')
    if [ "$exports" != "ImportTable Linkage " ]; then
        echo "$module: exports '$exports', expected 'ImportTable Linkage '"; status=1
    fi
    while read -r dll; do
        if ! tr '[:lower:]' '[:upper:]' <<<"$dll" | grep -qE "$system_dlls"; then
            echo "$module: imports $dll, which is not a Windows system DLL"; status=1
        fi
    done < <($objdump -p "$file" | awk '/DLL Name:/ {print $3}')
done
[ $status -eq 0 ] && echo "Windows modules: exports and imports as expected"
exit $status
