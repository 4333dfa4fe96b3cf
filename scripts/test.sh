#!/usr/bin/env bash
# Sets everything up, then builds and runs every test: once plain, once under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$repo/scripts/setup.sh"

jobs=$(nproc)
"$repo/scripts/build.sh" test -DCMAKE_BUILD_TYPE=Release -DTARVIK_WERROR=ON
ctest --test-dir "$repo/build/test" --output-on-failure -j "$jobs"

# A minute of fuzzing the whole compile, with a fixed seed; any crash or hang fails. It runs
# before the sanitized tests so that their summary stays the run's last lines.
"$repo/scripts/fuzz.sh" 60 1

"$repo/scripts/build.sh" sanitize -DCMAKE_BUILD_TYPE=Debug -DTARVIK_WERROR=ON -DTARVIK_SANITIZE=ON
ctest --test-dir "$repo/build/sanitize" --output-on-failure -j "$jobs"
