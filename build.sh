#!/usr/bin/env bash
# One entry point for building, testing and installing ZelMiddleware; usage() lists the commands.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
JOBS="${JOBS:-$(nproc 2>/dev/null || echo 2)}"

# The Qt major to build against, 6 unless the environment says 5. The Qt 5 build has folders
# of its own (build-qt5, build-asan-qt5, ...), so both stay built side by side.
QT_MAJOR="${ZELMW_QT_MAJOR_VERSION:-6}"
case "$QT_MAJOR" in
6)
    # Widgets are in qt6-base-dev; zelview's screenshots and tests need the offscreen platform
    # plugin, which Debian 12 ships in libqt6gui6 (as libqt5gui5 does Qt 5's).
    QT_PACKAGES=(qt6-base-dev libqt6sql6-sqlite libqt6gui6)
    SUFFIX=""
    ;;
5)
    QT_PACKAGES=(qtbase5-dev libqt5sql5-sqlite libqt5gui5)
    SUFFIX="-qt5"
    ;;
*)
    echo "build.sh: ZELMW_QT_MAJOR_VERSION is 6 or 5, not '$QT_MAJOR'" >&2
    exit 2
    ;;
esac
# ccache lets the build folders of one checkout (tests, Qt 5, install) share their objects.
PACKAGES=(g++ make cmake ccache "${QT_PACKAGES[@]}" libxml2-dev libsqlite3-dev libboost-dev
    pkg-config iproute2 libgraphviz-dev)
BENCH_PACKAGES=(libbenchmark-dev)
FUZZ_PACKAGES=(clang libclang-rt-14-dev)
# The formatter is pinned: another version lays the same code out differently.
FORMAT_PACKAGES=(clang-format-14 git)
DOCS_PACKAGES=(doxygen)
# The virtual home's daemons and the tools its test drives them with (tests/virtualhome).
VHOME_PACKAGES=(miniupnpd-nftables dnsmasq minidlna avahi-daemon curl ethtool python3)

usage() {
    cat <<'USAGE'
One entry point for building, testing and installing ZelMiddleware.

  ./build.sh demo            install missing packages, build, replay the example home scan,
                             draw its map (build/demo/home-network.svg and .png) and take
                             a screenshot of zelview showing it (build/demo/zelview.png)
  ./build.sh test            install missing packages, build, run every test but the
                             virtual home
  ./build.sh virtual-home    install its daemons (never started on this host), build, and
                             run zelmap discover and watch in a home of network namespaces
  ./build.sh asan            the same tests under AddressSanitizer + UndefinedBehaviorSanitizer
  ./build.sh tsan            the same tests under ThreadSanitizer
  ./build.sh bench           build and run the benchmarks, print ours against the floors
  ./build.sh bench-compare   the same for the Qt 6 and the Qt 5 build in turns: both tables
                             and each figure of Qt 6 against Qt 5's
  ./build.sh fuzz [SECONDS]  build the fuzz targets with clang and run each for SECONDS
                             (default 60); fails on any crash, leak or timeout
  ./build.sh format          fail on any C++ file the committed .clang-format would change
  ./build.sh docs            the reference documentation of the public headers, as HTML in
                             build/docs/html; fails on any undocumented public member
  ./build.sh install PREFIX  build and install libraries, headers, the CMake package, zelmap
                             and zelview
  ./build.sh install-check   install the Qt 6 and the Qt 5 build into one scratch prefix and
                             build and run a program against each package

Every command builds against Qt 6; ZELMW_QT_MAJOR_VERSION=5 ./build.sh ... builds against
Qt 5 in folders of its own (build-qt5, ...). Both install into one prefix side by side.
USAGE
    exit 2
}

