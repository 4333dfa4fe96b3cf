#!/usr/bin/env bash
# Sets everything up, builds the window alone (no tests, no benchmarks), and starts it in the
# current directory: the project folder whose main.c it compiles.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh"
cmake -S "$repo" -B "$repo/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$repo/build/release" --target tarvik
exec "$repo/build/release/tarvik"
