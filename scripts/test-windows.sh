#!/usr/bin/env bash
# Tests the Windows build (scripts/build-windows.sh) under Wine: the core tests, and the
# parity check (tests/windows/check_parity.py): the same ssftool commands on Linux and under
# Wine give the same bytes and exit codes. Builds both sides first: the Windows build through
# build-windows.sh, the Linux ssftool in build/.
#   --gui    also the window program: its tests under Wine and a start on a theme under Xvfb
#            (scripts/test-windows-gui.sh)
#   JOBS=N   parallel jobs for the builds (default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-windows
jobs=${JOBS:-2}

# Both builds are brought up to date first (each is incremental: the library prefix and the
# objects of the last run are kept).
bash scripts/build-windows.sh "$@"
if [ ! -f build/build.ninja ]; then
  bash scripts/install-deps.sh
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSSF_WERROR=ON >/dev/null
fi
cmake --build build -j "$jobs" --target ssftool theme_maps

wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEPREFIX=$build/wine-prefix
export WINEDLLOVERRIDES="mscoree,mshtml="  # no Mono or Gecko prompt in a fresh prefix
# One Wine server for every run below: a start then takes a fraction of a second. The first
# run makes the prefix (half a minute, ~700 MB).
mkdir -p "$WINEPREFIX"
/usr/lib/wine/wineserver -p 2>/dev/null || true  # one may already serve this prefix
trap '/usr/lib/wine/wineserver -k 2>/dev/null || true' EXIT
"$wine" wineboot -i >/dev/null 2>&1 || true
start=$(date +%s)

echo "== core tests under Wine"
# tests/windows/not-under-wine.txt lists the tests left out under Wine, each with its reason
# (Wine's CreateSymbolicLinkW reports success and makes nothing; the .xls fixtures come from
# a Python script). Tests of POSIX-only things (FIFOs, the XDG desktop) are not built for
# Windows or skip themselves there.
skipped=$(grep -v "^#" tests/windows/not-under-wine.txt | tr "\n" ":" | sed "s/:*$//")
(cd "$build/bin" && "$wine" ./ssf_core_tests.exe --gtest_brief=1 --gtest_filter="-$skipped")

echo "== ssftool parity, Linux and Wine"
python3 tests/windows/check_parity.py build/bin/ssftool "$wine" "$build/bin/ssftool.exe" \
  build/bin/ThemeMaps tests/tools/make_xls.py
echo "Windows tests under Wine: $(($(date +%s) - start)) s"
if [ "${1:-}" = --gui ]; then bash scripts/test-windows-gui.sh; fi
