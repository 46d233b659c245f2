#!/usr/bin/env bash
# Builds, tests and runs the suite. Every command first installs what Debian
# must provide, so a fresh machine needs nothing by hand.
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  zlib1g-dev libjpeg62-turbo-dev libpng-dev
  libfreetype-dev libfontconfig-dev fonts-liberation2 fonts-dejavu-core
  libsdl2-dev xvfb xauth
  openbox x11-utils
  libjpeg-turbo-progs libmuparser-dev libtbb-dev liblua5.4-dev
  libpixman-1-dev libcairo2-dev libpango1.0-dev libgsl-dev
  xdotool x11-xkb-utils locales
)
JOBS=$(nproc)

usage() {
  cat <<USAGE
usage: ./make.sh <command>
  demo    install, build and run the demonstration program (needs a display)
  demo-shots  run the demonstration program under Xvfb and save pictures of its windows (build/demo-shots/)
  test    install, build and run every test
  deps    install the Debian packages the build, tests and demo need
  build   configure and build (build/)
  bench   build and run the benchmarks (build-bench/)
  asan    build and test with the address and undefined-behaviour sanitizers (build-asan/)
  tsan    build and test the threaded libraries with the thread sanitizer (build-tsan/)
  fuzz [TARGET|all] [SECONDS]
          build the libFuzzer targets with clang (build-fuzz/) and fuzz each (60 s)
USAGE
}

deps() {
  local missing=()
  for package in "${PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure <folder> [cmake options...]
configure() {
  local folder=$1
  shift
  cmake -S . -B "$folder" "$@" >/dev/null
}

build() {
  configure build
  cmake --build build -j "$JOBS"
}

# Tests that need a real display: every <library>_sdl. test (the programs
# suite_add_sdl_tests makes); they run under a virtual X server.
DISPLAY_TESTS='_sdl\.'

# run_tests <folder>: every test, those needing a display under xvfb-run.
run_tests() {
  local folder=$1
  (cd "$folder" && ctest --output-on-failure -j "$JOBS" -E "$DISPLAY_TESTS")
  (cd "$folder" && xvfb-run -a ctest --output-on-failure -R "$DISPLAY_TESTS")
}

sanitized() {
  local kind=$1 folder=$2
  shift 2
  configure "$folder" -DSUITE_SANITIZE="$kind" -DCMAKE_BUILD_TYPE=Debug
  cmake --build "$folder" -j "$JOBS" "$@"
}

# Libraries that start threads; the thread sanitizer runs their tests. A
# library that starts threads of its own joins the list by name.
THREADED_LIBRARIES=(win32 classlib eval fadenwerk redakt)

case "${1:-}" in
  deps) deps ;;
  build) deps; build ;;
  test) deps; build; run_tests build ;;
  demo)
    if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
      echo "The demonstration program needs a display (DISPLAY or WAYLAND_DISPLAY is not set)."
      echo "Without one, ./make.sh demo-shots saves pictures of its windows in build/demo-shots/."
      exit 1
    fi
    deps; build
    CHDIR="${CHDIR:-$PWD/build/chr}" build/bin/mostrana
    ;;
  demo-shots)
    deps; build
    shots="$PWD/build/demo-shots"
    rm -rf "$shots"
    mkdir -p "$shots"
    # The program ends by itself once the pictures are saved; the time limit
    # ends it first should it not (inside xvfb-run, so the display outlives it).
    CHDIR="${CHDIR:-$PWD/build/chr}" MOSTRANA_SHOTS="$shots" SUITE_DISPLAY=sdl \
      xvfb-run -a -s "-screen 0 1280x1024x24" timeout 120 build/bin/mostrana
    for picture in Form1 Form2 Form3; do
      [ -s "$shots/$picture.bmp" ] || { echo "missing: $shots/$picture.bmp"; exit 1; }
      # Width and height from the BMP information header.
      read -r width height < <(od -An -t u4 -j 18 -N 8 "$shots/$picture.bmp")
      echo "saved: $shots/$picture.bmp ($width x $height)"
    done
    ;;
  bench)
    deps
    configure build-bench -DSUITE_BENCHMARKS=ON -DCMAKE_BUILD_TYPE=Release
    cmake --build build-bench -j "$JOBS"
    for program in build-bench/bin/bench_*; do
      [ -x "$program" ] && "$program"
    done
    ;;
  asan)
    deps
    sanitized address build-asan
    ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_tests build-asan
    ;;
  tsan)
    deps
    sanitized thread build-tsan --target "${THREADED_LIBRARIES[@]/%/_tests}"
    pattern=$(IFS='|'; echo "${THREADED_LIBRARIES[*]}")
    (cd build-tsan && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j "$JOBS" -R "^($pattern)\\.")
    ;;
  fuzz)
    # The fuzz build needs clang and libFuzzer besides the usual packages.
    PACKAGES+=(clang libclang-rt-dev)
    deps
    shift
    fuzz/run "$@"
    ;;
  *) usage; exit 2 ;;
esac
