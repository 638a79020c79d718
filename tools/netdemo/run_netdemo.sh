#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Two NetGame players, each a process of its own with the real main window, play a short game
# over loopback under a virtual X display. A picture of both windows side by side is taken in
# the middle of the game (chat, names, both move lists) and one at the end.
#   tools/netdemo/run_netdemo.sh [BUILD_DIR] [OUT.png] [DISPLAY]
# Without a DISPLAY argument the first free display number from :90 on is taken.
set -euo pipefail
build=${1:-build}
out=${2:-netgame-demo.png}
display=${3:-}
if [ -z "$display" ]; then
    for n in $(seq 90 140); do
        if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then
            display=":$n"
            break
        fi
    done
fi
demo="$build/corvina-netdemo"
[ -x "$demo" ] || { echo "no $demo: build the corvina-netdemo target first" >&2; exit 2; }

sync=$(mktemp -d)
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("", 0)); print(s.getsockname()[1])')
Xvfb "$display" -screen 0 1660x700x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$sync"
}
trap cleanup EXIT
sleep 1
kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb could not start on $display" >&2; exit 2; }
export DISPLAY=$display
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=0}

# Castling on the way, and a mate at the end.
moves="e2e4 e7e5 g1f3 b8c6 f1c4 d7d6 e1g1 c8g4 b1c3 g7g6 f3e5 g4d1 c4f7 e8e7 c3d5"
"$demo" --server --port "$port" --player Alice --at 0,0 --moves "$moves" \
    --say "1:Hello Bob, good luck!" --say "7:Castled. Your move." --say "15:Mate! Thanks for the game." \
    --sync "$sync" --pause-at 10 &
pids+=($!)
sleep 1
"$demo" --client --port "$port" --player Bob --address 127.0.0.1 --at 830,0 --moves "$moves" \
    --say "2:Hi Alice, you too." --say "10:Hmm, that pin hurts." \
    --sync "$sync" --pause-at 10 &
pids+=($!)

wait_for() {
    for _ in $(seq 1 600); do
        [ -e "$sync/$1" ] && [ -e "$sync/$2" ] && return 0
        sleep 0.1
    done
    echo "timed out waiting for $1 and $2" >&2
    import -display "$display" -window root "${out%.png}-timeout.png" || true
    exit 1
}
wait_for Alice.ready Bob.ready
sleep 1.2 # the last chat line crosses the wire
import -display "$display" -window root "$out"
echo "mid-game picture: $out"
touch "$sync/go"
wait_for Alice.done Bob.done
sleep 1
import -display "$display" -window root "${out%.png}-end.png"
echo "end-of-game picture: ${out%.png}-end.png"
touch "$sync/quit"
status=0
for p in "${pids[@]}"; do wait "$p" || status=1; done
pids=()
exit $status
