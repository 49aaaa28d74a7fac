#!/usr/bin/env bash
# Builds the settings-load fuzz target with clang's libFuzzer and AddressSanitizer
# (CMake option TEMBRA_BUILD_FUZZ) and runs it. Not part of the normal build or of CI.
#
#   tools/fuzz-settings.sh [seconds] [extra libFuzzer options...]
#
# Needs clang++ and its libFuzzer runtime (Debian: clang, libclang-rt-dev) and
# the Qt 6 development files: `scripts/deps.sh fuzz` installs them. The build,
# the corpus and any crash files go to $FUZZ_DIR (default: a folder under the
# system temp dir).
set -euo pipefail

seconds=${1:-60}
shift || true
top=$(cd "$(dirname "$0")/.." && pwd)
out=${FUZZ_DIR:-${TMPDIR:-/tmp}/tembra-fuzz-settings}
cxx=${CXX_FUZZ:-clang++}
mkdir -p "$out/corpus" "$out/crashes"

"$top/scripts/deps.sh" fuzz
# Qt is built with g++; clang++ with libstdc++ links against it fine.
CXX="$cxx" cmake -S "$top" -B "$out/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTEMBRA_BUILD_TESTS=OFF -DTEMBRA_BUILD_FUZZ=ON >/dev/null
cmake --build "$out/build" -j2 --target fuzz_settings_load
fuzzer="$out/build/tools/fuzz/fuzz_settings_load"

# A few well-formed files to start from.
seed() { printf '%b' "$2" > "$out/corpus/$1"; }
seed empty ''
seed full '[Color]\n0=8421504\n6=14737632\n\n[UC000]\nClockLeft=9950\nClockTop=3300\nDifMinute=0\nDifTime=0\nFlagLeft=10500\nFlagTop=2900\nFname=Japan\nsummertime=False\n\n[UserClock]\nClockRc=440\nGageColor=255\nNeadleColor=0\nn=0\n\n[UserImg]\n001FileName=/nonexistent/a.bmp\n001Size=st0300-0200\nUserImgCount=1\nWorldMap=8\nWorldMapFile=/nonexistent/map.jpg\n'
seed two '[UC000]\nClockLeft=1234.5\nDifTime=-5\nDifMinute=30\nsummertime=True\n[UC001]\nFname="London, Paris"\nClockTop=1e40\n[UserClock]\nn=1\n'
seed edited '\xef\xbb\xbf# by hand\n[UserClock]\n; note\nn=1\nno equals sign\n[UC000\nClockLeft=5\n[UC001]\nFname="a\n'
seed odd '[UserClock]\nn=  12abc\nClockRc=300.5\n[UserImg]\nUserImgCount=40000\nWorldMap=@Invalid()\n'

# Every run writes and syncs the settings file several times; on a RAM disk a
# sync costs nothing, on a real disk it is most of the time.
if [ -z "${FUZZ_TMP:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then FUZZ_TMP=/dev/shm; fi
export TMPDIR=${FUZZ_TMP:-${TMPDIR:-/tmp}}
# A small quarantine and no allocation stacks keep memory flat and runs fast;
# rerun a crash file with ASAN_OPTIONS= to see where the memory came from.
export ASAN_OPTIONS=${ASAN_OPTIONS:-malloc_context_size=0:quarantine_size_mb=32}

cd "$out/crashes"
exec "$fuzzer" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
    -print_final_stats=1 -dict="$top/tools/fuzz/settings.dict" "$@" "$out/corpus"
