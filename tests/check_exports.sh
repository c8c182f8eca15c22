#!/bin/sh
# Fails unless the plug-in's dynamic symbol table defines exactly VSTPluginMain and main.
set -eu
exports=$(nm -D --defined-only "$1" | awk '{print $NF}' | sort | tr '\n' ' ')
if [ "$exports" != "VSTPluginMain main " ]; then
    echo "unexpected exports: $exports" >&2
    exit 1
fi
echo "exports: $exports"
