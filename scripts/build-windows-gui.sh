#!/usr/bin/env bash
# The window for Windows: builds Qt (qtbase: Core, Gui, Widgets, Test) for MinGW-w64 from
# Debian's qt6-base source once into a cache folder, then ssf-manager.exe into build-windows/,
# with the Qt and MinGW DLLs and the plugins it loads beside it, and the NSIS installer
# dist/quillbay-ssf-manager-VERSION-win64-setup.exe. scripts/build-windows.sh --gui runs it after
# the command line's build (it needs that build's library prefix and toolchain file).
#   JOBS=N                 parallel jobs (default 2)
#   SSF_WINDOWS_CACHE=DIR  where Qt is built and kept (default ~/.cache/quillbay-ssf-manager)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-windows
jobs=${JOBS:-2}
triplet=x86_64-w64-mingw32
cache=${SSF_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillbay-ssf-manager}
times=$build/stage-times.txt
mkdir -p "$build"

source scripts/windows-stages.sh

stage "gui packages"
# Qt's cross build runs the build machine's own moc, rcc and uic, of the same version.
install_missing qt6-base-dev qt6-base-dev-tools qt6-translations-l10n nsis imagemagick
stage_done

host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
qt_version=${host_qt%%+*}
qt_prefix=$cache/qtbase-$qt_version-mingw
if [ ! -f "$qt_prefix/.built" ]; then
  stage "qtbase $qt_version for MinGW"
  mkdir -p "$cache/src"
  # The source of exactly the host tools' version: moc output must match the libraries.
  qt_src=$cache/src/qt6-base-${host_qt%-*}
  if [ ! -d "$qt_src" ]; then
    (cd "$cache/src" && apt-get source -q "qt6-base=$host_qt" >&2)
  fi
  # Qt 6.4 with OpenGL off still takes "dynamicgl" as on for Windows, and one function of the
  # windows plugin then names OpenGL classes that were never declared.
  sed -i '/^static inline bool isSoftwareGl()/,/^}/ s/^#if QT_CONFIG(dynamicgl)$/#if QT_CONFIG(dynamicgl) \&\& QT_CONFIG(opengl)/' \
    "$qt_src/src/plugins/platforms/windows/qwindowswindow.cpp"
  # Likewise Direct2D off leaves Gui without the DirectWrite font database that the plugin
  # still offers under "directwrite3"; the GDI font database serves.
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
    "$qt_src/src/plugins/platforms/windows/qwindowsintegration.cpp"
  qt_build=$cache/qtbase-$qt_version-mingw-build
  rm -rf "$qt_build" "$qt_prefix"
  # Only what the editor uses: no OpenGL, network, SQL, D-Bus, printing or XML; Qt's bundled
  # zlib, libpng, libjpeg, FreeType, HarfBuzz and PCRE2, so that nothing of the build machine
  # reaches the Windows DLLs. No tablet events: Debian's source leaves out the Wintab header
  # (its licence forbids changes), and the editor takes no pen input.
  nice -n 5 cmake -S "$qt_src" -B "$qt_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/MinGW-w64.cmake" -DCMAKE_INSTALL_PREFIX="$qt_prefix" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DBUILD_SHARED_LIBS=ON -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    -DFEATURE_pkg_config=OFF -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF -DFEATURE_direct2d=OFF \
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF \
    -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF -DFEATURE_icu=OFF -DFEATURE_zstd=OFF \
    -DFEATURE_fontconfig=OFF -DFEATURE_testlib=ON -DFEATURE_tabletevent=OFF \
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF \
    >"$cache/qtbase-configure.log" 2>&1
  nice -n 5 cmake --build "$qt_build" -j "$jobs" >"$cache/qtbase-build.log" 2>&1
  cmake --install "$qt_build" >>"$cache/qtbase-build.log" 2>&1
  touch "$qt_prefix/.built"
  stage_done
fi

if [ ! -f "$build/toolchain.cmake" ]; then
  echo "build-windows-gui.sh: run scripts/build-windows.sh --gui (the library prefix is missing)" >&2
  exit 1
fi

