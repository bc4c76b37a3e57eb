#!/usr/bin/env bash
# Writes a PNG picture of the results window of a model run, as a user sees
# it after ticking the first hyetograph and the two highest element
# hydrographs (or the series named with --tick "Element 101", repeatable).
#
#   bash scripts/results-screenshot.sh RUN.sot OUT.png [--tick LABEL]... [--size 1100x720]
#
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
cmake --build build -j"$(nproc)" --target rillo-results-screenshot >/dev/null
if [ "${RILLO_SCREENSHOT_XVFB:-0}" = 1 ]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb \
    build/bin/rillo-results-screenshot "$sot" "$out" "$@"
fi
QT_QPA_PLATFORM=offscreen exec build/bin/rillo-results-screenshot "$sot" "$out" "$@"
