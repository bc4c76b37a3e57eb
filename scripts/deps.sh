#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when some
# are missing. Runs as root (or through sudo when it is there).
#   bash scripts/deps.sh [PACKAGE...]         the native build's packages and these
#   bash scripts/deps.sh --only PACKAGE...    just these
set -euo pipefail
if [ "${1:-}" = "--only" ]; then
  packages=("${@:2}")
else
  packages=(cmake make g++ pkg-config qt6-base-dev libgl-dev libgtest-dev libgmock-dev libbenchmark-dev
            librsvg2-bin clang libclang-rt-14-dev xvfb xauth "$@")
fi
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
