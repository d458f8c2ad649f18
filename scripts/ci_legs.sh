#!/usr/bin/env bash
# The CI legs beyond the README's test command, each in a build folder of its
# own, each timed:
#   format     every C++ file laid out as .clang-format says
#   qt-free    the engine, tavro-cli and their tests without Qt, and their tests
#   asan       everything under AddressSanitizer (leak detection on) and
#              UndefinedBehaviorSanitizer, the whole test suite
#   tsan       the engine and tavro-cli under ThreadSanitizer, their tests
#              (which count with 1 to 8 threads)
#   fuzz       the libFuzzer targets over their seeds, then 20 s each
# Usage: scripts/ci_legs.sh [LEG...]   (default: all, in that order)
# Run scripts/setup.sh first: it installs what the legs need.
set -euo pipefail
cd "$(dirname "$0")/.."

jobs=$(nproc)
configure() {  # configure FOLDER CMAKE_ARGS...
  local folder=$1
  shift
  cmake -S . -B "$folder" -G Ninja -DTAVRO_BUILD_TESTS=ON "$@" >/dev/null
  cmake --build "$folder" -j "$jobs"
}

leg_format() { CLANG_FORMAT=clang-format-14 scripts/check_format.sh; }

leg_qt_free() {
  configure build-qt-free -DCMAKE_BUILD_TYPE=Release -DTAVRO_BUILD_DESKTOP=OFF
  ctest --test-dir build-qt-free -j "$jobs" --output-on-failure
}

leg_asan() {
  configure build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_SANITIZE=address,undefined
  export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
  export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
  ASAN_OPTIONS=detect_leaks=1 \
    ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 900 -E '^mpirun_'
  # Open MPI's own frames are found only by the slow unwinder, which the
  # suppressions need to recognise its leaks.
  ASAN_OPTIONS=detect_leaks=1:fast_unwind_on_malloc=0 \
    ctest --test-dir build-asan -j "$jobs" --output-on-failure --timeout 900 -R '^mpirun_'
  unset UBSAN_OPTIONS LSAN_OPTIONS
}

leg_tsan() {
  configure build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_SANITIZE=thread \
    -DTAVRO_BUILD_DESKTOP=OFF -DTAVRO_BUILD_MPI=OFF
  TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
    ctest --test-dir build-tsan -j "$jobs" --output-on-failure --timeout 900 -E process_big_data
}

leg_fuzz() {
  CC=clang CXX=clang++ configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVRO_FUZZ=ON \
    -DTAVRO_BUILD_DESKTOP=OFF -DTAVRO_BUILD_MPI=OFF -DTAVRO_BUILD_TESTS=OFF
  ctest --test-dir build-fuzz -j "$jobs" --output-on-failure
  fuzz/run.sh 20
}

legs=("$@")
((${#legs[@]})) || legs=(format qt-free asan tsan fuzz)
for leg in "${legs[@]}"; do
  start=$SECONDS
  echo "== leg $leg"
  "leg_${leg//-/_}"
  echo "== leg $leg passed in $((SECONDS - start)) s"
done