# Installs the Debian packages that are missing; says what is needed when it cannot.
ensure_packages() {
    local missing=()
    local package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null \
            | grep -q 'install ok installed'; then
            missing+=("$package")
        fi
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "build.sh: these Debian packages are missing: ${missing[*]}" >&2
        echo "build.sh: run as root, or install them first: sudo apt-get install ${missing[*]}" >&2
        exit 1
    fi
    echo "build.sh: installing ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Installs daemon packages without starting any of them on this host: their scripts ask
# policy-rc.d before they start a service, and one that exits 101 forbids it. An existing
# policy is left as it is; ours goes once the packages are in, whatever happened.
ensure_daemon_packages() {
    local policy=/usr/sbin/policy-rc.d
    if [ "$(id -u)" -ne 0 ] || [ -e "$policy" ]; then
        ensure_packages "$@"
        return
    fi
    (
        trap 'rm -f "$policy"' EXIT
        trap 'exit 130' INT TERM
        printf '#!/bin/sh\nexit 101\n' >"$policy"
        chmod 755 "$policy"
        ensure_packages "$@"
    )
}

# configure_and_build BUILD_DIR [CMAKE_OPTIONS...]
configure_and_build() {
    local dir="$1"
    shift
    cmake -S "$ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMW_WERROR=ON \
        -DZELMW_QT_MAJOR_VERSION="$QT_MAJOR" "$@"
    cmake --build "$dir" -j "$JOBS"
}

# run_tests BUILD_DIR [CTEST_OPTIONS...]
run_tests() {
    local dir="$1"
    shift
    (cd "$dir" && ctest --output-on-failure -j "$JOBS" --timeout 600 "$@")
}

command="${1:-}"
case "$command" in
demo)
    ensure_packages "${PACKAGES[@]}"
    cmake -S "$ROOT" -B "$ROOT/build$SUFFIX" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELMW_WERROR=ON \
        -DZELMW_QT_MAJOR_VERSION="$QT_MAJOR"
    cmake --build "$ROOT/build$SUFFIX" -j "$JOBS" --target zelmap zelview
    zelmap="$ROOT/build$SUFFIX/tools/zelmap/zelmap"
    zelview="$ROOT/build$SUFFIX/tools/zelview/zelview"
    demo="$ROOT/build$SUFFIX/demo"
    rm -rf "$demo"
    # A short listener interval: the library's own 500 ms would take half a minute here.
    "$zelmap" --data-dir "$demo" replay "$ROOT/examples/home-scan.jsonl" --interval 40
    "$zelmap" --data-dir "$demo" export --format svg -o "$demo/home-network.svg"
    "$zelmap" --data-dir "$demo" export --format png -o "$demo/home-network.png"
    # No display needed: the window is drawn off screen.
    QT_QPA_PLATFORM=offscreen "$zelview" --data-dir "$demo" --screenshot "$demo/zelview.png"
    echo
    echo "The map in use, drawn: $demo/home-network.svg and $demo/home-network.png"
    echo "zelview showing it, off screen: $demo/zelview.png"
    echo "Look further: $zelmap --data-dir $demo maps | show | device ID | export --help"
    echo "Or live on a display: $zelview --data-dir $demo [--replay FILE --interval 200]"
    ;;
test)
    # The benchmarks are built and run once each (a few iterations), so that none can rot.
    ensure_packages "${PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
    configure_and_build "$ROOT/build$SUFFIX" -DZELMW_BUILD_BENCHMARKS=ON
    run_tests "$ROOT/build$SUFFIX" -LE virtualhome
    # The failure sweep's verdict for each kind of failure, from the passing run's log.
    grep -ho '[0-9]*/[0-9]* failure points consistent' \
        "$ROOT/build$SUFFIX/Testing/Temporary/LastTest.log" || true
    ;;
asan)
    ensure_packages "${PACKAGES[@]}"
    configure_and_build "$ROOT/build-asan$SUFFIX" -DZELMW_SANITIZE_ADDRESS=ON
    # Some fault tests run their program as nobody, who may not read a checkout private to
    # its owner: the leak checker reads its suppressions from a copy anyone can read.
    suppressions="$(mktemp)"
    trap 'rm -f "$suppressions"' EXIT
    cp "$ROOT/tests/sanitizers/lsan.supp" "$suppressions"
    chmod 644 "$suppressions"
    # Not the list of suppressions used at exit: tests count the lines a program writes.
    ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1" \
        UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
        LSAN_OPTIONS="suppressions=$suppressions:print_suppressions=0" \
        run_tests "$ROOT/build-asan$SUFFIX" -LE virtualhome
    ;;
tsan)
    ensure_packages "${PACKAGES[@]}"
    configure_and_build "$ROOT/build-tsan$SUFFIX" -DZELMW_SANITIZE_THREAD=ON
    # Debian's Qt and glibc are not built with TSan: their own handoffs (atomics, internal
    # locks) are invisible to it, so memory accesses made inside them are ignored. Locks are
    # still tracked, and our code, templates inlined from Qt headers included, is checked.
    # Qt 6's QProcess starts a child with vfork, whose child half TSan takes for a forked
    # copy of the test and marks so in the memory both share: the test would then die at its
    # next thread. The child execs at once, so nothing of it runs under TSan anyway.
    options="halt_on_error=1:second_deadlock_stack=1:ignore_noninstrumented_modules=1"
    TSAN_OPTIONS="$options:die_after_fork=0" run_tests "$ROOT/build-tsan$SUFFIX" -LE virtualhome
    ;;
