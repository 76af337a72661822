#!/usr/bin/env bash
# Checks the manual page with two independent roff checkers, groff with every
# warning and mandoc's linter, then as lintian does, and renders it with man as
# a reader would.
#   manual_page.sh PAGE DISPLAY_VERSION AUTHOR
set -euo pipefail
source "$(dirname "$0")/lib.sh"
page=$1 display_version=$2 author=$3

need groff groff-base
need mandoc mandoc
need man man-db
[ -f "$page" ] || fail "the manual page $page has not been built"

if ! out=$(groff -man -ww -z -Tutf8 "$page" 2>&1) || [ -n "$out" ]; then
    printf '%s\n' "$out" >&2
    fail "groff -ww reports problems in $(basename "$page")"
fi
if ! out=$(mandoc -T lint -W style "$page" 2>&1) || [ -n "$out" ]; then
    printf '%s\n' "$out" >&2
    fail "mandoc -T lint reports problems in $(basename "$page")"
fi

# The check that lintian makes, with this system's man and groff.
if ! out=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null) ||
    [ -n "$out" ]; then
    printf '%s\n' "$out" >&2
    fail "man --warnings reports problems in $(basename "$page")"
fi

# What a reader sees, spaces squeezed: the sections the page promises, the
# version and the credits.
text=$(MANWIDTH=80 LC_ALL=C.UTF-8 man -E UTF-8 -l "$page" | col -bx | tr -s ' ')
for heading in NAME SYNOPSIS DESCRIPTION OPTIONS FILES ENVIRONMENT 'EXIT STATUS' AUTHORS; do
    grep -qx "$heading" <<<"$text" || { printf '%s\n' "$text" >&2; fail "the page has no $heading section"; }
done
grep -q "velmora - show which cards" <<<"$text" || fail "the page's NAME line is not what whatis expects"
grep -q "Velmora $display_version" <<<"$text" || fail "the page does not state version $display_version"
grep -qF "made by $author" <<<"$text" || fail "the page does not credit $author"

echo "manual page: groff -ww and mandoc -T lint clean, $(wc -l <<<"$text") lines as rendered"
