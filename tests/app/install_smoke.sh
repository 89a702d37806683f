#!/usr/bin/env bash
# The installed program: `cmake --install` into a DESTDIR, then, from another folder, the installed
# redkite finds its content under ../share/redkite and draws every renderer's frame exactly as the
# build folder's program does; the desktop entry validates, the manual page renders, --version
# gives the project's version. With --package it also builds the .deb with CPack and checks it
# with dpkg-deb and lintian.
# Usage: install_smoke.sh BUILD_DIR VERSION [--package]
set -u
source "${BASH_SOURCE[0]%/*}/smoke_support.sh"
build=$(cd "$1" && pwd)
version=$2
for tool in desktop-file-validate man; do
  command -v "$tool" >/dev/null || skip "$tool is not installed"
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

DESTDIR=$work/root cmake --install "$build" --prefix /usr >"$work/install.log" || { cat "$work/install.log"; exit 1; }
installed=$work/root/usr
# One time in each renderer's slot.
times=1.5,5.533,26,48.5,50.3,70.3,95,93,126.5,140,180,226,255,267
mkdir "$work/elsewhere"
(cd "$work/elsewhere" && "$installed/bin/redkite" render --at "$times" --size 160x120 --out "$work/installed") \
  >/dev/null 2>"$work/render.log" || { cat "$work/render.log"; fail "the installed program did not render"; }
"$build/redkite" --content "$build/content" render --at "$times" --size 160x120 --out "$work/built" >/dev/null 2>&1 ||
  fail "the build folder's program did not render"
for frame in "$work"/built/*.png; do
  cmp -s "$frame" "$work/installed/$(basename "$frame")" || fail "$(basename "$frame") differs from the build's"
done
[ "$(ls "$work/installed" | wc -l)" -eq 14 ] || fail "expected 14 frames from the installed program"

desktop-file-validate "$installed/share/applications/redkite.desktop" || fail "desktop entry"
[ -s "$installed/share/icons/hicolor/128x128/apps/redkite.png" ] || fail "no icon"
[ -s "$installed/share/doc/redkite/copyright" ] || fail "no licence"
page=$(MANWIDTH=100 man -l "$installed/share/man/man6/redkite.6.gz" 2>&1)
# Each command's own options (--sheet render, --fps capture, --at trace, --music spectrum) show that
# every command's --help made it into the page.
for text in "redkite - a real-time audiovisual presentation" "--content" "O and I move the music" \
  "--sheet" "--fps" "--at" "--music"; do
  grep -qF -- "$text" <<<"$page" || fail "the manual page lacks '$text'"
done
[ "$("$installed/bin/redkite" --version)" = "redkite $version" ] || fail "--version: $("$installed/bin/redkite" --version)"

if [ "${3:-}" = --package ]; then
  for tool in cpack dpkg-deb dpkg-shlibdeps lintian; do
    command -v "$tool" >/dev/null || skip "$tool is not installed"
  done
  (cd "$build" && cpack -G DEB -B "$work/package") >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
  deb=$work/package/redkite_${version}_amd64.deb
  info=$(dpkg-deb --info "$deb") || fail "dpkg-deb cannot read $deb"
  grep -q "^ Depends: .*libsdl2" <<<"$info" || fail "no run-time dependencies worked out: $info"
  lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1 || { cat "$work/lintian.log"; fail "lintian reports errors"; }
fi
[ "$failures" -eq 0 ] || exit 1
echo "PASS"
