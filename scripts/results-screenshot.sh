#!/usr/bin/env bash
# Writes a PNG picture of the results window of a model run, as a user sees
# it after ticking the first hyetograph and the two highest element
# hydrographs (or the series named with --tick "Element 101", repeatable).
#
#   bash scripts/results-screenshot.sh RUN.sot OUT.png [--tick LABEL]... [--size 1100x720]
#   bash scripts/results-screenshot.sh DECK.sin OUT.png ...
#
# Given a deck, it first runs the bundled model on it in a scratch folder and
# pictures that run (the README's picture: examples/basin.sin).
# Draws offscreen, so no display is needed; with RILLO_SCREENSHOT_XVFB=1 it
# draws on a virtual X display instead (xvfb-run), as on a desktop.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 RUN.sot OUT.png [--tick LABEL]... [--size WxH]" >&2
  exit 2
fi
root="$(cd "$(dirname "$0")/.." && pwd)"
sot="$(realpath "$1")"
out="$(realpath -m "$2")"
shift 2
cd "$root"
bash scripts/deps.sh
[ -f build/CMakeCache.txt ] || cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$(nproc)" --target rillo-results-screenshot rillo-model >/dev/null
case "$sot" in
  *.sin)
    run=$(mktemp -d)
    trap 'rm -rf "$run"' EXIT
    base="$run/$(basename "${sot%.sin}")"
    build/bin/rillo-model "$sot" "$base.sot" "${base}sub.ssb" "${base}gut.ssb" "" >/dev/null
    sot="$base.sot"
    ;;
esac
if [ "${RILLO_SCREENSHOT_XVFB:-0}" = 1 ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
    build/bin/rillo-results-screenshot "$sot" "$out" "$@"
else
  QT_QPA_PLATFORM=offscreen build/bin/rillo-results-screenshot "$sot" "$out" "$@"
fi
