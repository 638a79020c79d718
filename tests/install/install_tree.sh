#!/bin/bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the build into a temporary prefix and checks it as a user and a desktop would:
# every file the program needs is there, the menu entry and AppStream data validate, and the
# installed program, started with a fresh home, makes its own folder from the installed data,
# later restores only what is missing, and falls back to the installed data when it cannot.
# Usage: install_tree.sh BUILD_DIR WORK_DIR SOURCE_DIR
set -euo pipefail
build=$1 work=$2 source=$3
id=io.github.corvina.Corvina
rm -rf "$work"
mkdir -p "$work"
prefix=$work/usr
cmake --install "$build" --prefix "$prefix" >"$work/install.log"
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

fail() { echo "FAIL: $*" >&2; exit 1; }
need() { for f in "$@"; do [ -s "$prefix/$f" ] || fail "missing or empty: $f"; done; }

# The programs, the menu entry, the metadata, the icons, the manual, the copyright.
[ -x "$prefix/bin/corvina" ] || fail "bin/corvina is not installed as an executable"
need share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
  share/icons/hicolor/scalable/apps/$id.svg share/man/man6/corvina.6.gz \
  share/doc/corvina/copyright
for size in 16 22 24 32 48 64 128 256; do
  png=$prefix/share/icons/hicolor/${size}x${size}/apps/$id.png
  [ -s "$png" ] || fail "missing icon $size"
  # PNG width and height sit at bytes 16..23 of the header, big-endian.
  [ "$(od -An -tx1 -j16 -N8 "$png" | tr -d ' \n')" = "$(printf '%08x%08x' $size $size)" ] ||
    fail "icon $size is not ${size}x$size"
done
gzip -t "$prefix/share/man/man6/corvina.6.gz"
for program in corvina-lobby corvina-uci; do
  if [ -x "$build/$program" ]; then
    [ -x "$prefix/bin/$program" ] || fail "bin/$program is not installed"
    need share/man/man6/$program.6.gz
  fi
done
if [ -x "$build/corvina-lobby" ]; then
  unit=$prefix/lib/systemd/system/corvina-lobby.service
  [ -s "$unit" ] || fail "the lobby's service unit is not installed"
  grep -qx "ExecStart=$prefix/bin/corvina-lobby --port 2469" "$unit" || fail "unit ExecStart"
  grep -qx "DynamicUser=yes" "$unit" || fail "unit DynamicUser"
fi

# Every data file of the source tree is installed, unchanged, and nothing else.
data=$prefix/share/corvina
(cd "$source/data" && find . -type f ! -name chlist-sources.txt | sort) >"$work/data.want"
(cd "$data" && find . -type f | sort) >"$work/data.have"
diff -u "$work/data.want" "$work/data.have" || fail "installed data differ from data/"
while read -r f; do
  cmp -s "$source/data/$f" "$data/$f" || fail "installed $f differs from data/$f"
done <"$work/data.want"
for f in al.dat chlist.dat Settings/Default pieces/Merlot.bmp help.html help_netgame.html \
  readme.doc bg/meridian.jpg bg/standard.jpg bg/stone.jpg bg/metal.jpg bg/charcoal.jpg \
  bg/Crystal.jpg; do
  [ -f "$data/$f" ] || fail "share/corvina/$f is not installed"
done

desktop-file-validate "$prefix/share/applications/$id.desktop"
appstreamcli validate --no-net "$prefix/share/metainfo/$id.metainfo.xml" >"$work/appstream.log" ||
  { cat "$work/appstream.log"; fail "appstreamcli validate"; }
grep -qx "Icon=$id" "$prefix/share/applications/$id.desktop" || fail "desktop Icon"
exec_line=$(sed -n 's/^Exec=//p' "$prefix/share/applications/$id.desktop")
[ -x "$prefix/bin/${exec_line%% *}" ] || fail "desktop Exec names no installed program"

# Starts the installed program, which quits after its start-up step and prints its folder.
start() {
  local rc=0
  env "$@" CORVINA_TEST_QUIT_AFTER_START=1 timeout 120 "$prefix/bin/corvina" \
    >"$work/out" 2>"$work/err" || rc=$?
  [ $rc = 0 ] || { cat "$work/err" >&2; fail "corvina exited with $rc"; }
  sed -n 's/^program folder: //p' "$work/out"
}
listing() { (cd "$1" && find . -type f -printf '%P %s %T@\n' | sort); }

# First start with a fresh home and no XDG_DATA_HOME: ~/.local/share/corvina, a full copy.
home=$work/home
mkdir -p "$home"
user=$home/.local/share/corvina
folder=$(start -u XDG_DATA_HOME HOME="$home")
[ "$folder" = "$user" ] || fail "program folder '$folder', expected '$user'"
diff -r -x .installed-files "$data" "$user" || fail "the per-user folder is not a copy of the installed data"
if grep -qv -e QStandardPaths -e '^$' "$work/err"; then
  cat "$work/err"
  fail "warnings on a fresh start"
fi

# Second start: one shipped file lost, one changed, one profile of the user's own.
rm "$user/bg/stone.jpg"
printf 'my own help\n' >"$user/help.html"
printf 'clNavy\r\nclWhite\r\n5\r\n3\r\nMerlot.bmp\r\n0\r\n0\r\n0\r\n-1\r\n1\r\n' >"$user/Settings/Mine"
printf 'Mine\r\n' >"$user/al.dat"
before=$(listing "$user" | grep -v '^bg/stone.jpg ')
folder=$(start -u XDG_DATA_HOME HOME="$home")
[ "$folder" = "$user" ] || fail "second start: program folder '$folder'"
cmp "$data/bg/stone.jpg" "$user/bg/stone.jpg" || fail "the lost file was not restored"
[ "$(cat "$user/help.html")" = "my own help" ] || fail "the changed file was overwritten"
[ "$(listing "$user" | grep -v '^bg/stone.jpg ')" = "$before" ] || fail "other files were touched"

# XDG_DATA_HOME, when set, is where the folder goes.
folder=$(start XDG_DATA_HOME="$work/xdg" HOME="$home")
[ "$folder" = "$work/xdg/corvina" ] || fail "XDG_DATA_HOME: program folder '$folder'"
[ -f "$work/xdg/corvina/Settings/Default" ] || fail "XDG_DATA_HOME: folder not filled"

# A per-user folder that cannot be made: a message, and the installed data, read-only.
printf 'a file\n' >"$work/blocked"
folder=$(start XDG_DATA_HOME="$work/blocked" HOME="$home")
[ "$folder" = "$data" ] || fail "blocked: program folder '$folder', expected '$data'"
grep -q "could not prepare its folder $work/blocked/corvina" "$work/err" ||
  { cat "$work/err"; fail "blocked: no message"; }

# The build folder, which holds the data, stays portable.
folder=$(cd "$work" && env CORVINA_TEST_QUIT_AFTER_START=1 HOME="$home" \
  timeout 120 "$build/corvina" 2>/dev/null | sed -n 's/^program folder: //p')
[ "$folder" = "$(cd "$build" && pwd -P)" ] || [ "$folder" = "$build" ] ||
  fail "build folder: program folder '$folder'"
echo "installed tree, menu entry, metadata and per-user folder: all checked"
