# Shared by the packaging tests.

fail() {
    printf 'FAIL: %s\n' "$*" >&2
    exit 1
}

need() {
    local tool=$1 package=$2
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is not installed (Debian package $package; scripts/test installs it)"
}

# The files an installation holds, relative to its prefix, sorted.
expected_files() {
    local id=$1
    printf '%s\n' \
        "games/velmora" \
        "share/applications/$id.desktop" \
        "share/doc/velmora/changelog.gz" \
        "share/doc/velmora/copyright" \
        "share/icons/hicolor/16x16/apps/$id.png" \
        "share/icons/hicolor/32x32/apps/$id.png" \
        "share/man/man6/velmora.6.gz" \
        "share/metainfo/$id.metainfo.xml" | LC_ALL=C sort
}

# Width and height of a PNG file, from its IHDR chunk: "32 32".
png_size() {
    local bytes
    bytes=$(od -An -tu1 -j16 -N8 -v "$1" | tr -s ' \n' ' ')
    read -r w1 w2 w3 w4 h1 h2 h3 h4 <<<"$bytes"
    echo "$(( (w1 << 24) | (w2 << 16) | (w3 << 8) | w4 )) $(( (h1 << 24) | (h2 << 16) | (h3 << 8) | h4 ))"
}

is_png() {
    [ "$(od -An -tx1 -N8 "$1" | tr -d ' \n')" = "89504e470d0a1a0a" ]
}
