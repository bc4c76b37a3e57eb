#!/usr/bin/env bash
# Installs what is missing, builds Rillo2000 and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
# The program alone: no tests, so no GoogleTest and no benchmark library.
bash scripts/deps.sh --program
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build build -j"$(nproc)" --target Rillo2000
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "Rillo2000 needs a graphical display (DISPLAY is not set); checking the example deck on the command line instead:"
  build/bin/Rillo2000 --check examples/basin.sin --yes || true
  exit 1
fi
exec build/bin/Rillo2000 "$@"
