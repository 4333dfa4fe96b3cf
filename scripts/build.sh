#!/usr/bin/env bash
# Configures and builds into build/<name> below the repository: build.sh <name> [cmake options...]
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
name=$1
shift
cmake -S "$repo" -B "$repo/build/$name" -G Ninja "$@" >/dev/null
cmake --build "$repo/build/$name"
