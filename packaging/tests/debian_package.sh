#!/usr/bin/env bash
# Builds the Debian package with `cpack -G DEB` and checks its control fields and
# its files with dpkg-deb.
#   debian_package.sh CPACK BUILD_DIR CONFIG OUT_DIR APP_ID VERSION SUMMARY
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cpack=$1 build=$2 config=$3 out=$4 id=$5 version=$6 summary=$7

need dpkg-deb dpkg
need dpkg-shlibdeps dpkg-dev

rm -rf "$out"
mkdir -p "$out"
(cd "$build" && "$cpack" -G DEB -C "$config" -B "$out") >"$out/cpack.log" 2>&1 ||
    { cat "$out/cpack.log" >&2; fail "cpack -G DEB failed"; }
grep -q 'CPack Warning\|CPack Error' "$out/cpack.log" && { cat "$out/cpack.log" >&2; fail "cpack reports problems"; }

arch=$(dpkg --print-architecture)
deb=$out/velmora_${version}_$arch.deb
[ -f "$deb" ] || { ls "$out" >&2; fail "cpack made no $(basename "$deb")"; }

field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = velmora ] || fail "Package is '$(field Package)', not velmora"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture is '$(field Architecture)', not $arch"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)', not games"
[ -n "$(field Maintainer)" ] || fail "the package has no Maintainer"
description=$(field Description)
[ "$(head -n1 <<<"$description")" = "$summary" ] || fail "the Description's first line is not '$summary'"
[ "$(wc -l <<<"$description")" -gt 1 ] || fail "the Description has no long text"
awk 'length > 80 { exit 1 }' <<<"$description" || fail "the Description has lines over 80 characters"

# The dependencies were found by dpkg-shlibdeps from the program's libraries:
# the C library and Qt Widgets at least, each with a version bound.
depends=$(field Depends)
[ -n "$depends" ] || fail "the package has no Depends"
grep -qE '(^|, )libc6 \(>= [^)]+\)' <<<"$depends" || fail "Depends lacks libc6 with a version: $depends"
grep -qE '(^|, )libqt6widgets6[a-z0-9]* \(>= [^)]+\)' <<<"$depends" || fail "Depends lacks libqt6widgets6 with a version: $depends"
[ "$(field Recommends)" = qt6-wayland ] || fail "Recommends is '$(field Recommends)', not qt6-wayland"

# The files: the same as an installation under /usr.
dpkg-deb --contents "$deb" >"$out/contents.txt" || fail "dpkg-deb cannot list the package"
actual=$(awk '$1 !~ /^d/ { print $6 }' "$out/contents.txt" | sed 's|^\./usr/||' | LC_ALL=C sort)
if [ "$actual" != "$(expected_files "$id")" ]; then
    diff <(expected_files "$id") <(printf '%s\n' "$actual") >&2 || true
    fail "the package's files differ from the expected list (< expected, > packaged)"
fi
awk '$1 !~ /^d/ && $2 != "root/root" { bad = 1 } END { exit bad }' "$out/contents.txt" ||
    fail "a packaged file is not owned by root"
grep -qE '^-rwxr-xr-x root/root .* \./usr/games/velmora$' "$out/contents.txt" || fail "/usr/games/velmora is not -rwxr-xr-x"

# The changelog starts with this version, as dpkg reads it.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/share/doc/velmora/changelog.gz | gzip -dc >"$out/changelog"
[ "$(dpkg-parsechangelog -l "$out/changelog" -S Version)" = "$version" ] ||
    fail "the changelog's newest entry is not version $version"

# The program is stripped, and links no zlib: only the build tools that write
# the icon files use it.
dpkg-deb --fsys-tarfile "$deb" | tar -xO ./usr/games/velmora >"$out/velmora"
if readelf -S "$out/velmora" | grep -q '\.debug_info'; then
    fail "/usr/games/velmora carries debug information"
fi
if readelf -d "$out/velmora" | grep -q 'NEEDED.*\[libz\.'; then
    fail "/usr/games/velmora links zlib"
fi

echo "Debian package: $(basename "$deb"), $(stat -c %s "$deb") bytes, Depends: $depends"
