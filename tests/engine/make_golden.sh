#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Writes the golden table of the benchmark suite from the plain engine (tests/engine/
# PlainEngine.cpp): one line per position and depth 1 to 6, "index depth bestmove M score S
# depth D nodes N pv M...". The engine must reproduce it line by line.
# usage: tests/engine/make_golden.sh build/corvina-plain-golden > tests/engine/golden.txt
set -e
"${1:-build/corvina-plain-golden}" 6
