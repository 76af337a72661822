#!/bin/sh
# Runs a Windows program under Wine in a private X server and a Wine prefix whose
# wineserver ends with the program: Wine's desktop process keeps to the X server
# it first met, so no later run may find it.
#   wine-in-xvfb.sh PREFIX WINE PROGRAM [ARGUMENT...]
# The X server picks a free display itself and says which: a number chosen here
# beforehand could be taken by another test's server before this one starts.
prefix=$1 wine=$2
shift 2
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
mkdir -p "$prefix"
display=$(mktemp)
Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$display" 2>/dev/null &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -f "$display"' EXIT
trap 'exit 1' INT TERM
until [ -s "$display" ]; do
    kill -0 $xvfb 2>/dev/null || { echo "wine-in-xvfb.sh: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
done
DISPLAY=:$(cat "$display") "$wine" "$@"
status=$?
wineserver --kill
wineserver --wait
exit $status
