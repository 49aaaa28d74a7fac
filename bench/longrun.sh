#!/usr/bin/env bash
# The real program over real time: 21 placed clocks under Xvfb for MINUTES
# minutes (60 by default), sampled once a minute: resident memory, CPU and
# context switches of all threads so far, thread count. Figures only; never CI.
#
# Usage: bench/longrun.sh [MINUTES]
#   TEMBRA_BIN=path     measure that binary instead of building a Release one
#   LONGRUN_OUT=file    write the samples there as well (tab-separated)
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=${1:-60}
scripts/deps.sh runcost >&2

. bench/runcost/common.sh
bin=$(tembra_binary)

work=$(mktemp -d)
bench/runcost/fullsettings.sh "$work/full"
start_xvfb "$work"
XDG_CONFIG_HOME="$work/full" QT_QPA_PLATFORM=xcb "$bin" &
pid=$!
trap 'kill $pid $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

hz=$(getconf CLK_TCK)
out=${LONGRUN_OUT:-/dev/null}
echo -e "minute\trss_kB\tcpu_s\tctxsw\tthreads" | tee "$out"
for m in $(seq 0 "$minutes"); do
  [ "$m" -gt 0 ] && sleep 60
  kill -0 "$pid" 2>/dev/null || { echo "the program has ended" >&2; exit 1; }
  cs=0
  for t in /proc/"$pid"/task/*/status; do
    cs=$((cs + $(awk '/ctxt_switches/ {s += $2} END {print s}' "$t" 2>/dev/null || echo 0)))
  done
  printf '%s\t%s\t%s\t%s\t%s\n' "$m" "$(awk '/VmRSS/ {print $2}' /proc/$pid/status)" \
    "$(awk -v h="$hz" '{printf "%.2f", ($14 + $15) / h}' /proc/$pid/stat)" "$cs" \
    "$(awk '/Threads/ {print $2}' /proc/$pid/status)" | tee -a "$out"
done
