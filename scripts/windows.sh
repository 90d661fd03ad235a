#!/usr/bin/env bash
# Makes the 64-bit Windows program, quillon-VERSION-windows-x64.zip, on
# Debian 12: installs Debian's MinGW-w64 cross compiler (and Wine, to test
# it), cross-builds libtiff, nettle, libjpeg-turbo and qpdf from Debian's own
# source packages into build-windows/deps (zlib is Debian's
# libz-mingw-w64-dev), then the program. Nothing comes from anywhere but
# Debian's archive. With --test, the end-to-end tests then run the program
# under Wine (tests/windows/wine_test.sh).
#
#   scripts/windows.sh [--test]
#
# The dependencies are built once; build-windows/deps/.done-PACKAGE marks
# each. QUILLON_WINDOWS_BUILD names another folder than build-windows.
set -euo pipefail
cd "$(dirname "$0")/.."
project=$PWD
test=0
[ "${1:-}" = --test ] && test=1
work=$(realpath -m "${QUILLON_WINDOWS_BUILD:-build-windows}")
deps=$work/deps
sources=$work/sources
host=x86_64-w64-mingw32
mkdir -p "$deps" "$sources"

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
packages=(g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix libz-mingw-w64-dev wine64 zip dpkg-dev cmake make
          pkg-config nlohmann-json3-dev icc-profiles-free autoconf m4 patch xz-utils bzip2)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
