#!/usr/bin/env bash
# Compiles Velmora's Windows resource script with Debian's MinGW-w64 windres,
# turns the compiled resources back into text and checks the icon and the
# version information in it.
#   windows_resources.sh RC_FILE ICO_FILE VERSION DISPLAY_VERSION COMPANY EMAIL COPYRIGHT
set -euo pipefail
source "$(dirname "$0")/lib.sh"
rc=$1 ico=$2 version=$3 display_version=$4 company=$5 email=$6 copyright=$7

windres=x86_64-w64-mingw32-windres
need "$windres" binutils-mingw-w64-x86-64
need icotool icoutils
need cpp cpp
[ -f "$ico" ] || fail "the icon $ico has not been built"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# windres preprocesses with the MinGW-w64 C compiler when it is there; the host's
# preprocessor does as well, since the script includes no headers.
preprocessor=()
command -v x86_64-w64-mingw32-gcc >/dev/null 2>&1 || preprocessor=(--preprocessor=cpp --preprocessor-arg=-undef)

"$windres" "${preprocessor[@]}" --input "$rc" --output-format=res --output "$work/velmora.res" 2>"$work/err" &&
    [ ! -s "$work/err" ] || { cat "$work/err" >&2; fail "windres could not compile $rc"; }
"$windres" --input "$work/velmora.res" --output-format=rc --output "$work/back.rc" 2>"$work/err" &&
    [ ! -s "$work/err" ] || { cat "$work/err" >&2; fail "windres could not read back the compiled resources"; }
"$windres" "${preprocessor[@]}" --input "$rc" --output-format=coff --output "$work/velmora.o" 2>"$work/err" &&
    [ ! -s "$work/err" ] || { cat "$work/err" >&2; fail "windres could not compile $rc to an object"; }
back=$work/back.rc

count() { grep -cE "$1" "$back" || true; }
expect_count() {
    local n
    n=$(count "$1")
    [ "$n" -eq "$2" ] || { cat "$back" >&2; fail "$3 (found $n)"; }
}

# Every resource is U.S. English.
grep -E '^LANGUAGE ' "$back" | grep -qvx 'LANGUAGE 9, 1' && fail "a resource is not in U.S. English"

# The version information: one resource, numeric versions from the project version.
expect_count '^[^ ]+ VERSIONINFO$' 1 "there is not exactly one VERSIONINFO"
numeric=${version//./, }
grep -qx " FILEVERSION $numeric" "$back" || fail "FILEVERSION is not $numeric"
grep -qx " PRODUCTVERSION $numeric" "$back" || fail "PRODUCTVERSION is not $numeric"
grep -qx ' FILEOS 0x40004' "$back" || fail "FILEOS is not VOS_NT_WINDOWS32"
grep -qx ' FILETYPE 0x1' "$back" || fail "FILETYPE is not VFT_APP"

# One string table, U.S. English, Unicode, and its translation entry.
expect_count 'BLOCK "StringFileInfo"' 1 "there is not exactly one StringFileInfo"
expect_count '^ +BLOCK "[0-9A-Fa-f]{8}"' 1 "there is not exactly one string table"
expect_count '^ +BLOCK "040904B0"' 1 "the string table is not 040904B0"
grep -qx ' *VALUE "Translation", 0x409, 1200' "$back" || fail "the translation is not 0x409, 1200"

# The strings.
rc_quote() { printf '"%s"' "${1//\"/\"\"}"; }
check_value() {
    local name=$1 value=$2 line
    line="VALUE \"$name\", $(rc_quote "$value")"
    expect_count "^ *VALUE \"$name\"," 1 "there is not exactly one $name"
    grep -qxF "      $line" "$back" || { grep -F "\"$name\"" "$back" >&2; fail "$name is not $(rc_quote "$value")"; }
}
check_value FileVersion "$display_version"
check_value ProductVersion "$display_version"
check_value FileDescription Velmora
check_value ProductName Velmora
check_value InternalName Velmora
check_value OriginalFilename Velmora.exe
check_value CompanyName "$company"
check_value Comments "$email"
check_value LegalCopyright "$copyright"
expect_count '^ *VALUE "' 10 "the version information holds other values than the nine strings and the translation"

# The displayed version is the numeric one written as 1.00.0002.
IFS=. read -r major minor patch tweak <<<"$version"
printf -v derived '%d.%02d.%04d' "$major" "$minor" "$tweak"
[ "$display_version" = "$derived" ] || fail "the displayed version $display_version is not $derived"
[ "$patch" -eq 0 ] || fail "the displayed version has no place for the third number ($patch)"

# The icon: one group named IDI_ICON1 holding the 32 x 32 and 16 x 16 pictures of
# the generated .ico at 4 bits per pixel, 16 colours.
icotool --list "$ico" >"$work/ico.txt" || fail "icotool cannot read $ico"
grep -qx -- '--icon --index=1 --width=32 --height=32 --bit-depth=4 --palette-size=16' "$work/ico.txt" ||
    { cat "$work/ico.txt" >&2; fail "$ico has no 32 x 32, 4 bpp picture first"; }
grep -qx -- '--icon --index=2 --width=16 --height=16 --bit-depth=4 --palette-size=16' "$work/ico.txt" ||
    { cat "$work/ico.txt" >&2; fail "$ico has no 16 x 16, 4 bpp picture second"; }
expect_count 'RT_GROUP_ICON' 1 "there is not exactly one icon group"
expect_count 'RT_ICON' 2 "there are not exactly two icon pictures"
grep -q '^"IDI_ICON1" 14 /\* RT_GROUP_ICON \*/' "$back" || fail "the icon group is not named IDI_ICON1"
grep -q '^   0, 1, 2,' "$back" || fail "the icon group does not hold two pictures"
grep -qE '^ +"\\040\\040\\020\\000", 1, 4, ' "$back" || fail "the icon group has no 32 x 32, 16-colour, 4 bpp picture"
grep -qE '^ +"\\020\\020\\020\\000", 1, 4, ' "$back" || fail "the icon group has no 16 x 16, 16-colour, 4 bpp picture"

# The object file is a COFF object for x86-64.
x86_64-w64-mingw32-objdump -f "$work/velmora.o" | grep -q 'file format pe-x86-64' ||
    fail "the compiled resources are not a pe-x86-64 object"

echo "Windows resources: version information and icon as expected"
