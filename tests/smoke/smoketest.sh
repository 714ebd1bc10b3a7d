#!/usr/bin/env bash
# Starts the real program under a virtual X server with a home holding a store
# of earlier work, waits for its window, asks it to close as a window manager
# would, and checks that the store it leaves behind still holds that work.
# A second start finds the window layout it stored damaged in the way that
# crashes the toolkit, and must come up all the same, with every record.
# Leak checking is off here: what system libraries leave behind at exit
# differs from machine to machine; the unit tests check the program's own
# leaks. Memory errors and undefined behaviour still fail the run.
set -euo pipefail
program=$(readlink -f "$1")
fixture=$(readlink -f "$2")
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
unset QT_QPA_PLATFORM
export ASAN_OPTIONS="detect_leaks=0:abort_on_error=1"
settings="$home/.config/ortus/mensor.xml"
install -D -m 644 "$fixture" "$settings"

run_and_close() {
  xvfb-run -a -s '-screen 0 1280x900x24' bash -c '
    "$0" > "$HOME/out.log" 2>&1 &
    pid=$!
    for i in $(seq 300); do
      wid=$(xdotool search --name "^mensor 2.4$" 2>/dev/null | head -1 || true)
      [ -n "$wid" ] && break
      kill -0 $pid 2>/dev/null || { echo "mensor ended before showing a window"; exit 1; }
      sleep 0.2
    done
    if [ -z "$wid" ]; then echo "no window titled mensor 2.4"; kill $pid; exit 1; fi
    echo "window $wid titled: $(xdotool getwindowname "$wid")"
    python3 "$1" "$wid"
    for i in $(seq 300); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
    if kill -0 $pid 2>/dev/null; then echo "still running after the close request"; kill $pid; exit 1; fi
    wait $pid || { echo "mensor exited with status $?"; exit 1; }
  ' "$program" "$here/closewindow.py" || { cat "$home/out.log"; exit 1; }
  ! grep -q 'ERROR: \(Address\|UndefinedBehavior\)Sanitizer\|runtime error:' "$home/out.log" || { cat "$home/out.log"; exit 1; }
}

check_store() {
  grep -q '^<mensor version="1">$' "$settings" || { echo "unexpected root element:"; head -3 "$settings"; exit 1; }
  # Every record of the earlier work is still there, with its points.
  for key in '/home/lab/photos' '/home/lab/photos/IMG_0001.JPG'; do
    grep -q "<key>$key</key>" "$settings" || { echo "record $key lost"; cat "$settings"; exit 1; }
  done
  [ "$(grep -c '<point>' "$settings")" = "$(grep -c '<point>' "$fixture")" ] || { echo "points lost"; exit 1; }
  grep -q '<state>' "$settings" || { echo "window layout not stored"; exit 1; }
}

run_and_close
check_store

# The first dock area's index pointed past the toolkit's array of four.
perl -pi -e 's/(<state>(?:[0-9a-f]{2})*?fd000000[0-9a-f]{2})[0-9a-f]{8}/${1}00000007/' "$settings"
run_and_close
grep -q "window layout is damaged" "$home/out.log" || { echo "damaged layout not noticed"; cat "$home/out.log"; exit 1; }
check_store
echo "smoke test passed: window shown, closed cleanly, earlier work kept, layout stored; a damaged layout is left out"
