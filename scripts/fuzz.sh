#!/usr/bin/env bash
# Fuzzes the whole compile with AFL++ under AddressSanitizer and UndefinedBehaviorSanitizer:
#   fuzz.sh [seconds] [seed]      (60 seconds and seed 1 by default, as CI runs it)
# The driver is built instrumented in build/fuzz, apart from the other builds. Every crash or
# hang found (a compile over 10 s is one) is copied into tests/fuzz/regressions, which the
# plain test run replays, its sanitizer report is printed, and the script fails.
set -euo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
seconds=${1:-60}
seed=${2:-1}
build="$repo/build/fuzz"
fuzz="$repo/tests/fuzz"

for tool in afl-fuzz afl-g++; do
  command -v "$tool" >/dev/null || { echo "fuzz: $tool is missing; scripts/setup.sh installs afl++" >&2; exit 1; }
done

# The GCC plugin instruments best, but Debian's plugin refuses a GCC of another package
# revision; the assembler-level instrumentation of afl-g++ works with any GCC. Clang cannot
# compile the GBK string literals, so the LLVM modes are no choice.
mkdir -p "$build"
compiler=afl-g++
if echo 'int main() { return 0; }' >"$build/probe.cpp" &&
  AFL_QUIET=1 afl-g++-fast "$build/probe.cpp" -o "$build/probe" >/dev/null 2>&1; then
  compiler=afl-g++-fast
fi
echo "fuzz: building with $compiler"
CXX=$compiler cmake -S "$repo" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTARVIK_WERROR=ON \
  -DTARVIK_SANITIZE=ON >/dev/null
AFL_QUIET=1 cmake --build "$build" --target tarvik_compile_fuzz >/dev/null

out="$build/out"
rm -rf "$out" "$build/tmp"
mkdir -p "$build/tmp"
export TMPDIR="$build/tmp"  # the driver's project folders
export AFL_SKIP_CPUFREQ=1 AFL_I_DONT_CARE_ABOUT_MISSING_CRASHES=1 AFL_NO_UI=1 AFL_NO_AFFINITY=1
export ASAN_OPTIONS=abort_on_error=1:symbolize=0:detect_leaks=0
export UBSAN_OPTIONS=halt_on_error=1:abort_on_error=1:print_stacktrace=1:symbolize=0
afl-fuzz -i "$fuzz/corpus" -o "$out" -x "$fuzz/dialect.dict" -s "$seed" -V "$seconds" -t 10000 -m none \
  -- "$build/tests/tarvik_compile_fuzz" @@ >"$build/afl.log" 2>&1 || {
  tail -n 30 "$build/afl.log" >&2
  echo "fuzz: afl-fuzz failed" >&2
  exit 1
}
grep -E 'execs_done|execs_per_sec|corpus_count|saved_crashes|saved_hangs' "$out/default/fuzzer_stats" | tr -s ' ' || true

found=0
for kind in crashes hangs; do
  for input in "$out/default/$kind"/id:*; do
    [ -e "$input" ] || continue
    found=$((found + 1))
    kept="$fuzz/regressions/$(sha1sum "$input" | cut -c1-16)"
    cp "$input" "$kept"
    echo "fuzz: $kind input kept as tests/fuzz/regressions/$(basename "$kept"):" >&2
    ASAN_OPTIONS=symbolize=1:detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1:symbolize=1 \
      timeout 20 "$build/tests/tarvik_compile_fuzz" "$kept" 2>&1 | head -n 40 >&2 || true
  done
done
rm -rf "$build/tmp"
if [ "$found" -ne 0 ]; then
  echo "fuzz: $found failing inputs" >&2
  exit 1
fi
echo "fuzz: no crash or hang in $seconds s"
