#!/usr/bin/env bash
# Installs Velmora into a temporary prefix with `cmake --install` and checks the
# result: exactly the expected files, the desktop entry (desktop-file-validate),
# the AppStream metadata (appstreamcli validate --no-net) and the icon sizes.
#   install_tree.sh CMAKE BUILD_DIR CONFIG APP_ID VERSION
set -euo pipefail
source "$(dirname "$0")/lib.sh"
cmake=$1 build=$2 config=$3 id=$4 version=$5

need desktop-file-validate desktop-file-utils
need appstreamcli appstream

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --config "$config" --prefix "$prefix" >"$work/install.log" ||
    { cat "$work/install.log" >&2; fail "cmake --install failed"; }

# Exactly these files, nothing more.
actual=$(cd "$prefix" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort)
if [ "$actual" != "$(expected_files "$id")" ]; then
    diff <(expected_files "$id") <(printf '%s\n' "$actual") >&2 || true
    fail "the installed files differ from the expected list (< expected, > installed)"
fi

# The program.
[ -x "$prefix/games/velmora" ] || fail "games/velmora is not executable"
[ "$(od -An -c -N4 "$prefix/games/velmora" | tr -d ' \n')" = '177ELF' ] || fail "games/velmora is not an ELF program"

# The desktop entry: valid, without a single warning or hint, and pointing at the
# installed program and icon.
desktop=$prefix/share/applications/$id.desktop
if ! out=$(desktop-file-validate "$desktop" 2>&1) || [ -n "$out" ]; then
    printf '%s\n' "$out" >&2
    fail "desktop-file-validate reports problems in $id.desktop"
fi
grep -qx 'Exec=velmora' "$desktop" || fail "the desktop entry does not run velmora"
grep -qx "Icon=$id" "$desktop" || fail "the desktop entry's icon is not $id"
grep -qx 'Name=Velmora' "$desktop" || fail "the desktop entry is not named Velmora"

# The AppStream metadata: valid, with this version and a screenshot. --strict
# fails on infos as well as on errors and warnings. AppStream 1.0 deprecates
# <developer_name> (an info there) for <developer>, a tag that the 0.16 of
# Debian 12 does not know (an info here); from 1.0 on only errors and warnings fail.
metainfo=$prefix/share/metainfo/$id.metainfo.xml
strict=(--strict)
as_version=$(appstreamcli --version | grep -oE '[0-9]+\.[0-9]+(\.[0-9]+)?' | head -n1)
[ "$(printf '%s\n' 1.0 "$as_version" | sort -V | head -n1)" = 1.0 ] && strict=()
if ! out=$(appstreamcli validate --no-net --no-color "${strict[@]}" "$metainfo" 2>&1); then
    printf '%s\n' "$out" >&2
    fail "appstreamcli validate reports problems in $id.metainfo.xml"
fi
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's id is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "the metainfo does not launch $id.desktop"
grep -q "<release version=\"$version\"" "$metainfo" || fail "the metainfo does not state release $version"
grep -q '<project_license>MIT</project_license>' "$metainfo" || fail "the metainfo does not name the MIT licence"
grep -qE '<image>https?://[^<]+</image>' "$metainfo" || fail "the metainfo has no screenshot"

# The icons: PNG pictures of their nominal size.
for size in 16 32; do
    icon=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
    is_png "$icon" || fail "$icon is not a PNG picture"
    [ "$(png_size "$icon")" = "$size $size" ] || fail "$icon is $(png_size "$icon"), not $size x $size"
done

echo "install tree: $(expected_files "$id" | wc -l) files, desktop entry and metainfo valid"
