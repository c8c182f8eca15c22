#!/bin/sh
# Reads a Windows DLL's export and import tables:  check_dll.sh OBJDUMP TARVA.dll
# Fails unless it exports exactly VSTPluginMain and main, at one address, and imports only
# system DLLs: the compiler's runtime (libstdc++, libgcc, winpthread) must be linked in.
set -eu
table=$("$1" -p "$2")

# "[Ordinal/Name Pointer] Table" lists the exported names, one "[   n] name" a line.
exports=$(printf '%s\n' "$table" |
    sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort | tr '\n' ' ')
if [ "$exports" != "VSTPluginMain main " ]; then
    echo "unexpected exports: $exports" >&2
    exit 1
fi

# The Export Address Table: both names must lead to one function.
addresses=$(printf '%s\n' "$table" |
    sed -n '/^Export Address Table/,/^$/p' |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*[+]*[[:space:]]*base\[[[:space:]]*[0-9]*\][[:space:]]*//p' |
    sort -u | wc -l)
if [ "$addresses" -ne 1 ]; then
    echo "the exports lead to $addresses addresses, not one" >&2
    exit 1
fi

system='^(kernel32|user32|gdi32|advapi32|shell32|ole32|comdlg32|comctl32|msimg32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]*)\.dll$'
imports=$(printf '%s\n' "$table" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | sort -u)
foreign=$(printf '%s\n' "$imports" | tr 'A-Z' 'a-z' | grep -Ev "$system" || true)
if [ -n "$foreign" ]; then
    echo "imports DLLs that are not part of Windows:" $foreign >&2
    exit 1
fi
echo "exports: $exports; imports:" $imports
