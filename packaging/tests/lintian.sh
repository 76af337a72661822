#!/usr/bin/env bash
# Runs lintian, Debian's package checker, on the package that debian_package.sh
# built, and fails on every error and warning it reports. Its notes (I:) are
# shown but pass. The Debian profile applies on every distribution, Ubuntu too.
#   lintian.sh DEB_DIR VERSION
set -euo pipefail
source "$(dirname "$0")/lib.sh"
dir=$1 version=$2

need lintian lintian

deb=$dir/velmora_${version}_$(dpkg --print-architecture).deb
[ -f "$deb" ] || fail "there is no $deb to check"

# lintian warns on its standard error when run as root; that is no finding.
status=0
report=$(lintian --profile debian --display-info --fail-on error,warning "$deb" 2>"$dir/lintian.err") || status=$?
printf '%s\n' "$report"
if [ "$status" -ne 0 ] || grep -qE '^[EW]: ' <<<"$report"; then
    cat "$dir/lintian.err" >&2
    fail "lintian reports errors or warnings on $(basename "$deb") (exit status $status)"
fi
echo "lintian $(lintian --print-version): no error and no warning on $(basename "$deb")"
