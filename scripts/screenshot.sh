#!/usr/bin/env bash
# Starts the program under a virtual X server and saves a screenshot.
# Usage: scripts/screenshot.sh BUILD_DIR OUT.png [seconds]
# Needs xvfb, xauth and ImageMagick (scripts/deps.sh screenshot installs them).
set -euo pipefail
"$(dirname "$0")/deps.sh" screenshot
build=${1:-build}
out=${2:-screenshot.png}
wait_s=${3:-3}
export XDG_CONFIG_HOME=${XDG_CONFIG_HOME:-$(mktemp -d)}
xvfb-run -a -s "-screen 0 1024x700x24" bash -c "
  '$build/src/tembra' &
  pid=\$!
  sleep $wait_s
  import -window root '$out'
  kill \$pid
"
echo "saved $out"
