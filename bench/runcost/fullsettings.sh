#!/usr/bin/env bash
# Writes the settings of 21 placed clocks spread over the map, every third in
# summer time, to DIR/TembraOG/TembraOG.ini (DIR serves as XDG_CONFIG_HOME).
set -euo pipefail
dir="$1/TembraOG"
mkdir -p "$dir"
{
  echo "[UserClock]"
  echo "n=20"
  flags=(Japan USA UK France Brazil India China)
  for i in $(seq 0 20); do
    printf '\n[UC%03d]\n' "$i"
    echo "ClockLeft=$((800 + (i % 7) * 1500))"
    echo "ClockTop=$((800 + (i / 7) * 1900))"
    echo "DifMinute=0"
    echo "DifTime=$((i - 10))"
    echo "FlagLeft=$((1300 + (i % 7) * 1500))"
    echo "FlagTop=$((500 + (i / 7) * 1900))"
    echo "Fname=${flags[$((i % 7))]}"
    if [ $((i % 3)) -eq 0 ]; then echo "summertime=True"; else echo "summertime=False"; fi
  done
} > "$dir/TembraOG.ini"
