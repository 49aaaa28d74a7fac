#!/usr/bin/env bash
# One start of the program with PICTURE as its map file, up to its first
# window on screen (the main window, or a message before it), then closed:
# time it as a whole process, e.g. xvfb-run -a /usr/bin/time -v bench/mapstart.sh ...
# CACHE_HOME names the cache folder to use (default: a new, empty one).
# Usage: bench/mapstart.sh PROGRAM PICTURE   (needs DISPLAY and xdotool)
set -euo pipefail
bin=$1 picture=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/config/TembraOG"
printf '[UserImg]\nWorldMap=8\nWorldMapFile=%s\n' "$picture" >"$work/config/TembraOG/TembraOG.ini"
XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="${CACHE_HOME:-$work/cache}" QT_QPA_PLATFORM=xcb "$bin" &
pid=$!
until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
  kill -0 "$pid" 2>/dev/null || exit 1
  sleep 0.05
done
kill "$pid"
wait "$pid" || true
