#!/usr/bin/env bash
# Screens of two builds side by side: each runs under its own Xvfb with 21
# placed clocks and the clock held at one moment (faketime; timers still run
# on the real monotonic clock, so the tick repaints the same second again and
# again, as it does when it fires twice within one second), and the screen is
# grabbed after SECONDS. Prints whether the grabs are the same pixel for pixel.
# A MOMENT that starts with "@" lets the clock run from there instead (grab
# half a second after a tick, e.g. SECONDS 95.5, so both builds show the
# same second).
# Usage: bench/samepixels.sh OLD_BINARY NEW_BINARY [MOMENT] [SECONDS]
set -euo pipefail
old=$(realpath "$1"); new=$(realpath "$2")
moment=${3:-2026-12-08 09:59:58}
secs=${4:-4}
cd "$(dirname "$0")/.."
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The settings of bench/runcost.sh.
bench/runcost/fullsettings.sh "$work/cfg"
shoot() { # binary png
  cp -r "$work/cfg" "$work/cfg-$(basename "$2")"
  XDG_CONFIG_HOME="$work/cfg-$(basename "$2")" FAKETIME="$moment" FAKETIME_DONT_FAKE_MONOTONIC=1 \
    LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 QT_QPA_PLATFORM=xcb \
    xvfb-run -a -s "-screen 0 1280x800x24" bash -c "'$1' & p=\$!; sleep $secs; import -window root '$2'; kill \$p"
}
shoot "$old" "$work/old.png"
shoot "$new" "$work/new.png"
diff=$(compare -metric AE "$work/old.png" "$work/new.png" null: 2>&1 || true)
echo "moment $moment, grabbed after $secs s: $diff pixels differ"
cp "$work/old.png" /tmp/samepixels-old.png; cp "$work/new.png" /tmp/samepixels-new.png
