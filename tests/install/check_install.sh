#!/usr/bin/env bash
# What a user gets from a build: installs it as the README says (here into a
# scratch DESTDIR), checks the tree and its desktop metadata, starts the
# installed program once and opens its read-me; then builds the .deb, runs
# lintian on it, unpacks it and runs what it holds.
# Usage: tests/install/check_install.sh BUILD_DIR
# Needs an X server with a window manager in DISPLAY (scripts/with-x).
set -euo pipefail
build=$(realpath "$1")
scratch=$(mktemp -d)
pid=""
cleanup() {
  # The program is waited for before its files go: it may still be writing
  # its drive recording into the scratch tree.
  if [[ -n $pid ]]; then
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() { echo "check_install: $*" >&2; exit 1; }
step() { echo "-- $*"; }

id=org.veltrascope.veltrascope
# Everything an installation holds, below its prefix.
expected="bin/veltrascope
bin/veltrascope-decode
bin/veltrascope-sim
share/applications/veltrascope.desktop
share/doc/veltrascope/changelog.gz
share/doc/veltrascope/copyright
share/doc/veltrascope/readme.txt
share/icons/hicolor/256x256/apps/veltrascope.png
share/icons/hicolor/48x48/apps/veltrascope.png
share/icons/hicolor/scalable/apps/veltrascope.svg
share/man/man1/veltrascope-decode.1.gz
share/man/man1/veltrascope-sim.1.gz
share/man/man1/veltrascope.1.gz
share/metainfo/$id.metainfo.xml
share/mime/packages/veltrascope-drive.xml"

# Fails unless the tree below $1 holds exactly the expected files.
check_tree() {
  local actual
  actual=$(cd "$1" && find . -type f -o -type l | sed 's|^\./||' | LC_ALL=C sort)
  [[ $actual == "$(LC_ALL=C sort <<<"$expected")" ]] ||
    fail "$2 differs from the expected tree:
$(diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual"))"
}

step "cmake --install into a scratch DESTDIR"
prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build/CMakeCache.txt")
DESTDIR=$scratch/root cmake --install "$build" >/dev/null
tree=$scratch/root$prefix
check_tree "$tree" "the installed tree"
for b in veltrascope veltrascope-decode veltrascope-sim; do
  [[ -x $tree/bin/$b ]] || fail "bin/$b is not executable"
done
for size in 48 256; do
  got=$(identify -format '%wx%h' "$tree/share/icons/hicolor/${size}x$size/apps/veltrascope.png")
  [[ $got == "${size}x$size" ]] || fail "the ${size}x$size icon is $got"
done

step "desktop-file-validate, appstreamcli validate"
desktop-file-validate "$tree/share/applications/veltrascope.desktop"
appstreamcli validate --no-net "$tree/share/metainfo/$id.metainfo.xml" >/dev/null ||
  appstreamcli validate --no-net "$tree/share/metainfo/$id.metainfo.xml"

step "the installed program on the X server, and its read-me"
mkdir -p "$scratch/config/Veltrascope" "$scratch/nobin"
printf '[Settings]\nAutoConnect=0\n' >"$scratch/config/Veltrascope/Veltrascope.ini"
# No opener anywhere on PATH, as on a desktop without xdg-utils: the read-me
# must come up in the program's own window, found in share/doc.
env -u BROWSER -u DEFAULT_BROWSER PATH="$scratch/nobin" XDG_CONFIG_HOME="$scratch/config" \
  XDG_DATA_HOME="$scratch/data" "$tree/bin/veltrascope" &
pid=$!
window=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" --name '^Veltra Scope$' |
  head -n1) || fail "the installed program showed no window"
title=$(xprop -id "$window" _NET_WM_NAME)
[[ $title == '_NET_WM_NAME(UTF8_STRING) = "Veltra Scope"' ]] || fail "window title: $title"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+h r
readme=$(timeout 20 xdotool search --all --sync --onlyvisible --pid "$pid" \
  --name '^readme\.txt — Veltra Scope$' | head -n1) || fail "Help > ReadMe... showed nothing"
xdotool windowactivate --sync "$window" key --clearmodifiers alt+F4
timeout 20 tail --pid="$pid" -f /dev/null || fail "the program did not end on close"
rc=0
wait "$pid" || rc=$?
pid=""
[[ $rc == 0 ]] || fail "the program ended with status $rc"

step "the .deb: build, lintian, unpack, run"
rm -f "$build"/veltrascope_*.deb
cmake --build "$build" --target package >/dev/null
deb=$(ls "$build"/veltrascope_*.deb)
# Errors and warnings fail; informational tags are shown but pass.
lintian --fail-on error,warning "$deb"
depends=$(dpkg-deb -f "$deb" Depends)
grep -q libqt6widgets6 <<<"$depends" || fail "Depends lacks Qt Widgets: $depends"
dpkg -x "$deb" "$scratch/deb"
check_tree "$scratch/deb/usr" "the package"
version=$("$scratch/deb/usr/bin/veltrascope" --version | head -n1)
[[ $version == "veltrascope (Veltra Scope) $(dpkg-deb -f "$deb" Version)" ]] ||
  fail "the packaged program says '$version'"
"$build/tools/sim/veltrascope-sim" --out "$scratch/capture.raw" --seconds 30 --fast
"$scratch/deb/usr/bin/veltrascope-decode" "$scratch/capture.raw" >"$scratch/packaged.log"
"$build/tools/decode/veltrascope-decode" "$scratch/capture.raw" >"$scratch/built.log"
[[ -s $scratch/packaged.log ]] || fail "the packaged decoder wrote nothing"
cmp "$scratch/packaged.log" "$scratch/built.log" ||
  fail "the packaged decoder's log differs from the build's"
echo "install and package: OK ($(wc -l <"$scratch/packaged.log") log lines decoded)"
