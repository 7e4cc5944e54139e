#!/usr/bin/env bash
# Cross-builds ssftool.exe and the core tests for 64-bit Windows on Debian 12, and packs
# dist/quillbay-ssf-manager-VERSION-win64.zip. Installs what it needs from Debian (MinGW-w64,
# Wine, NSIS), builds libjpeg-turbo, libpng, expat, libzip, libdeflate and GoogleTest from
# Debian's source packages as static MinGW libraries into build-windows/prefix (kept for the next
# run), then builds the project into build-windows/. Works as root and through sudo.
#   --gui        also the window program and its installer (scripts/build-windows-gui.sh)
#   JOBS=N       parallel jobs (default 2)
set -euo pipefail
gui=0
for arg in "$@"; do
  case $arg in
    --gui) gui=1 ;;
    *) echo "usage: $0 [--gui]" >&2; exit 2 ;;
  esac
done
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-windows
prefix=$build/prefix
sources=$build/sources
jobs=${JOBS:-2}
triplet=x86_64-w64-mingw32
mkdir -p "$build" "$sources"
times=$build/stage-times.txt
: >"$times"

source scripts/windows-stages.sh

stage "packages"
packages=(
  g++-mingw-w64-x86-64-posix wine64 nasm libz-mingw-w64-dev mingw-w64-tools nsis
  cmake ninja-build pkg-config dpkg-dev nlohmann-json3-dev zip python3
)
install_missing "${packages[@]}"
stage_done

# Library sources come from Debian's archive: add a deb-src entry beside the binary one when
# there is none (the same archive and suites; the security suite may lack sources, and the
# release's own versions build).
stage "library sources"
have_src() { apt-get indextargets --format '$(CREATED_BY)' 2>/dev/null | grep -qx 'Sources'; }
if ! have_src; then
  src_list=/etc/apt/sources.list.d/quillbay-deb-src.sources
  echo "Adding $src_list"
  printf 'Types: deb-src\nURIs: http://deb.debian.org/debian\nSuites: bookworm bookworm-updates\nComponents: main\nSigned-By: /usr/share/keyrings/debian-archive-keyring.gpg\n' |
    "${sudo_cmd[@]}" tee "$src_list" >/dev/null
  apt_retry update
fi
fetch() {  # fetch SOURCE-PACKAGE: unpacks it under $sources once and prints its folder
  local pkg=$1 dir
  dir=$(find "$sources" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | head -n 1)
  if [ -z "$dir" ]; then
    (cd "$sources" && apt-get source -q "$pkg" >&2)
    dir=$(find "$sources" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | head -n 1)
  fi
  echo "$dir"
}
src_jpeg=$(fetch libjpeg-turbo)
src_png=$(fetch libpng1.6)
src_expat=$(fetch expat)
src_zip=$(fetch libzip)
src_gtest=$(fetch googletest)
src_deflate=$(fetch libdeflate)
stage_done

toolchain=$build/toolchain.cmake
printf 'set(SSF_MINGW_PREFIX "%s")\ninclude("%s/cmake/MinGW-w64.cmake")\n' "$prefix" "$root" >"$toolchain"

# Builds one library from its source folder into the prefix, once (a stamp marks it done).
library() {
  local name=$1 src=$2
  shift 2
  if [ -f "$prefix/.built-$name" ]; then return 0; fi
  stage "library $name"
  rm -rf "$build/lib-$name"
  nice -n 5 cmake -S "$src" -B "$build/lib-$name" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_INSTALL_LIBDIR="$prefix/lib" -DCMAKE_INSTALL_BINDIR="$prefix/bin" \
    -DBUILD_SHARED_LIBS=OFF "$@" >"$build/lib-$name.log"
  nice -n 5 cmake --build "$build/lib-$name" -j "$jobs" >>"$build/lib-$name.log"
  cmake --install "$build/lib-$name" >>"$build/lib-$name.log"
  touch "$prefix/.built-$name"
  stage_done
}

library libjpeg-turbo "$src_jpeg" -DENABLE_SHARED=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG8=OFF \
  -DCMAKE_POSITION_INDEPENDENT_CODE=OFF
library libpng "$src_png" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
  -DZLIB_LIBRARY=/usr/$triplet/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$triplet/include
# Debian's expat tests "#if XML_DTD == 1", but CMake's header writes an empty define.
expat_dir=$src_expat
[ -f "$expat_dir/CMakeLists.txt" ] || expat_dir=$src_expat/expat
sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine01 XML_DTD/; s/^#cmakedefine XML_NS$/#cmakedefine01 XML_NS/' \
  "$expat_dir/expat_config.h.cmake"
