#!/usr/bin/env bash
# Starts the program under a virtual X server and saves a screenshot.
# Usage: scripts/screenshot.sh BUILD_DIR OUT.png [seconds]
#   SCREENSHOT_AT="2026-06-21 12:00:00"  the program's clock starts at that
#                                         Greenwich time (libfaketime) and runs on
# Needs xvfb, xauth, ImageMagick and libfaketime (scripts/deps.sh screenshot installs them).
set -euo pipefail
"$(dirname "$0")/deps.sh" screenshot
build=${1:-build}
out=${2:-screenshot.png}
wait_s=${3:-3}
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$(mktemp -d)}
clock=""
if [ -n "${SCREENSHOT_AT:-}" ]; then
  clock="env TZ=UTC FAKETIME='@$SCREENSHOT_AT' FAKETIME_DONT_FAKE_MONOTONIC=1 LD_PRELOAD=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
fi
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
  $clock '$build/src/tembra' &
  pid=\$!
  sleep $wait_s
  import -window root '$out'
  kill \$pid
"
echo "saved $out"
