#!/usr/bin/env bash
# The desktop program under a real X server and window manager, driven with
# real input (xdotool) as a user drives it, in steps:
#   open_with  the files a file manager opens with the program (the desktop
#              entry's Exec line) are counted at once; Save asks for a name
#              and writes tavro-cli's report; the corpus stays as it was.
#   cancel     Select Files, Add Files with a typed path and Enter, a click on
#              OK; the run over an endless pipe is stopped with Cancel while
#              Save is clicked and Ctrl+S pressed in the main window: the run's
#              window goes at once, none of that input is carried out after,
#              and the report is still the one of open_with.
#   export     View > Analysis (Ctrl+2), File > Export... (Ctrl+E), OK, a typed
#              name: the file is the noun table in UTF-8 TSV, in frequency
#              order, and its nouns and counts are those of tavro-cli's report.
# Usage: desktop_session_test.sh TAVRO TAVRO_CLI SOURCE_DIR
# Exits 77 (skipped) when Xvfb, openbox or xdotool is missing or the X server
# does not start.
set -euo pipefail
tavro=$(realpath "$1") cli=$(realpath "$2") source=$(realpath "$3")

skip() {
  echo "SKIPPED: $*"
  exit 77
}
# Also from inside $(...): the message goes to standard error, the work folder
# is kept for a look, and the caller's assignment fails the script.
fail() {
  echo "FAIL: $*" >&2
  import -window root "$work/failure.png" 2>/dev/null && echo "screen: $work/failure.png" >&2
  touch "$work/keep"
  exit 1
}
for tool in Xvfb openbox xdotool; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done

work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  [[ -e $work/keep ]] || rm -rf "$work"
}
trap cleanup EXIT

# An X server on a free display, and a window manager on it.
display=
for n in $(seq 80 120); do
  [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] || { display=$n; break; }
done
[[ -n $display ]] || skip "no free X display"
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export DISPLAY=":$display"
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
xdotool getmouselocation >/dev/null 2>&1 || skip "the X server did not start"
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 0.5

