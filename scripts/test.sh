#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the
# program's tests (headless), the deck fuzzers for a bounded time, the
# Windows control servers under Wine, and the Windows program, its package
# and its installer under Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
jobs=$(nproc)
passed=0
failed=0

tally() {  # tally LOGFILE: adds ctest's counts
  local line total bad
  line=$(grep -E 'tests passed, [0-9]+ tests? failed out of [0-9]+' "$1" | tail -n 1)
  if [ -z "$line" ]; then failed=$((failed + 1)); return; fi
  bad=$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")
  total=$(sed -E 's/.* failed out of ([0-9]+).*/\1/' <<<"$line")
  passed=$((passed + total - bad))
  failed=$((failed + bad))
}

bash scripts/deps.sh || { echo "Could not install the build dependencies"; exit 1; }

echo "== Program: build and tests"
# Tests and benchmarks on, whatever an earlier scripts/run.sh left in the cache.
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON -DRILLO_BENCH=ON >build-configure.log 2>&1 || { cat build-configure.log; exit 1; }
rm -f build-configure.log
if cmake --build build -j"$jobs"; then
  QT_QPA_PLATFORM=offscreen ctest --test-dir build --output-on-failure -j"$jobs" 2>&1 | tee build/ctest.log
  tally build/ctest.log
else
  echo "Program build failed"; failed=$((failed + 1))
fi

if [ -f scripts/fuzz.sh ]; then
  echo "== Deck fuzzers"
  if bash scripts/fuzz.sh; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
fi

if [ -f scripts/test-controls.sh ]; then
  echo "== Windows control servers under Wine"
  bash scripts/test-controls.sh 2>&1 | tee "$root/build-controls.log"
  tally "$root/build-controls.log"
  rm -f "$root/build-controls.log"
fi

if [ -f scripts/build-windows.sh ]; then
  echo "== Windows program, package and installer under Wine"
  bash scripts/build-windows.sh 2>&1 | tee "$root/build-windows.log"
  tally "$root/build-windows.log"
  rm -f "$root/build-windows.log"
fi

echo "tests: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
