# Shared by the project's scripts: where things are, and installing what is missing.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# What building Velmora and its benchmarks needs.
VELMORA_BUILD_PACKAGES=(build-essential cmake pkg-config libgtest-dev qt6-base-dev libgl-dev libbenchmark-dev
    libxdamage-dev)
# What the tests need on top: a real X server and input, screenshots, the icon reader.
VELMORA_TEST_PACKAGES=(xvfb xauth xdotool openbox imagemagick icoutils x11-utils strace zlib1g-dev
    clang-tidy cppcheck
    desktop-file-utils appstream binutils-mingw-w64-x86-64 dpkg-dev)
# What the Windows build needs on top: the MinGW-w64 cross compiler (posix threads),
# GoogleTest's sources and zlib for it, and Wine to run its tests.
VELMORA_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest libz-mingw-w64-dev wine wine64)
# What scripts/bench needs to run them: an X server, real clicks, and a profiler.
VELMORA_BENCH_PACKAGES=(xvfb xdotool valgrind)

say() { printf '%s\n' "$*" >&2; }

as_root() {
    if [ "$(id -u)" -eq 0 ]; then
        "$@"
    elif command -v sudo >/dev/null 2>&1; then
        sudo "$@"
    else
        say "Installing packages needs root: run this script as root or install sudo."
        return 1
    fi
}

# Installs the Debian packages that are not installed yet; does nothing when all are.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "Installing: ${missing[*]}"
    as_root apt-get update -qq
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Configures (once) and builds the given preset: all of it, or just the targets named after it.
build_preset() {
    local preset=$1
    shift
    cd "$VELMORA_ROOT"
    if [ ! -f "build/$preset/CMakeCache.txt" ]; then
        cmake --preset "$preset" >/dev/null
    fi
    cmake --build --preset "$preset" --parallel "$(nproc)" ${1:+--target "$@"}
}