virtual-home)
    # The test build's own configuration, so that this reuses what `test` built.
    ensure_packages "${PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
    ensure_daemon_packages "${VHOME_PACKAGES[@]}"
    configure_and_build "$ROOT/build$SUFFIX" -DZELMW_BUILD_BENCHMARKS=ON
    run_tests "$ROOT/build$SUFFIX" -L virtualhome
    ;;
# bench-build, for bench-compare: the same build without the run.
bench | bench-build)
    ensure_packages "${PACKAGES[@]}" "${BENCH_PACKAGES[@]}"
    configure_and_build "$ROOT/build-bench$SUFFIX" -DCMAKE_BUILD_TYPE=Release \
        -DZELMW_BUILD_TESTS=OFF -DZELMW_BUILD_BENCHMARKS=ON
    if [ "$command" = bench ]; then
        python3 "$ROOT/benchmarks/report.py" "$ROOT/build-bench$SUFFIX/benchmarks/bench_store"
    fi
    ;;
bench-compare)
    for major in 6 5; do
        ZELMW_QT_MAJOR_VERSION=$major "$ROOT/build.sh" bench-build
    done
    python3 "$ROOT/benchmarks/report.py" "Qt 6=$ROOT/build-bench/benchmarks/bench_store" \
        "Qt 5=$ROOT/build-bench-qt5/benchmarks/bench_store"
    ;;
format)
    ensure_packages "${FORMAT_PACKAGES[@]}"
    cd "$ROOT"
    git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format-14 --dry-run -Werror
    echo "build.sh: every C++ file is formatted"
    ;;
fuzz)
    seconds="${2:-60}"
    ensure_packages "${PACKAGES[@]}" "${FUZZ_PACKAGES[@]}"
    fuzz_build="$ROOT/build-fuzz$SUFFIX"
    CC=clang CXX=clang++ configure_and_build "$fuzz_build" -DZELMW_BUILD_TESTS=OFF \
        -DZELMW_BUILD_FUZZERS=ON
    for seeds in "$ROOT"/tests/fuzz/*/; do
        name="$(basename "$seeds")"
        # New inputs go to the build folder's corpus; the committed seeds stay as they are.
        corpus="$fuzz_build/corpus/$name"
        mkdir -p "$corpus"
        echo "build.sh: fuzzing $name for $seconds s"
        (cd "$fuzz_build" && \
            ASAN_OPTIONS="detect_leaks=1" \
            UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
            LSAN_OPTIONS="suppressions=$ROOT/tests/sanitizers/lsan.supp" \
            "tests/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
                -print_final_stats=1 \
                -artifact_prefix="$fuzz_build/fuzz_$name-" "$corpus" "$seeds")
    done
    ;;
install)
    [ $# -eq 2 ] || usage
    ensure_packages "${PACKAGES[@]}"
    configure_and_build "$ROOT/build-install$SUFFIX" -DZELMW_BUILD_TESTS=OFF \
        -DCMAKE_INSTALL_PREFIX="$2"
    cmake --install "$ROOT/build-install$SUFFIX"
    ;;
install-check)
    # Exactly what a user does: both builds installed into one prefix, one after the other.
    check="$ROOT/build-install-check"
    rm -rf "$check"
    ZELMW_QT_MAJOR_VERSION=6 "$ROOT/build.sh" install "$check/prefix"
    ZELMW_QT_MAJOR_VERSION=5 "$ROOT/build.sh" install "$check/prefix"
    cmake -DPREFIX="$check/prefix" -DPACKAGES="ZelMiddlewareQt6;ZelMiddleware" \
        -DCONSUMER_SOURCE="$ROOT/tests/install/consumer" -DWORK_DIR="$check/work" \
        -DCONFIG_FILE="$ROOT/config/zelconfig.xml" -P "$ROOT/tests/install/RunConsumer.cmake"
    ;;
docs)
    ensure_packages "${PACKAGES[@]}" "${DOCS_PACKAGES[@]}"
    cmake -S "$ROOT" -B "$ROOT/build$SUFFIX" -DZELMW_QT_MAJOR_VERSION="$QT_MAJOR" \
        -DZELMW_BUILD_DOCS=ON
    cmake --build "$ROOT/build$SUFFIX" --target docs
    echo "build.sh: the reference documentation: $ROOT/build$SUFFIX/docs/html/index.html"
    ;;
*)
    usage
    ;;
esac
