#!/usr/bin/env bash
# Runs a Windows program under Wine with the settings of scripts/wine-env.sh:
#   wine-run.sh PROGRAM.exe ARGUMENTS...
# RILLO_WINE_DLL_PATH (folders joined by ':') is where the DLLs it needs are
# found, RILLO_WINE_PLUGINS Qt's plugin folder; the Windows build sets both
# for its tests (cmake/WindowsProgram.cmake). The exit status is the program's.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
wine_prefix_ready || { echo "wine-run: the Wine prefix $WINEPREFIX could not be made" >&2; exit 125; }
if [ -n "${RILLO_WINE_DLL_PATH:-}" ]; then
  path=""
  IFS=: read -r -a folders <<<"$RILLO_WINE_DLL_PATH"
  for folder in "${folders[@]}"; do path="$path${path:+;}$(wine_path "$folder")"; done
  export WINEPATH="$path"
fi
if [ -n "${RILLO_WINE_PLUGINS:-}" ]; then export QT_PLUGIN_PATH="$(wine_path "$RILLO_WINE_PLUGINS")"; fi
exec wine "$@"
