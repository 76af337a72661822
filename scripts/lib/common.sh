# Shared by the project's scripts: where things are, and installing what is missing.

VELMORA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# What building and running Velmora needs, and nothing more. zlib compresses the
# icon files that the build writes; the program itself does not use it.
VELMORA_BUILD_PACKAGES=(build-essential cmake pkg-config qt6-base-dev libgl-dev zlib1g-dev)
# Qt's Wayland plugin, so that Velmora runs as a native client in a Wayland session.
VELMORA_RUN_PACKAGES=(qt6-wayland)
# What the tests need on top: GoogleTest and Google Benchmark (the tests build the
# whole tree), a real X server and input, a private session bus, screenshots, the
# icon reader, an accessibility bus, a listener on it and a real screen reader,
# static analysis and the packaging tools.
VELMORA_TEST_PACKAGES=(libgtest-dev libbenchmark-dev libxdamage-dev
    xvfb xauth xdotool openbox dbus-daemon dbus-bin imagemagick icoutils x11-utils strace procps
    at-spi2-core python3-pyatspi orca
    clang-tidy cppcheck
    desktop-file-utils appstream binutils-mingw-w64-x86-64 dpkg-dev file lintian groff-base mandoc man-db)
# And for the Wayland tests: a headless compositor, screenshots, keys, and what our
# virtual pointer client is built with.
VELMORA_WAYLAND_TEST_PACKAGES=(qt6-wayland sway grim wtype libwayland-dev)
# What the Windows build needs on top: the MinGW-w64 cross compiler (posix threads),
# GoogleTest's sources and zlib for it, Wine to run its tests, wixl to build the
# installer, and msitools and unzip to check the installer and the zip.
VELMORA_WINDOWS_PACKAGES=(g++-mingw-w64-x86-64-posix googletest libz-mingw-w64-dev wine wine64 wixl msitools unzip)
# What the browser front end needs: emscripten and node to build it, GoogleTest's
# sources for the core's tests under node, the host compiler and zlib for the
# icons, and to test it the three engines, their drivers, an X server and input.
VELMORA_WEB_PACKAGES=(build-essential cmake zlib1g-dev emscripten nodejs googletest)
VELMORA_WEB_TEST_PACKAGES=(chromium firefox-esr webkit2gtk-driver python3-websocket python3-selenium
    xvfb xdotool imagemagick)
# What the benchmarks need to build and run: Google Benchmark, an X server, real
# clicks, and a profiler.
VELMORA_BENCH_PACKAGES=(libbenchmark-dev libxdamage-dev xvfb xdotool valgrind)

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
# An install cut short last time (no network, Ctrl+C) is finished or redone.
ensure_packages() {
    local missing=() p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "Installing: ${missing[*]}"
    local apt=(env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 -y -qq)
    as_root env DEBIAN_FRONTEND=noninteractive dpkg --configure -a
    as_root "${apt[@]}" update
    as_root "${apt[@]}" --no-install-recommends --fix-broken install "${missing[@]}" >/dev/null
}

# Configures and builds the given preset: all of it, or just the targets named
# after it. Configuring every time costs a few seconds and means that neither a
# configuration cut short nor one made before some tool was installed is trusted;
# one that cannot be brought up to date is made afresh.
build_preset() {
    local preset=$1
    shift
    cd "$VELMORA_ROOT"
    if ! cmake --preset "$preset" >/dev/null; then
        [ -f "build/$preset/CMakeCache.txt" ] || return 1
        say "Configuring $preset again from scratch"
        cmake --preset "$preset" --fresh >/dev/null
    fi
    cmake --build --preset "$preset" --parallel "$(nproc)" ${1:+--target "$@"}
}

# Shows Velmora's window from the given program until it is closed. A desktop
# login gives every user a private runtime directory; where there is none
# (xvfb-run over ssh, a container), the toolkit would warn and make one of its
# own in /tmp, so the program gets one for this run instead, removed afterwards.
open_window() {
    local program=$1
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
        say "Velmora is built, but there is no display to show its window on; try: xvfb-run scripts/run"
        return 1
    fi
    if [ -n "${XDG_RUNTIME_DIR:-}" ]; then
        exec "$program"
    fi
    local runtime
    runtime=$(mktemp -d)
    trap "rm -rf '$runtime'" EXIT
    XDG_RUNTIME_DIR=$runtime "$program"
}
