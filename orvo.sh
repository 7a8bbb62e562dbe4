#!/bin/sh
# SPDX-License-Identifier: MIT
# Sets up a Debian 12 machine for Orvo, builds it, and runs the game or the tests.
#   ./orvo.sh run               build the game alone in build/ and start it
#   ./orvo.sh test              build everything in build-ci/ and run every
#                               test (warnings are errors)
#   ./orvo.sh test --sanitize   the same with AddressSanitizer and UBSan
#   ./orvo.sh test --release    the same as a packager's Release build
#   ./orvo.sh test --clang      the same compiled with clang (warnings are errors)
#   ./orvo.sh setup             only install the packages
#   ./orvo.sh bench-startup     start-up time and memory against a bare Qt window
#   ./orvo.sh fuzz [SECONDS]    build the fuzz targets with clang, run each SECONDS (30)
#   ./orvo.sh windows           cross-build the Windows program, build-win/orvo.exe
#   ./orvo.sh test --windows    the same, then its tests under Wine
#   ./orvo.sh package [--test]  build the Debian package and check it with
#                               lintian; --test also installs it and plays it
#   ./orvo.sh package --windows [--test]
#                               the Windows zip and installer in build-win;
#                               --test also installs, starts, updates and
#                               uninstalls it under Wine, the game running
set -eu

cd "$(dirname "$0")"

# The help is the comment at the top of this file.
usage() {
    sed -n '3,20p' "$0"
    exit 2
}

# What the game needs to build and run: a player's first start installs
# these and nothing more. The Wayland plugin lets Qt draw on a Wayland
# desktop directly instead of through its X server.
GAME_PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-wayland libasound2-dev \
fonts-wqy-microhei qt6-translations-l10n"
# The tests and benchmarks besides; Weston plays the Wayland desktop, and
# a session bus of the tests' own carries its notification area and the
# screen reader's view (AT-SPI), which pyatspi reads.
PACKAGES="$GAME_PACKAGES googletest libgtest-dev libbenchmark-dev xvfb xauth xdotool \
x11-utils imagemagick trayer openbox python3 desktop-file-utils appstream weston dbus-daemon \
at-spi2-core python3-pyatspi"

# What making and checking the Debian package needs besides.
PACKAGE_TOOLS="dpkg-dev file lintian"
# The Windows build: the cross compiler and windres, GoogleTest's sources,
# and Wine to run the result.
WINDOWS_PACKAGES="cmake make python3 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64 googletest \
wine wine64"
# What the Windows installer is made with.
WINDOWS_PACKAGE_TOOLS="nsis"

setup() {
    missing=""
    for p in ${1:-$PACKAGES}; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $p"
    done
    [ -z "$missing" ] && return 0
    echo "Installing:$missing"
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get update -qq
    # shellcheck disable=SC2086
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
}

# Configures, builds and tests with one of the presets in CMakePresets.json.
build() {
    cmake --preset "$1"
    cmake --build --preset "$1" -j "$(nproc)"
}

run_tests() {
    build "$1"
    ctest --preset "$1"
}

# The Windows program, cross-built into build-win by the windows preset.
build_windows() {
    cmake --preset windows "$@"
    cmake --build --preset windows -j "$(nproc)"
}

# A release build for /usr with Debian's own flags (hardening, bindnow
# included), made into a .deb by CPack; any tag lintian shows, down to the
# pedantic ones, fails it.
package() {
    eval "$(DEB_BUILD_MAINT_OPTIONS=hardening=+all dpkg-buildflags --export=sh)"
    # shellcheck disable=SC2154
    cmake -S . -B build-package -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
        -DORVO_INSTALL_BINDIR=games -DORVO_BUILD_TESTS=OFF \
        -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON \
        -DCMAKE_CXX_FLAGS="$CXXFLAGS $CPPFLAGS" -DCMAKE_EXE_LINKER_FLAGS="$LDFLAGS"
    cmake --build build-package -j "$(nproc)" --target orvo orvo_docs
    rm -f build-package/orvo_*.deb
    (cd build-package && cpack)
    deb=$(ls build-package/orvo_*.deb)
    lintian --pedantic -I --fail-on error,warning,info,pedantic "$deb"
    echo "Package: $deb"
}

# The zip and the installer from the windows preset's build (the test
# build's tree when there is one: the package strips its program).
package_windows() {
    [ -f build-win/CMakeCache.txt ] || cmake --preset windows
    cmake --build --preset windows -j "$(nproc)" --target orvo_package orvo-probe
    ls build-win/orvo-*-win64.zip build-win/orvo-*-setup.exe
}

# Installs the package as a player would and starts it on a display of its own.
package_test() {
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --reinstall "./$deb"
    python3 tests/e2e/orvo_e2e.py /usr/games/orvo installed
}

case "${1:-}" in
setup)
    setup
    ;;
windows)
    setup "$WINDOWS_PACKAGES"
    build_windows -DORVO_WERROR=OFF
    echo "Built build-win/orvo.exe"
    ;;
run)
    setup "$GAME_PACKAGES"
    # A player's build of the game alone, in build/: warnings do not stop
    # it, and the tests build in a tree of their own, so neither command
    # rebuilds what the other built.
    [ -f build/CMakeCache.txt ] || cmake --preset default
    cmake --build build -j "$(nproc)" --target orvo
    exec ./build/orvo
    ;;
test)
    setup
    case "${2:-}" in
    --sanitize) run_tests sanitize ;;
    --release) run_tests release ;;
    --clang)
        PACKAGES="$PACKAGES clang"
        setup
        run_tests clang
        ;;
    --windows)
        setup "$PACKAGES $WINDOWS_PACKAGES"
        # The end-to-end test compares the screen with orvo-trace's picture.
        [ -f build-ci/CMakeCache.txt ] || cmake --preset ci
        cmake --build build-ci -j "$(nproc)" --target orvo-trace
        build_windows -DORVO_WERROR=ON -DORVO_TRACE="$PWD/build-ci/orvo-trace"
        tests/win32/run_under_wine.sh ctest --test-dir build-win --output-on-failure -j 2 --timeout 600 --repeat after-timeout:2
        ;;
    "") run_tests ci ;;
    *) usage ;;
    esac
    ;;
fuzz)
    # Only the fuzz targets need clang and its libFuzzer runtime.
    PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev"
    setup
    build fuzz
    exec sh fuzz/run.sh build-fuzz "${2:-30}"
    ;;
package)
    if [ "${2:-}" = "--windows" ]; then
        setup "$PACKAGES $WINDOWS_PACKAGES $WINDOWS_PACKAGE_TOOLS"
        package_windows
        [ "${3:-}" != "--test" ] || tests/win32/run_under_wine.sh python3 tests/win32/orvo_win_install.py \
            build-win/orvo-*-setup.exe build-win/orvo-probe.exe
        exit 0
    fi
    PACKAGES="$PACKAGES $PACKAGE_TOOLS"
    setup
    package
    [ "${2:-}" != "--test" ] || package_test
    ;;
bench-startup)
    setup
    [ -f build-ci/CMakeCache.txt ] || cmake --preset ci
    cmake --build build-ci -j "$(nproc)" --target orvo orvo-bare-window
    shift
    exec python3 bench/startup/startup.py build-ci/orvo build-ci/orvo-bare-window "$@"
    ;;
*)
    usage
    ;;
esac
