#!/usr/bin/env bash
# The dialog in a real window: gyrelle --dialog on a display (a virtual X
# server of its own when none is set) opens the parameter window, and a
# scripted run saves the settings through the chooser's own window and
# closes it with OK, after picking from a popup's menu (a window of its own)
# and a resize. Exit 77 (skipped) when no X server or no
# windowing support is at hand.
set -u
gyrelle=$1
root=$2
work=$(mktemp -d)
trap 'rm -rf "$work"; [ -n "${xpid:-}" ] && kill "$xpid" 2>/dev/null' EXIT
if [ -z "${DISPLAY:-}" ]; then
  command -v Xvfb >/dev/null || { echo "no Xvfb: skipped"; exit 77; }
  for n in $(seq 91 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x900x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xpid=$!
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if kill -0 "$xpid" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then export DISPLAY=":$n"; break; fi
    xpid=""
  done
  [ -n "${DISPLAY:-}" ] || { echo "no X server could start: skipped"; exit 77; }
fi
cat >"$work/ok.txt" <<'SCRIPT'
window xparams
expect window xparams
popup 51 2
menu 51 46
expect value 51 46
resize 1000 700
screenshot WORK/shown.png
chooser window
click 26
window chooser
fill 4 WORK/typed.q2q
click 8
window xparams
click 2
SCRIPT
sed -i "s|WORK|$work|" "$work/ok.txt"
# The display's own libraries (D-Bus, the X drivers) keep memory until exit
# that a leak checker counts; the plug-in's leaks are checked headless.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
HOME="$work" "$gyrelle" -q --dialog-script "$work/ok.txt" "$root/resources/default_panorama.png" "$work/out.png" \
  2>"$work/err.txt"
status=$?
cat "$work/err.txt"
if grep -q "no window can be opened\|cannot open the display" "$work/err.txt"; then
  echo "gyrelle has no windowing support here: skipped"
  exit 77
fi
[ $status -eq 0 ] || { echo "gyrelle failed ($status)"; exit 1; }
grep -q 'opened the window "xparams" on the display' "$work/err.txt" || { echo "no real window was opened"; exit 1; }
[ -s "$work/out.png" ] && [ -s "$work/shown.png" ] || { echo "no result or screenshot"; exit 1; }
# The output popup's menu is a window of its own on the display.
grep -q 'opened the window "menu" on the display' "$work/err.txt" || { echo "the menu had no real window"; exit 1; }
# The chooser is a window of its own on the display, where a name was typed.
grep -q 'opened the window "chooser" on the display' "$work/err.txt" || { echo "the chooser had no real window"; exit 1; }
[ -s "$work/typed.q2q" ] || { echo "the chooser did not save under the typed name"; exit 1; }
echo "the dialog opened on $DISPLAY and closed with OK"
