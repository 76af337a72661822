#!/bin/sh
# Runs a Windows program under Wine in a private X server and a Wine prefix whose
# wineserver ends with the program: Wine's desktop process keeps to the X server
# it first met, so no later run may find it.
#   wine-in-xvfb.sh PREFIX WINE PROGRAM [ARGUMENT...]
prefix=$1 wine=$2
shift 2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$prefix"
xvfb-run --auto-servernum "$wine" "$@"
status=$?
wineserver --kill
wineserver --wait
exit $status
