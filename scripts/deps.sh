#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Usage: scripts/deps.sh [run|test|bench|runcost|fuzz|screenshot]
set -euo pipefail
what=${1:-test}
pkgs=(cmake make g++ qt6-base-dev libfontconfig-dev libxcb1-dev libpng-dev fonts-ipafont-gothic)
case "$what" in
  # qt6-translations-l10n: Qt's own texts (buttons, text-field menus) in Japanese;
  # tzdata: each place's own summer time.
  run) pkgs+=(qt6-qpa-plugins qt6-translations-l10n tzdata) ;;
  # desktop-file-validate checks the menu entry; dpkg-shlibdeps gives the
  # package's library dependencies; the end-to-end scenarios need a virtual
  # X server, input, screenshots and a fake clock; every test sets the
  # computer's time zone, and the place rules read theirs (tzdata); the
  # screen-reader scenario reads the program over the accessibility bus of a
  # private D-Bus session.
  test) pkgs+=(desktop-file-utils dpkg-dev qt6-qpa-plugins qt6-translations-l10n xvfb xdotool x11-apps imagemagick libfaketime tzdata
               dbus at-spi2-core python3-pyatspi) ;;
  bench) pkgs+=(libbenchmark-dev) ;;
  # bench/runcost.sh: the program under Xvfb beside other clocks, plus the
  # heap and profile tools its figures were found with.
  runcost) pkgs+=(qt6-qpa-plugins xvfb libx11-dev gcc x11-apps sunclock gworldclock heaptrack linux-perf) ;;
  fuzz) pkgs+=(clang libclang-rt-dev) ;;
  screenshot) pkgs+=(qt6-qpa-plugins xvfb xauth imagemagick libfaketime) ;;
  *) echo "usage: $0 [run|test|bench|runcost|fuzz|screenshot]" >&2; exit 2 ;;
esac
# The package's own checks: lintian on the .deb, appstreamcli on its metainfo.
if [ "$what" = test ]; then pkgs+=(lintian appstream); fi
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
line="apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    # A Debian install with a root password has no sudo: say what to run, change nothing.
    echo "Missing packages: ${missing[*]}" >&2
    echo "Run this as root (for example after 'su -'), then start this script again:" >&2
    echo "  $line" >&2
    exit 1
  fi
  sudo="sudo"
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
