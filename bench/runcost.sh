#!/usr/bin/env bash
# What the running program costs, side by side with other clocks, as a whole
# process under one Xvfb: launch to window mapped, resident memory at 10 s and
# 70 s, CPU and context switches (all threads) over the 60 s between, thread
# count. Median of ROUNDS rounds (3 by default). Figures only; never CI.
#
# Usage: bench/runcost.sh [ROUNDS]
#   TEMBRA_BIN=path     measure that binary instead of building a Release one
#   TEMBRA_BEFORE=path  measure that binary too, in the same run (before/after)
#   RUNCOST_SETTLE=s    start the 60 s window s seconds after launch instead
#                       of 10 (the faces' rims take about two minutes to settle)
#   RUNCOST_OUT=dir     keep the raw figures there (default: a temporary folder)
#   RUNCOST_DAYNIGHT=1  measure the program with "昼と夜を表示" on too, in the same run
set -euo pipefail
cd "$(dirname "$0")/.."
rounds=${1:-3}
scripts/deps.sh runcost >&2

. bench/runcost/common.sh
bin=$(tembra_binary)

work=$(mktemp -d)
out=${RUNCOST_OUT:-$work}
mkdir -p "$out"
gcc -O2 -o "$work/mapwait" bench/runcost/mapwait.c -lX11

# 21 placed clocks spread over the map, every third with summer time.
full="$work/full/TembraOG"
bench/runcost/fullsettings.sh "$work/full"
cp "$full/TembraOG.ini" "$out/full-settings.ini" 2>/dev/null || true
# The same for the build before: a folder of its own, as one copy runs per settings file.
cp -r "$work/full" "$work/fullb"
# The same with the night shown on the map.
cp -r "$work/full" "$work/fulldn"
printf '\n[UserImg]\nDayNight=True\n' >> "$work/fulldn/TembraOG/TembraOG.ini"

# gworldclock: twelve zones, one per two hours.
for z in Pacific/Honolulu America/Anchorage America/Los_Angeles America/Chicago \
         America/New_York America/Sao_Paulo Europe/London Europe/Paris Europe/Moscow \
         Asia/Kolkata Asia/Tokyo Australia/Sydney; do
  echo "$z"
done > "$work/tzlist"

start_xvfb "$work"
pids=()
cleanup() {
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  kill "$xvfb" 2>/dev/null || true
  [ -z "${RUNCOST_OUT:-}" ] && rm -rf "$work"
  true
}
trap cleanup EXIT

names=("tembra, 21 placed clocks (33 faces)" "tembra, first start (13 faces)"
       "xclock -update 1" "sunclock -map" "gworldclock (12 zones)")
codes=(0 1 2 3 4) # what launch starts for each row
before=${TEMBRA_BEFORE:-}
if [ -n "$before" ]; then
  before=$(realpath "$before")
  names+=("before: 21 placed clocks" "before: first start")
  codes+=(5 6)
fi
daynight=${RUNCOST_DAYNIGHT:-}
if [ -n "$daynight" ]; then
  names+=("day and night: 21 placed clocks" "day and night: first start")
  codes+=(7 8)
fi
settle=${RUNCOST_SETTLE:-10}

launch() { # index round → "pid ms"
  case $1 in
    0) XDG_CONFIG_HOME="$work/full" QT_QPA_PLATFORM=xcb "$work/mapwait" "$bin" ;;
    1) XDG_CONFIG_HOME="$work/first$2" QT_QPA_PLATFORM=xcb "$work/mapwait" "$bin" ;;
    2) "$work/mapwait" xclock -update 1 ;;
    3) "$work/mapwait" sunclock -map ;;
    4) "$work/mapwait" gworldclock -f "$work/tzlist" ;;
    5) XDG_CONFIG_HOME="$work/fullb" QT_QPA_PLATFORM=xcb "$work/mapwait" "$before" ;;
    6) XDG_CONFIG_HOME="$work/firstb$2" QT_QPA_PLATFORM=xcb "$work/mapwait" "$before" ;;
    7) XDG_CONFIG_HOME="$work/fulldn" QT_QPA_PLATFORM=xcb "$work/mapwait" "$bin" ;;
    8) XDG_CONFIG_HOME="$work/firstdn$2" QT_QPA_PLATFORM=xcb "$work/mapwait" "$bin" ;;
  esac
}

# utime+stime in ticks (dead threads included), context switches summed over
# the live threads, resident kB, threads.
sample() {
  local p=$1 cs=0 t
  for t in /proc/"$p"/task/*/status; do
    cs=$((cs + $(awk '/ctxt_switches/ {s += $2} END {print s}' "$t" 2>/dev/null || echo 0)))
  done
  local cpu
  cpu=$(awk '{print $14 + $15}' /proc/"$p"/stat)
  local rss thr
  rss=$(awk '/VmRSS/ {print $2}' /proc/"$p"/status)
  thr=$(awk '/Threads/ {print $2}' /proc/"$p"/status)
  echo "$cpu $cs $rss $thr"
}

hz=$(getconf CLK_TCK)
raw="$out/rounds.tsv"
echo -e "round\tprogram\tmap_ms\trss_start_kB\trss_end_kB\tcpu_s\tctxsw\tthreads" > "$raw"
for r in $(seq "$rounds"); do
  mkdir -p "$work/first$r" "$work/firstb$r" "$work/firstdn$r/TembraOG"
  printf '[UserImg]\nDayNight=True\n' > "$work/firstdn$r/TembraOG/TembraOG.ini"
  # Each round starts the launches at another program: the programs launched
  # last are measured a few seconds younger, while their faces still settle.
  pids=(); maps=(); n=${#names[@]}
  for k in "${!names[@]}"; do
    i=$(( (k + (r - 1) * n / rounds) % n ))
    read -r pid ms < <(launch "${codes[$i]}" "$r")
    pids[$i]=$pid; maps[$i]=$ms
    sleep 1
  done
  sleep "$settle"
  declare -A s10=()
  for i in "${!names[@]}"; do s10[$i]=$(sample "${pids[$i]}"); done
  sleep 60
  for i in "${!names[@]}"; do
    read -r c0 x0 m0 _ <<<"${s10[$i]}"
    read -r c1 x1 m1 t1 <<<"$(sample "${pids[$i]}")"
    printf '%s\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$r" "$i" "${maps[$i]}" "$m0" "$m1" \
      "$(awk -v a="$c0" -v b="$c1" -v h="$hz" 'BEGIN {printf "%.2f", (b - a) / h}')" \
      "$((x1 - x0))" "$t1" >> "$raw"
  done
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  pids=()
  sleep 1
done

echo "| program | CPU s per 60 s | context switches per 60 s, all threads | threads | RSS MB at $settle s | RSS MB at $((settle + 60)) s | launch → window mapped |"
echo "|---|---|---|---|---|---|---|"
med() { # program column → median of the rounds
  awk -F'\t' -v i="$1" -v c="$2" 'NR > 1 && $2 == i {print $c}' "$raw" | sort -g |
    awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'
}
for i in "${!names[@]}"; do
  printf '| %s | %.2f | %d | %d | %.1f | %.1f | %d ms |\n' "${names[$i]}" "$(med "$i" 6)" \
    "$(med "$i" 7)" "$(med "$i" 8)" "$(awk -v k="$(med "$i" 4)" 'BEGIN {print k / 1024}')" \
    "$(awk -v k="$(med "$i" 5)" 'BEGIN {print k / 1024}')" "$(printf '%.0f' "$(med "$i" 3)")"
done
echo "(median of $rounds rounds, window from $settle s to $((settle + 60)) s after launch; raw figures: $raw)"
