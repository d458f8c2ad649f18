#!/usr/bin/env bash
# Builds tavro-cli, the reference counter and (when the build has it) tavro-mpi in
# Release, unless --cli is given, and runs the benchmark.
# Usage: bench/run.sh [--size-mb N] [--runs K] [--skip-2gb] [--cli PATH] [other run_bench.py options]
set -euo pipefail

bench_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
repo="$(dirname "$bench_dir")"
build_dir="${TAVRO_BENCH_BUILD_DIR:-$repo/build-bench}"

# Runs a command silently; shows its output only when it fails.
quietly() {
  local log
  if ! log="$("$@" 2>&1)"; then
    printf '%s\n' "$log" >&2
    return 1
  fi
}

# Whether the build directory defines the target $1.
has_target() {
  if [[ -f "$build_dir/build.ninja" ]]; then
    ninja -C "$build_dir" -t targets all 2>/dev/null | grep -q "^$1:"
  else
    make -C "$build_dir" help 2>/dev/null | grep -q "\.\.\. $1\$"
  fi
}

have_cli=no
for arg in "$@"; do
  [[ "$arg" == --cli || "$arg" == --cli=* ]] && have_cli=yes
  [[ "$arg" == -h || "$arg" == --help ]] && exec python3 "$bench_dir/run_bench.py" --help
done

if [[ "$have_cli" == no ]]; then
  # Configure only once; later runs just bring the binary up to date.
  if [[ ! -f "$build_dir/build.ninja" && ! -f "$build_dir/Makefile" ]]; then
    generator=()
    command -v ninja >/dev/null && generator=(-G Ninja)
    quietly cmake -S "$repo" -B "$build_dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=Release \
      -DTAVRO_BUILD_DESKTOP=OFF -DTAVRO_BUILD_TESTS=OFF
  fi
  build_type="$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build_dir/CMakeCache.txt")"
  if [[ "$build_type" != Release ]]; then
    echo "run.sh: $build_dir is a '$build_type' build; set TAVRO_BENCH_BUILD_DIR or pass --cli" >&2
    exit 2
  fi
  targets=(tavro-cli tavro_reference_counter tavro_reader_bench)
  has_target tavro-mpi && targets+=(tavro-mpi)
  quietly cmake --build "$build_dir" --target "${targets[@]}" -j "$(nproc)"
  set -- --cli "$build_dir/tavro-cli" --reference "$build_dir/tavro_reference_counter" "$@"
fi

exec python3 "$bench_dir/run_bench.py" --work-dir "$build_dir/bench-data" "$@"
