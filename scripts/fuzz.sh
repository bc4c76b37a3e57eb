#!/usr/bin/env bash
# Builds the deck and model fuzzers with clang (AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time on top of the seed decks.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-30}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -DRILLO_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target deck_read_fuzz deck_roundtrip_fuzz model_run_fuzz >/dev/null
for target in deck_read_fuzz deck_roundtrip_fuzz model_run_fuzz; do
  corpus=$(mktemp -d)
  cp examples/*.sin deck/blank.sin deck/tests/fuzz/corpus/* model/tests/fuzz/corpus/* "$corpus"/
  echo "-- $target for ${seconds}s"
  binary=build-fuzz/deck/tests/fuzz/$target
  [ -x "$binary" ] || binary=build-fuzz/model/tests/fuzz/$target
  if ! "$binary" -max_total_time="$seconds" -max_len=65536 -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=0 "$corpus" >"$corpus.log" 2>&1; then
    tail -n 40 "$corpus.log"
    echo "$target found a fault"
    exit 1
  fi
  grep -E '^#[0-9]+ +DONE|Done [0-9]+ runs' "$corpus.log" | tail -n 1
  rm -rf "$corpus" "$corpus.log"
done
