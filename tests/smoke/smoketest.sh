#!/usr/bin/env bash
# Starts the real program under a virtual X server with an empty home, waits
# for its window, asks it to close as a window manager would, and checks the
# settings file it leaves behind.
set -euo pipefail
program=$(readlink -f "$1")
here=$(cd "$(dirname "$0")" && pwd)
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT

export HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_DATA_HOME="$home/.local/share"
unset QT_QPA_PLATFORM
export LSAN_OPTIONS="suppressions=$here/lsan.supp:print_suppressions=0"

xvfb-run -a -s '-screen 0 1280x900x24' bash -c '
  "$0" > "$HOME/out.log" 2>&1 &
  pid=$!
  for i in $(seq 100); do
    wid=$(xdotool search --name "^mensor 2.4$" 2>/dev/null | head -1 || true)
    [ -n "$wid" ] && break
    sleep 0.2
  done
  if [ -z "$wid" ]; then echo "no window titled mensor 2.4"; kill $pid; exit 1; fi
  echo "window $wid titled: $(xdotool getwindowname "$wid")"
  python3 "$1" "$wid"
  for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.2; done
  if kill -0 $pid 2>/dev/null; then echo "still running after the close request"; kill $pid; exit 1; fi
  wait $pid
' "$program" "$here/closewindow.py" || { cat "$home/out.log"; exit 1; }

settings="$home/.config/ortus/mensor.xml"
[ -f "$settings" ] || { echo "no settings file at $settings"; exit 1; }
grep -q '^<mensor version="1">$' "$settings" || { echo "unexpected root element:"; head -3 "$settings"; exit 1; }
if grep -q 'ERROR: \(Address\|Leak\|UndefinedBehavior\)Sanitizer\|runtime error:' "$home/out.log"; then
  cat "$home/out.log"; exit 1
fi
echo "smoke test passed: window shown, closed cleanly, settings written"
