#!/usr/bin/env bash
# A tiny run of the benchmark's inputs: tavro-cli must count every generated
# corpus exactly as tr | sort | uniq -c does once Greek capitals are folded, in
# both all-words orders, and with an empty inflection table its noun report must
# be those counts restricted to the lexicon. The distinct corpus must hold exactly
# its vocabulary, and the UTF-8 files must be the cp1253 ones converted.
# Usage: smoke_test.sh TAVRO_CLI PYTHON3 SOURCE_DIR WORK_DIR
set -euo pipefail
export LC_ALL=C

cli="$1" python="$2" source="$3" work="$4"
bench_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
word_set='\060-\071\101-\132\137\141-\172\242\270-\272\274\276-\376'
capitals='\301-\331\242\270\271\272\274\276\277\332\333'
lowers='\341-\371\334\335\336\337\374\375\376\372\373'

rm -rf "$work"
mkdir -p "$work"
make() { "$python" "$bench_dir/make_corpora.py" "$@" --source "$source" >/dev/null; }
make real --out "$work/real" --size-mb 0.5 --files 3
make vocab --out "$work/vocab" --size-mb 0.5 --files 2 --vocabulary 5000
make sorted --out "$work/sorted" --words 5000
make distinct --out "$work/distinct" --size-mb 0.5 --files 2 --vocabulary 20000
make utf8 --out "$work/utf8" --from "$work/real"

# "word count" lines in byte order, as the all-words report lists them.
expected_counts() {
  cat "$@" | tr "$capitals" "$lowers" | tr -cs "$word_set" '\n' | grep -v '^$' \
    | sort | uniq -c | awk '{ print $2 " " $1 }'
}

failures=0
check() {  # check NAME EXPECTED_FILE ACTUAL_FILE
  if cmp -s "$2" "$3"; then
    echo "ok: $1 ($(wc -l <"$2") lines)"
  else
    echo "FAILED: $1"
    diff "$2" "$3" | head -10 || true
    failures=$((failures + 1))
  fi
}

: >"$work/empty-conjugation.txt"
for shape in real vocab distinct sorted; do
  files=("$work/$shape"/*.txt)
  expected_counts "${files[@]}" >"$work/$shape.expected"
  # Equal counts keep their byte order.
  sort -s -t ' ' -k2,2nr "$work/$shape.expected" >"$work/$shape.expected-by-frequency"
  # Every seventh word is a noun, and so is one word that never occurs.
  { awk 'NR % 7 == 1 { print $1 }' "$work/$shape.expected"; printf 'zzzzzz\n'; } \
    >"$work/$shape.lexicon"
  awk 'NR % 7 == 1' "$work/$shape.expected" >"$work/$shape.expected-nouns"

  run() { "$cli" --lexicon "$work/$shape.lexicon" --conjugation "$work/empty-conjugation.txt" \
    "$@" "${files[@]}"; }
  run --all-words >"$work/$shape.all-words"
  run --all-words --by-frequency >"$work/$shape.all-words-by-frequency"
  run >"$work/$shape.nouns"
  check "$shape, all words" "$work/$shape.expected" "$work/$shape.all-words"
  check "$shape, all words by frequency" "$work/$shape.expected-by-frequency" \
    "$work/$shape.all-words-by-frequency"
  check "$shape, nouns with no inflection" "$work/$shape.expected-nouns" "$work/$shape.nouns"
done
# The distinct shape holds every word of its vocabulary, and says so when the size
# cannot hold them; the UTF-8 files are the cp1253 ones, converted.
check "distinct, 20000 distinct words" <(echo 20000) <(wc -l <"$work/distinct.expected")
if "$python" "$bench_dir/make_corpora.py" distinct --out "$work/unfit" --size-mb 0.1 \
    --vocabulary 20000 --source "$source" >/dev/null 2>&1; then status=0; else status=$?; fi
check "distinct, too many words for the size: status 3" <(echo 3) <(echo "$status")
for file in "$work/real"/*.txt; do
  check "utf8, $(basename "$file") converted back" "$file" \
    <(iconv -f UTF-8 -t CP1253 "$work/utf8/$(basename "$file")")
done
exit $((failures > 0))
