# Sourced by the running-cost scripts, from the project root.

# The program to measure: $TEMBRA_BIN, or a Release build made here.
tembra_binary() {
  local bin=${TEMBRA_BIN:-}
  if [ -z "$bin" ]; then
    cmake -S . -B build-runcost -DCMAKE_BUILD_TYPE=Release -DTEMBRA_BUILD_TESTS=OFF >/dev/null
    cmake --build build-runcost -j2 --target tembra >&2
    bin=build-runcost/src/tembra
  fi
  realpath "$bin"
}

# Starts an Xvfb of its own (pid in $xvfb) and exports DISPLAY for it.
# $1: a folder for the display number.
start_xvfb() {
  exec 3>"$1/display"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 50); do [ -s "$1/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(cat "$1/display")"
}
