#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs the CTest suite of a build folder RUNS times while LOAD busy loops compete for the
# processors, and prints how many runs each test failed. Logs of failing runs stay in
# BUILD/stress/. Usage: tests/stress.sh BUILD [RUNS] [LOAD] [JOBS]
set -uo pipefail
build=${1:?usage: stress.sh BUILD [RUNS] [LOAD] [JOBS]}
runs=${2:-15}
load=${3:-2}
jobs=${4:-2}
cd "$build" || exit 2
mkdir -p stress
rm -f stress/run-*.log

busy=()
for _ in $(seq 1 "$load"); do
    (while :; do :; done) &
    busy+=($!)
done
trap 'kill "${busy[@]}" 2>/dev/null' EXIT

declare -A failed=()
distinct=0
bad_runs=0
for run in $(seq 1 "$runs"); do
    log=stress/run-$run.log
    start=$(date +%s)
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 \
      UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
      ctest --output-on-failure -j "$jobs" -LE fuzz >"$log" 2>&1
    rc=$?
    names=$(sed -n '/The following tests FAILED:/,$p' "$log" | sed -nE 's/^\s*[0-9]+ - ([^ ]+) .*/\1/p')
    for n in $names; do
        [ -n "${failed[$n]+set}" ] || { failed[$n]=0; distinct=$((distinct + 1)); }
        failed[$n]=$((failed[$n] + 1))
    done
    if [ "$rc" -ne 0 ]; then
        bad_runs=$((bad_runs + 1))
        echo "run $run/$runs: FAILED ($(echo $names)) in $(( $(date +%s) - start )) s, see $build/$log"
    else
        echo "run $run/$runs: passed in $(( $(date +%s) - start )) s"
        rm -f "$log"
    fi
done

echo
echo "Failures per test over $runs runs with $load busy loops, ctest -j$jobs:"
if [ "$distinct" -eq 0 ]; then
    echo "  none"
else
    for n in "${!failed[@]}"; do printf '  %-32s %d\n' "$n" "${failed[$n]}"; done | sort
fi
echo "$(( runs - bad_runs )) passed, $bad_runs failed"
[ "$bad_runs" -eq 0 ]
