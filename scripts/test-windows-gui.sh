#!/usr/bin/env bash
# The window program of the Windows build under Wine (scripts/test-windows.sh --gui runs it
# after scripts/build-windows.sh --gui): the window tests without a display, then the portable
# copy started on a theme with a Cyrillic name under Xvfb. It passes when the main window
# appears with the theme's name in its title; build-windows/window-under-wine.png is its
# screenshot.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$root/build-windows
wine=/usr/lib/wine/wine64
version=$(sed -n 's/^project([^ ]* VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
portable=$build/dist/quillbay-ssf-manager-$version-win64
export WINEDEBUG=-all
export WINEPREFIX=$build/wine-prefix
export WINEDLLOVERRIDES="mscoree,mshtml="

for p in xvfb xauth x11-utils imagemagick; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    echo "test-windows-gui.sh needs $p (apt-get install $p)" >&2
    exit 1
  fi
done
mkdir -p "$WINEPREFIX"
"$wine" wineboot -i >/dev/null 2>&1 || true
# Qt 6 refuses the Windows version Wine reports by default.
"$wine" winecfg -v win10 >/dev/null 2>&1

echo "== window tests under Wine"
# The tests find Qt's DLLs and plugins in the portable copy, which has them all.
winpath() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
(cd "$build/bin" && WINEPATH="$(winpath "$portable")" QT_PLUGIN_PATH="$(winpath "$portable/plugins")" \
  QT_QPA_PLATFORM=offscreen "$wine" ./ssf_gui_tests.exe --gtest_brief=1)

echo "== the window on a theme"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
convert -size 240x320 gradient:'#3a7bd5-#9fd3f0' -fill '#ffd54f' -draw 'circle 170,60 190,60' \
  -fill '#4caf50' -draw 'polygon 0,320 80,180 140,250 180,210 240,320' "PNG24:$work/обои.png"
theme="$work/Тема для проверки.ssf"
# A theme is saved only whole: the picture in each of the model's 38 picture files, and its two
# colour tables (512 and 256 bytes).
head -c 512 /dev/urandom >"$work/c512.tab"
head -c 256 /dev/urandom >"$work/c256.tab"
pictures=()
for i in $(seq 1 38); do pictures+=("$work/обои.png"); done
build/bin/ssftool new --model QB-X240 -o "$theme" --author "Проверка" --name "Окно под Wine" \
  --fit stretch "${pictures[@]}" "$work/c512.tab" "$work/c256.tab" >/dev/null
shot=$build/window-under-wine.png
cat >"$work/run.sh" <<EOF
set -u
cd "$portable"
"$wine" ./ssf-manager.exe "$(winpath "$theme")" &
for i in \$(seq 1 60); do
  sleep 1
  # The title names the theme file; Cyrillic may reach xwininfo in another encoding, ".ssf — "
  # does not.
  if xwininfo -root -tree | grep -q '\.ssf'; then found=1; break; fi
done
sleep 2
import -window root "$shot"
xwininfo -root -tree >"$work/windows.txt" || true
/usr/lib/wine/wineserver -k 2>/dev/null || true
[ "\${found:-0}" = 1 ]
EOF
# Wine's desktop process takes the display of the server's first window program: a server left
# from the runs without a display goes first.
/usr/lib/wine/wineserver -k 2>/dev/null || true
/usr/lib/wine/wineserver -w 2>/dev/null || true
if ! WINEPATH= xvfb-run -a -s "-screen 0 1280x800x24" bash "$work/run.sh"; then
  echo "the window did not show the theme within a minute; windows seen:" >&2
  cat "$work/windows.txt" >&2 || true
  exit 1
fi
echo "The window opened the theme under Wine; screenshot: $shot"
