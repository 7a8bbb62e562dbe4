#!/bin/sh
# Sets up a Debian 12 machine for Orvo, builds it, and runs the game or the tests.
#   ./orvo.sh run               build and start the game
#   ./orvo.sh test              build and run every test
#   ./orvo.sh test --sanitize   the same with AddressSanitizer and UBSan
#   ./orvo.sh setup             only install the packages
#   ./orvo.sh fuzz [SECONDS]    build the fuzz targets with clang, run each SECONDS (30)
set -eu

cd "$(dirname "$0")"

PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-qpa-plugins libasound2-dev \
libsimpleini-dev googletest libgtest-dev libbenchmark-dev xvfb xauth xdotool x11-utils \
imagemagick fonts-wqy-microhei trayer openbox python3"

setup() {
    missing=""
    for p in $PACKAGES; do
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

build() {
    dir=$1
    shift
    cmake -S . -B "$dir" "$@"
    cmake --build "$dir" -j "$(nproc)"
}

case "${1:-}" in
setup)
    setup
    ;;
run)
    setup
    build build
    exec ./build/orvo
    ;;
test)
    setup
    if [ "${2:-}" = "--sanitize" ]; then
        build build-sanitize -DORVO_SANITIZE=ON
        ASAN_OPTIONS=detect_leaks=1 ctest --test-dir build-sanitize --output-on-failure -j 2
    else
        build build
        ctest --test-dir build --output-on-failure -j 2
    fi
    ;;
fuzz)
    # Only the fuzz targets need clang and its libFuzzer runtime.
    PACKAGES="$PACKAGES clang-14 libclang-rt-14-dev"
    setup
    build build-fuzz -DCMAKE_CXX_COMPILER=clang++-14 -DORVO_FUZZ=ON \
        -DORVO_BUILD_APP=OFF -DORVO_BUILD_TESTS=OFF
    exec sh fuzz/run.sh build-fuzz "${2:-30}"
    ;;
*)
    sed -n '2,7p' "$0"
    exit 2
    ;;
esac
