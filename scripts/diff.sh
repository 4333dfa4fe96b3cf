#!/usr/bin/env bash
# Runs the random-program comparison for N seeds from FIRST (default 1): diff.sh N [FIRST]
# Builds the test into build/diff first. A failing seed prints its program and the cells that differ.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
count=${1:?usage: diff.sh N [FIRST]}
first=${2:-1}
cmake -S "$repo" -B "$repo/build/diff" -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$repo/build/diff" --target tarvik_diff_tests
DIFF_SEEDS=$count DIFF_FIRST=$first "$repo/build/diff/tests/tarvik_diff_tests" --gtest_brief=1
