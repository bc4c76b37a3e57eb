#!/usr/bin/env bash
# Builds Qt base for MinGW-w64 from Debian's own source package, once, into a
# cache outside the repository, and prints the install folder on its last line.
# The cache is keyed by the Qt version and the configure options, so a change
# of either builds anew beside the old one; a finished build is reused as it is.
# Needs the packages of scripts/deps.sh plus dpkg-dev, ninja-build and
# g++-mingw-w64-x86-64-posix (scripts/build-windows.sh installs them).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
qtver=$(dpkg-query -W -f='${Version}' qt6-base-dev | sed -E 's/^[0-9]+://; s/[+~-].*//')

toolchain="$root/cmake/mingw-w64-x86_64-posix.cmake"
options=(
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
  -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF -DFEATURE_system_jpeg=OFF
  -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF
)
key=$( (echo "$qtver"; printf '%s\n' "${options[@]}"; cat "$toolchain") | sha256sum | cut -c1-12)
cache="${XDG_CACHE_HOME:-$HOME/.cache}/rillo/qt-$qtver-mingw-$key"
prefix="$cache/install"

if [ -f "$prefix/.complete" ]; then
  echo "Qt $qtver for MinGW: cached in $cache" >&2
  echo "$prefix"
  exit 0
fi

echo "Qt $qtver for MinGW: building into $cache (about 35 minutes on two cores)" >&2
mkdir -p "$cache"
cd "$cache"

# Debian's source package, fetched through an apt configuration of our own so
# that the system's sources stay as they are.
if [ ! -d src ]; then
  apt="$cache/apt"
  mkdir -p "$apt/lists/partial" "$apt/archives/partial"
  cat >"$apt/sources.sources" <<EOT
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOT
  mkdir -p "$apt/sources.list.d" "$apt/cache"
  mv "$apt/sources.sources" "$apt/sources.list.d/bookworm-src.sources"
  aptopts=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=$apt/sources.list.d"
           -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache"
           -o "Dir::Cache::Archives=$apt/archives" -o "Debug::NoLocking=1")
  apt-get "${aptopts[@]}" update -qq
  rm -rf fetch && mkdir fetch
  (cd fetch && apt-get "${aptopts[@]}" source -qq "qt6-base=$(dpkg-query -W -f='${Version}' qt6-base-dev)" >/dev/null)
  srcdir=$(find fetch -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
  [ -n "$srcdir" ] || { echo "qt6-base source not found" >&2; exit 1; }
  mv "$srcdir" src
  rm -rf fetch
fi

cmake -S src -B build -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" \
  "${options[@]}" >configure.log 2>&1 || { tail -n 40 configure.log >&2; exit 1; }
nice -n 5 ninja -C build -j"$(nproc)" >build.log 2>&1 || { tail -n 40 build.log >&2; exit 1; }
ninja -C build install >install.log 2>&1 || { tail -n 40 install.log >&2; exit 1; }
touch "$prefix/.complete"
rm -rf build
echo "$prefix"
