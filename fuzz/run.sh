#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan and UBSan) in build-fuzz/ and
# runs each for SECONDS, one after the other, on a corpus kept in
# build-fuzz/corpus/NAME that starts from fuzz/seeds/NAME. A finding stops the
# run with libFuzzer's report and the input saved as build-fuzz/crash-*.
#
#   fuzz/run.sh SECONDS [TARGET...]     targets: encoding lexicon conjugation
#                                       tokenizer base_form whole_run (default all)
set -euo pipefail
cd "$(dirname "$0")/.."

if (($# < 1)) || ! [[ $1 =~ ^[0-9]+$ ]]; then
  echo "usage: fuzz/run.sh SECONDS [TARGET...]" >&2
  exit 2
fi
seconds=$1
shift
targets=("$@")
((${#targets[@]})) || targets=(encoding lexicon conjugation tokenizer base_form whole_run)

command -v clang++ >/dev/null || { echo "fuzz/run.sh: clang++ is not installed" >&2; exit 1; }
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVRO_FUZZ=ON -DTAVRO_BUILD_DESKTOP=OFF -DTAVRO_BUILD_MPI=OFF -DTAVRO_BUILD_TESTS=OFF \
  "${launcher[@]}" >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]/%/_fuzzer}"

for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus"
  cp -n fuzz/seeds/"$target"/* "$corpus"/ 2>/dev/null || true
  echo "== $target: $seconds s"
  log=build-fuzz/$target.log
  status=0
  (cd build-fuzz && "fuzz/${target}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=4096 \
    -print_final_stats=1 "corpus/$target") >"$log" 2>&1 || status=$?
  grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|==[0-9]+==ERROR|SUMMARY)' "$log" || true
  if ((status)); then
    echo "fuzz/run.sh: $target: a finding (exit $status); the whole log is $log" >&2
    exit 1
  fi
done
