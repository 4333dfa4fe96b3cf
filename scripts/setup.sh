#!/usr/bin/env bash
# Installs what the build, the window and the tests need on Debian.
# Packages already present are left alone, so a second run is quick.
set -euo pipefail

packages=(
  g++ cmake ninja-build            # the compiler and its build
  libgtest-dev libbenchmark-dev    # tests and benchmarks
  qt6-base-dev                     # the window (its offscreen platform runs the window tests)
  fonts-wqy-microhei               # Chinese glyphs for captions, editor and log
  afl++                            # the fuzzer of the whole compile (scripts/fuzz.sh)
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "setup: run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${as_root[@]}" apt-get update -q
"${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
