#!/usr/bin/env bash
# Installs the Debian packages that the build and the tests need, when some
# are missing. Runs as root (or through sudo when it is there).
#   bash scripts/deps.sh [PACKAGE...]            the native build's packages (the program, its
#                                                tests, benchmarks and fuzzers) and these
#   bash scripts/deps.sh --program [PACKAGE...]  only what building the program needs, and these
#   bash scripts/deps.sh --only PACKAGE...       just these
set -euo pipefail
program=(cmake make g++ pkg-config qt6-base-dev libgl-dev librsvg2-bin)
case "${1:-}" in
  --only) packages=("${@:2}") ;;
  --program) packages=("${program[@]}" "${@:2}") ;;
  *) packages=("${program[@]}" libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev xvfb xauth "$@") ;;
esac
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
