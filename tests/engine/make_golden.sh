#!/bin/sh
# Writes the golden table of the benchmark suite: one line per position and depth 1 to 6,
# "index depth bestmove M score S depth D nodes N pv M...". Run it only on purpose: every
# change of the engine must reproduce the committed table.
# usage: tests/engine/make_golden.sh build/corvina-bench > tests/engine/golden.txt
set -e
bench=${1:-build/corvina-bench}
for depth in 1 2 3 4 5 6; do
    "$bench" bench "$depth" | grep '^bestmove' |
        sed -e 's/ time_ms [0-9]* nps [0-9]*//' | awk -v d="$depth" '{ print NR - 1, d, $0 }'
done
