#!/usr/bin/env bash
# The editor as its users start it: help and bad command lines without a display, then a real
# start under a virtual X server with a file and a template set named on the command line. The
# window must come up titled with the file's whole path, and Escape must end the program.
# Usage: StartTest.sh TARNWICK
set -euo pipefail
tarnwick=$1
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
cd "$folder"

fail() { echo "FAIL: $*" >&2; exit 1; }

for help in --help -h; do
  out=$("$tarnwick" "$help") || fail "$help exits $?"
  [[ $out == "Usage: tarnwick [--templates SET] [FILE]"* ]] || fail "$help prints: $out"
done
for bad in "a.odf b.odf" "--templates" "--bogus" "--templates a.txt --templates b.txt"; do
  # shellcheck disable=SC2086 # each case is several words
  if QT_QPA_PLATFORM=offscreen "$tarnwick" $bad >out.txt 2>err.txt; then
    fail "'$bad' succeeds"
  else
    status=$?
  fi
  [[ $status == 2 && ! -s out.txt ]] || fail "'$bad' exits $status"
  grep -q '^Usage: tarnwick' err.txt || fail "'$bad' prints no usage"
done

printf '[GameObject]\nmaxHealth = 5\n' >unit.odf
printf 'unit.odf\n' >set.txt
: >ALIAS.TXT
# The program is started by a relative name and must show the absolute one.
xvfb-run -a bash -c '
  QT_QPA_PLATFORM=xcb "$0" --templates set.txt unit.odf & pid=$!
  title="^Tarnwick - \[$1/unit.odf\]\$"
  timeout 20 xdotool search --sync --limit 1 --name "$title" >/dev/null || { kill $pid; exit 3; }
  # The key release reaches a window that Escape has already closed; xdotool calls that an error.
  xdotool search --limit 1 --name "$title" windowfocus --sync key Escape 2>/dev/null || true
  timeout 10 tail --pid=$pid -f /dev/null || { kill $pid; exit 4; }
  wait $pid' "$tarnwick" "$folder" || fail "the window did not show the file, or Escape did not end the program ($?)"
echo "start test passed"
