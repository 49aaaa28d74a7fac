#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: scripts/deps.sh [run|test|bench]
set -euo pipefail
what=${1:-test}
pkgs=(cmake make g++ qt6-base-dev fonts-ipafont-gothic)
case "$what" in
  run) pkgs+=(qt6-qpa-plugins) ;;
  # The end-to-end scenarios: a virtual X server, input, screenshots, a fake clock.
  test) pkgs+=(qt6-qpa-plugins xvfb xdotool x11-apps imagemagick libfaketime) ;;
  bench) pkgs+=(libbenchmark-dev) ;;
esac
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