library expat "$expat_dir" -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF \
  -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=ON
library libzip "$src_zip" -DENABLE_BZIP2=OFF -DENABLE_LZMA=OFF -DENABLE_ZSTD=OFF -DENABLE_GNUTLS=OFF \
  -DENABLE_OPENSSL=OFF -DENABLE_MBEDTLS=OFF -DENABLE_COMMONCRYPTO=OFF -DENABLE_WINDOWS_CRYPTO=OFF \
  -DBUILD_TOOLS=OFF -DBUILD_REGRESS=OFF -DBUILD_EXAMPLES=OFF -DBUILD_DOC=OFF \
  -DZLIB_LIBRARY=/usr/$triplet/lib/libz.a -DZLIB_INCLUDE_DIR=/usr/$triplet/include
library googletest "$src_gtest" -DBUILD_GMOCK=ON -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON
# libdeflate 1.14 builds with a plain Makefile (no CMake yet): the static library alone, in a
# copy of the source, installed by hand under the name and .pc file the project looks for.
if [ ! -f "$prefix/.built-libdeflate" ]; then
  stage "library libdeflate"
  rm -rf "$build/lib-libdeflate"
  cp -r "$src_deflate" "$build/lib-libdeflate"
  nice -n 5 make -C "$build/lib-libdeflate" -j "$jobs" CC=$triplet-gcc-posix AR=$triplet-gcc-ar-posix \
    libdeflatestatic.lib >"$build/lib-libdeflate.log"
  mkdir -p "$prefix/lib/pkgconfig" "$prefix/include"
  cp "$build/lib-libdeflate/libdeflatestatic.lib" "$prefix/lib/libdeflate.a"
  cp "$build/lib-libdeflate/libdeflate.h" "$prefix/include/"
  deflate_version=$(sed -n 's/^#define LIBDEFLATE_VERSION_STRING[^"]*"\(.*\)"/\1/p' "$prefix/include/libdeflate.h")
  printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\n\nName: libdeflate\nDescription: DEFLATE, zlib and gzip\nVersion: %s\nLibs: -L${libdir} -ldeflate\nCflags: -I${includedir}\n' \
    "$prefix" "$deflate_version" >"$prefix/lib/pkgconfig/libdeflate.pc"
  touch "$prefix/.built-libdeflate"
  stage_done
fi
# nlohmann-json is headers only: the build machine's copy serves, moved into the prefix so
# that nothing else of /usr/include reaches the Windows build.
if [ ! -f "$prefix/.built-nlohmann-json" ]; then
  mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -r /usr/include/nlohmann "$prefix/include/"
  cp -r /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
  touch "$prefix/.built-nlohmann-json"
fi

stage "project"
nice -n 5 cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSSF_WERROR=ON \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DSSF_BUILD_GUI=OFF -DSSF_BUILD_BENCH=OFF \
  ${SSF_WINDOWS_CMAKE_ARGS:-} >/dev/null
nice -n 5 cmake --build "$build" -j "$jobs" --target ssftool ssf_core_tests
stage_done

stage "package"
version=$(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=quillbay-ssf-manager-$version-win64
stagedir=$build/dist/$name
rm -rf "$stagedir"
mkdir -p "$stagedir" dist
$triplet-strip -o "$stagedir/ssftool.exe" "$build/bin/ssftool.exe"
cp -r ThemeMaps "$stagedir/ThemeMaps"
# Windows readers want CRLF line ends in a text file beside the program.
sed 's/$/\r/' data/windows/README.txt >"$stagedir/README.txt"
rm -f "dist/$name.zip"
(cd "$build/dist" && zip -qr -X "$root/dist/$name.zip" "$name")
stage_done

echo "== sizes"
{
  printf 'ssftool.exe (stripped)       %8d bytes\n' "$(stat -c %s "$stagedir/ssftool.exe")"
  printf '%-28s %8d bytes\n' "$name.zip" "$(stat -c %s "dist/$name.zip")"
  printf 'library prefix               %8s\n' "$(du -sh "$prefix" | cut -f1)"
} | tee -a "$times"
echo "Built $build/bin/ssftool.exe and dist/$name.zip"
if [ "$gui" -eq 1 ]; then bash scripts/build-windows-gui.sh; fi