# apt-get source needs Debian's source lists beside the binary ones.
if ! grep -rqs '^Types:.*deb-src\|^deb-src ' /etc/apt/sources.list /etc/apt/sources.list.d/; then
  for list in /etc/apt/sources.list.d/*.sources; do
    [ -f "$list" ] || continue
    sed 's/^Types: deb$/Types: deb-src/' "$list" | "${sudo_cmd[@]}" tee "${list%.sources}-src.sources" >/dev/null
  done
  [ -f /etc/apt/sources.list ] && grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' |
    "${sudo_cmd[@]}" tee /etc/apt/sources.list.d/quillon-deb-src.list >/dev/null
  updated=0
else
  updated=1
fi
if [ ${#missing[@]} -gt 0 ] || [ "$updated" -eq 0 ]; then
  "${sudo_cmd[@]}" apt-get update -qq
fi
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi

# The source of a Debian package, unpacked with Debian's patches, in
# $sources/NAME; prints the folder. A security revision's .dsc may be
# missing on the mirror while its orig tarball is there: then the orig
# tarball is unpacked and the Debian patches that came with it applied.
debian_source() {
  local name=$1 folder=$sources/$1
  if [ ! -f "$folder/.unpacked" ]; then
    rm -rf "$folder" "$sources/$name-download"
    mkdir -p "$sources/$name-download"
    (cd "$sources/$name-download" && apt-get source -qq --download-only "$name" >/dev/null 2>&1) || true
    local orig
    orig=$(ls "$sources/$name-download"/*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1)
    [ -n "$orig" ] || { echo "windows.sh: no source of the Debian package $name" >&2; exit 1; }
    mkdir -p "$folder"
    tar -xf "$orig" -C "$folder" --strip-components=1
    local debian
    debian=$(ls "$sources/$name-download"/*.debian.tar.* 2>/dev/null | head -n 1)
    if [ -n "$debian" ]; then
      tar -xf "$debian" -C "$folder"
      if [ -f "$folder/debian/patches/series" ]; then
        while read -r patch _; do
          case "$patch" in '' | '#'*) continue ;; esac
          patch -d "$folder" -p1 -s -N < "$folder/debian/patches/$patch"
        done < "$folder/debian/patches/series"
      fi
    fi
    touch "$folder/.unpacked"
  fi
  echo "$folder"
}

# The licence text the zip carries for what a package put into the program:
# the first of the files given that exists (Debian's copyright file, else
# the upstream licence when only the orig tarball could be had).
licence() {  # name, files...
  local name=$1 file
  shift
  mkdir -p "$deps/licences"
  for file in "$@"; do
    if [ -f "$file" ]; then cp "$file" "$deps/licences/$name.txt"; return; fi
  done
  echo "windows.sh: no licence text of $name" >&2
  exit 1
}

toolchain=$project/cmake/windows-toolchain.cmake
cross_cmake() {  # source folder, build folder, target ("all": every one), options...
  local source=$1 build=$2 target=$3
  shift 3
  cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUILLON_WINDOWS_DEPS="$deps" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$deps" -DBUILD_SHARED_LIBS=OFF "$@" >/dev/null
  cmake --build "$build" -j2 --target "$target" >/dev/null
}

if [ ! -f "$deps/.done-tiff" ]; then
  echo "Cross-building libtiff"
  src=$(debian_source tiff)
  cross_cmake "$src" "$work/tiff" all -Dtiff-tools=OFF -Dtiff-tests=OFF -Dtiff-contrib=OFF -Dtiff-docs=OFF \
    -Dzlib=ON -Djpeg=OFF -Dold-jpeg=OFF -Djbig=OFF -Dlerc=OFF -Dlzma=OFF -Dzstd=OFF -Dwebp=OFF -Dlibdeflate=OFF \
    -Dpixarlog=OFF -Dcxx=OFF
  cmake --install "$work/tiff" >/dev/null
  licence tiff "$src/debian/copyright" "$src/LICENSE.md"
  touch "$deps/.done-tiff"
fi

if [ ! -f "$deps/.done-nettle" ]; then
  echo "Cross-building nettle"
  src=$(debian_source nettle)
  rm -rf "$work/nettle" && mkdir -p "$work/nettle"
  (cd "$work/nettle" && "$src/configure" --host=$host --prefix="$deps" --disable-shared --enable-static \
     --disable-public-key --disable-documentation --disable-openssl >/dev/null &&
   make -j2 >/dev/null && make install >/dev/null)
  licence nettle "$src/debian/copyright" "$src/COPYING.LESSERv3"
  touch "$deps/.done-nettle"
fi

if [ ! -f "$deps/.done-jpeg" ]; then
  echo "Cross-building libjpeg-turbo"
  src=$(debian_source libjpeg-turbo)
  cross_cmake "$src" "$work/jpeg" all -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF \
    -DCMAKE_SYSTEM_PROCESSOR=AMD64
  cmake --install "$work/jpeg" >/dev/null
  licence libjpeg-turbo "$src/debian/copyright" "$src/LICENSE.md"
  touch "$deps/.done-jpeg"
fi

if [ ! -f "$deps/.done-qpdf" ]; then
  echo "Cross-building qpdf"
  # qpdf links Advapi32; MinGW-w64 spells it in lower case.
  mkdir -p "$deps/lib"
  ln -sf "/usr/$host/lib/libadvapi32.a" "$deps/lib/libAdvapi32.a"
  src=$(debian_source qpdf)
  # The library alone, with its headers and CMake package:
  # its command line tools would want the compiler's DLLs copied.
  cross_cmake "$src" "$work/qpdf" libqpdf -DBUILD_STATIC_LIBS=ON -DUSE_IMPLICIT_CRYPTO=OFF \
    -DREQUIRE_CRYPTO_NATIVE=ON -DBUILD_DOC=OFF -DINSTALL_EXAMPLES=OFF -DINSTALL_MANUAL=OFF \
    -DLIBJPEG_H_PATH="$deps/include" -DLIBJPEG_LIB_PATH="$deps/lib/libjpeg.a"
  cmake --install "$work/qpdf" --component dev >/dev/null
  cmake --install "$work/qpdf" --component Unspecified >/dev/null  # its CMake package
  licence qpdf "$src/debian/copyright" "$src/LICENSE.txt"
  touch "$deps/.done-qpdf"
fi

licence zlib /usr/share/doc/libz-mingw-w64-dev/copyright
licence gcc-runtime /usr/share/doc/gcc-mingw-w64-base/copyright
licence mingw-w64 /usr/share/doc/mingw-w64-common/copyright

# The JSON library is headers alone: Debian's, as its package installs them.
if [ ! -f "$deps/.done-json" ]; then
  mkdir -p "$deps/include" "$deps/share/cmake"
  cp -r /usr/include/nlohmann "$deps/include/"
  cp -r /usr/share/cmake/nlohmann_json "$deps/share/cmake/"
  touch "$deps/.done-json"
fi

echo "Cross-building Batch Quillon"
cmake -S "$project" -B "$work/program" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DQUILLON_WINDOWS_DEPS="$deps" \
  -DCMAKE_BUILD_TYPE=Release -DQUILLON_GUI=OFF -DQUILLON_OCR=OFF -DQUILLON_TESTS=OFF -DQUILLON_BENCH=OFF >/dev/null
cmake --build "$work/program" -j2 --target quillon_windows_zip
ls "$work/program"/quillon-*-windows-x64.zip

if [ "$test" -eq 1 ]; then
  # The tests are Linux programs (of the Linux build in build/) that start
  # the Windows program under Wine.
  [ -f "$project/build/CMakeCache.txt" ] || { "$project/scripts/install-deps.sh" &&
    cmake -S "$project" -B "$project/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null; }
  cmake --build "$project/build" -j2 --target quillon quillon_cli_tests quillon_windows_tests >/dev/null
  "$project/tests/windows/wine_test.sh" "$work/program" "$project/build"
fi