# Settings, runtime files and data of the test's own.
export HOME="$work/home" XDG_CONFIG_HOME="$work/config" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME" "$XDG_RUNTIME_DIR" "$work/data" "$work/corpus" "$work/out"
chmod 700 "$XDG_RUNTIME_DIR"
export QT_QPA_PLATFORM=xcb
cp "$source/data/finalList.txt" "$source/data/conjugation.txt" "$work/data/"
cp "$source"/data/corpus/*.txt "$work/corpus/"
cp -r "$work/corpus" "$work/corpus.orig"
corpus=("$work"/corpus/*.txt)

# The id of the visible window titled exactly $1, waiting up to $2 s.
window() {
  local id
  for _ in $(seq $((${2:-10} * 20))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1) || true
    [[ -n $id ]] && { echo "$id"; return; }
    sleep 0.05
  done
  fail "no window '$1'"
}
no_window() { ! xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1; }
wait_file() {
  for _ in $(seq 100); do [[ -s $1 ]] && return; sleep 0.05; done
  fail "$1 was not written"
}
click() { xdotool mousemove --window "$1" "$2" "$3" click 1; }

step_open_with() {
  local args=() word
  for word in $(sed -n 's/^Exec=//p' "$source/app/tavro.desktop"); do
    case $word in
      %F) args+=("${corpus[@]}") ;;
      %f) args+=("${corpus[0]}") ;;
      *) args+=("$word") ;;
    esac
  done
  [[ ${args[0]} == tavro ]] || fail "the desktop entry runs ${args[0]}"
  (cd "$work/data" && exec "$tavro" "${args[@]:1}") >"$work/tavro.log" 2>&1 &
  pids+=($!)
  tavro_pid=$!
  main=$(window "Untitled - Tavro" 20)
  sleep 1  # the run over the sample corpus takes a moment
  no_window "Please Wait" || fail "the run over the sample corpus did not end"
  xdotool windowactivate --sync "$main" key ctrl+s
  window "Save As" >/dev/null
  xdotool type --delay 10 "$work/out/report.txt"
  xdotool key Return
  wait_file "$work/out/report.txt"
  window "report.txt - Tavro" >/dev/null
  (cd "$work/data" && "$cli" "${corpus[@]}") >"$work/cli.txt"
  cmp "$work/out/report.txt" "$work/cli.txt" || fail "the saved report differs from tavro-cli's"
  diff -r "$work/corpus" "$work/corpus.orig" >/dev/null || fail "a corpus file was changed"
  echo "open_with: ok"
}

step_cancel() {
  mkfifo "$work/endless.txt"
  python3 - "$work/endless.txt" "${corpus[0]}" <<'EOF' &
import sys, time
text = open(sys.argv[2], "rb").read()
try:
    with open(sys.argv[1], "wb") as pipe:
        ends = time.time() + 60
        while time.time() < ends:
            pipe.write(text)
            pipe.flush()
            time.sleep(0.001)
except BrokenPipeError:
    pass
EOF
  pids+=($!)
  xdotool windowactivate --sync "$main" key ctrl+o
  local select
  select=$(window "Select Files")
  xdotool key alt+a
  window "Open" >/dev/null
  xdotool type --delay 10 "$work/endless.txt"
  xdotool key Return
  sleep 0.5
  no_window "Open" || fail "the chooser stayed open"
  eval "$(xdotool getwindowgeometry --shell "$select")"
  click "$select" 313 $((HEIGHT - 40))  # OK
  local wait
  wait=$(window "Please Wait" 5)
  sleep 0.5
  click "$main" 88 37  # the toolbar's Save
  xdotool windowactivate --sync "$main" key ctrl+s
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$wait")"
  local pressed gone
  pressed=$(date +%s%N)
  click "$wait" $((WIDTH - 77)) $((HEIGHT - 25))  # Cancel
  for _ in $(seq 100); do no_window "Please Wait" && break; sleep 0.01; done
  gone=$(date +%s%N)
  no_window "Please Wait" || fail "the run did not stop"
  echo "cancel: the run's window went $(((gone - pressed) / 1000000)) ms after the click"
  sleep 1
  no_window "Save As" || fail "a click made during the run was carried out after it"
  window "report.txt - Tavro" 2 >/dev/null
  rm "$work/out/report.txt"
  xdotool windowactivate --sync "$main" key ctrl+s
  wait_file "$work/out/report.txt"
  cmp "$work/out/report.txt" "$work/cli.txt" || fail "the report changed with the cancelled run"
  echo "cancel: ok"
}

step_export() {
  xdotool windowactivate --sync "$main" key ctrl+2
  sleep 0.5
  xdotool windowactivate --sync "$main" key ctrl+e
  window "Export" >/dev/null
  xdotool key Return
  window "Export As" >/dev/null
  xdotool type --delay 10 "$work/out/nouns.tsv"
  xdotool key Return
  wait_file "$work/out/nouns.tsv"
  python3 - "$work/out/nouns.tsv" "$work/cli.txt" <<'EOF' || fail "the exported table differs from tavro-cli's report"
import sys
lines = [line.split("\t") for line in open(sys.argv[1], encoding="utf-8").read().split("\n")]
assert lines[0] == ["rank", "noun", "count", "sure count", "per million", "files"], lines[0]
rows = [line for line in lines[1:] if line != [""]]
assert [int(row[0]) for row in rows] == list(range(1, len(rows) + 1)), "ranks"
counts = [int(row[2]) for row in rows]
assert counts == sorted(counts, reverse=True), "not in frequency order"
report = open(sys.argv[2], encoding="cp1253").read().split("\n")
expected = sorted(line.split(" ") for line in report if line)
assert sorted(row[1:3] for row in rows) == expected, (len(rows), len(expected))
EOF
  xdotool windowactivate --sync "$main" key ctrl+1
  window "report.txt - Tavro" 2 >/dev/null
  echo "export: ok ($(($(wc -l <"$work/out/nouns.tsv") - 1)) nouns)"
}

step_quit() {
  xdotool windowactivate --sync "$main" key alt+f
  sleep 0.3
  xdotool key x
  for _ in $(seq 100); do kill -0 "$tavro_pid" 2>/dev/null || break; sleep 0.05; done
  if kill -0 "$tavro_pid" 2>/dev/null; then fail "the program did not end on File > Exit"; fi
  wait "$tavro_pid" || fail "the program ended with status $?"
  grep -q geometry "$XDG_CONFIG_HOME/Tavro/Tavro.conf" || fail "the window was not remembered"
  echo "quit: ok"
}

step_open_with
step_cancel
step_export
step_quit
echo "desktop session: 4 passed, 0 failed"