# Qt's own prefix gets the Russian translation too, for the window tests run from the build.
mkdir -p "$qt_prefix/translations"
cp /usr/share/qt6/translations/qtbase_ru.qm "$qt_prefix/translations/"

stage "window program"
nice -n 5 cmake -S "$root" -B "$build" -DSSF_BUILD_GUI=ON -DSSF_MINGW_QT_PREFIX="$qt_prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake >/dev/null
nice -n 5 cmake --build "$build" -j "$jobs" --target ssf-manager ssf_gui_tests
stage_done

stage "window package"
version=$(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=quillbay-ssf-manager-$version-win64
stagedir=$build/dist/$name
if [ ! -f "$stagedir/ssftool.exe" ]; then
  echo "build-windows-gui.sh: $stagedir is missing; run scripts/build-windows.sh --gui" >&2
  exit 1
fi
# What the window needs beside it: there is no windeployqt in a cross build, so the list is
# kept here. The C++ runtime is shared with the Qt DLLs (one heap, one set of exceptions).
gxx=$triplet-g++-posix
runtime=(
  "$($gxx -print-file-name=libstdc++-6.dll)"
  "$($gxx -print-file-name=libgcc_s_seh-1.dll)"
  /usr/$triplet/lib/libwinpthread-1.dll
)
qt_dlls=(Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll)
place_window_files() {  # place_window_files FOLDER: the window program and what it loads
  local dir=$1 f
  $triplet-strip -o "$dir/ssf-manager.exe" "$build/bin/ssf-manager.exe"
  for f in "${runtime[@]}"; do cp "$f" "$dir/"; done
  for f in "${qt_dlls[@]}"; do $triplet-strip -o "$dir/$f" "$qt_prefix/bin/$f"; done
  mkdir -p "$dir/plugins/platforms" "$dir/plugins/styles" "$dir/translations"
  $triplet-strip -o "$dir/plugins/platforms/qwindows.dll" "$qt_prefix/plugins/platforms/qwindows.dll"
  $triplet-strip -o "$dir/plugins/styles/qwindowsvistastyle.dll" "$qt_prefix/plugins/styles/qwindowsvistastyle.dll"
  # Qt's own dialogs in Russian: the translations are the same files on every system.
  cp /usr/share/qt6/translations/qtbase_ru.qm "$dir/translations/"
  printf '[Paths]\r\nPrefix = .\r\nPlugins = plugins\r\nTranslations = translations\r\n' >"$dir/qt.conf"
}
place_window_files "$stagedir"
# The README of a copy with the window begins with the window.
{ sed 's/$/\r/' data/windows/README-window.txt; sed 's/$/\r/' data/windows/README.txt; } >"$stagedir/README.txt"
rm -f "dist/$name.zip"
(cd "$build/dist" && zip -qr -X "$root/dist/$name.zip" "$name")

# The installer's tree: bin\ beside share\quillbay-ssf-manager\ThemeMaps, as installed on Linux.
inst=$build/dist/installer-root
rm -rf "$inst"
mkdir -p "$inst/bin" "$inst/share/quillbay-ssf-manager"
place_window_files "$inst/bin"
cp "$stagedir/ssftool.exe" "$inst/bin/"
cp data/windows/quillbay-ssf-manager.ico "$inst/bin/"
cp -r ThemeMaps "$inst/share/quillbay-ssf-manager/ThemeMaps"
cp "$stagedir/README.txt" "$inst/README.txt"
setup=dist/$name-setup.exe
makensis -V2 -INPUTCHARSET UTF8 "-DVERSION=$version" "-DROOT=$inst" "-DOUTFILE=$root/$setup" \
  data/windows/installer.nsi
stage_done

{
  printf 'ssf-manager.exe (stripped)   %8d bytes\n' "$(stat -c %s "$stagedir/ssf-manager.exe")"
  printf '%-28s %8d bytes\n' "$name.zip (with window)" "$(stat -c %s "dist/$name.zip")"
  printf '%-28s %8d bytes\n' "$name-setup.exe" "$(stat -c %s "$setup")"
} | tee -a "$times"
echo "Built $build/bin/ssf-manager.exe, dist/$name.zip and $setup"
