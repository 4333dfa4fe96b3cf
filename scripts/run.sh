#!/usr/bin/env bash
# Sets everything up, builds, and starts the compiler's window in the current directory:
# the project folder whose main.c it compiles.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh"
"$repo/scripts/build.sh" release -DCMAKE_BUILD_TYPE=Release
exec "$repo/build/release/tarvik"
