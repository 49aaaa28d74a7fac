#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks that it holds what a
# desktop needs: the program, its help, its menu entry and its icons, its
# manual page, licence and metainfo; that it asks for the Qt libraries, the
# font and the time-zone database; and that lintian finds no errors in it.
# Usage: check-package.sh BUILD_DIR
set -euo pipefail
build=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/*.deb)
echo "package: $(basename "$deb")"

dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./|/|' >"$work/files"
fail=0
need() {
  if grep -qx -- "$1" "$work/files"; then echo "ok   $1"; else echo "MISSING $1"; fail=1; fi
}
need /usr/bin/tembra
need /usr/share/tembra/tembra.hlp
need /usr/share/tembra/tembra-help-window.png
need /usr/share/applications/tembra.desktop
need /usr/share/icons/hicolor/scalable/apps/tembra.svg
need /usr/share/metainfo/tembra.metainfo.xml
need /usr/share/man/man1/tembra.1.gz
need /usr/share/doc/tembra/copyright
need /usr/share/doc/tembra/changelog.gz
for s in 16 22 24 32 48 64 128 256; do need "/usr/share/icons/hicolor/${s}x${s}/apps/tembra.png"; done

# The help file must not sit in bin/, where no desktop looks for data.
if grep -q '^/usr/bin/.*\.hlp$' "$work/files"; then echo "help file in bin/"; fail=1; fi

depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for p in libqt6core6 libqt6gui6 libqt6widgets6 libqt6network6 libxcb1 qt6-qpa-plugins fonts-ipafont-gothic qt6-translations-l10n tzdata; do
  case ", $depends," in
    *", $p "*|*", $p,"*) ;;
    *) echo "Depends lacks $p"; fail=1 ;;
  esac
done

# The unpacked program must be the one that runs, with the help beside it in share/.
dpkg-deb -x "$deb" "$work/root"
[ -x "$work/root/usr/bin/tembra" ] || { echo "program not executable"; fail=1; }
grep -q '^Icon=tembra$' "$work/root/usr/share/applications/tembra.desktop" || { echo "desktop entry names another icon"; fail=1; }
# Debian's own checker: errors would keep the package out of any archive.
lintian --fail-on error --suppress-tags-from-file /dev/null "$deb" || { echo "lintian reports errors"; fail=1; }
exit $fail
