#!/usr/bin/env bash
# The window program of the Windows build under Wine (scripts/test-windows.sh --gui runs it
# after scripts/build-windows.sh --gui): the window tests without a display, then the portable
# copy started on a theme with a Cyrillic name under Xvfb. It passes when the main window
# appears with the theme's name in its title; build-windows/window-under-wine.png is its
# screenshot. Then the installer, silently: it must take .ssf from another program, and its
# uninstaller must give it back and leave nothing of the program behind.
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
# Qt's own build has what the tests load beyond the program's copy: Qt6Test.dll, the offscreen
# platform plugin and the Russian translation (build-windows-gui.sh puts it there).
host_qt=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools)
qt_prefix=${SSF_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillbay-ssf-manager}/qtbase-${host_qt%%+*}-mingw
winpath() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }
gui_tests_failed=0
(cd "$build/bin" && WINEPATH="$(winpath "$qt_prefix/bin");$(winpath "$portable")" \
  QT_PLUGIN_PATH="$(winpath "$qt_prefix/plugins")" QT_QPA_PLATFORM=offscreen \
  "$wine" ./ssf_gui_tests.exe --gtest_brief=1) || gui_tests_failed=1

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

echo "== the installer and its uninstaller"
setup=$root/dist/quillbay-ssf-manager-$version-win64-setup.exe
reg_default() { "$wine" reg query "$1" /ve 2>/dev/null | tr -d '\r' | sed -n 's/.*REG_SZ *//p'; }
"$wine" reg add 'HKCU\Software\Classes\.ssf' /ve /d Other.Theme /f >/dev/null 2>&1
"$wine" "$setup" /S
installed=$("$wine" winepath -u "$("$wine" cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')\\Programs\\Quillbay SSF Manager" 2>/dev/null | tr -d '\r')
faults=()
[ -f "$installed/bin/ssf-manager.exe" ] || faults+=("no bin\\ssf-manager.exe")
[ -f "$installed/share/quillbay-ssf-manager/ThemeMaps/QB-X240.rxt" ] || faults+=("no ThemeMaps")
[ "$(reg_default 'HKCU\Software\Classes\.ssf')" = "Quillbay Theme" ] || faults+=(".ssf not associated")
case "$(reg_default 'HKCU\Software\Classes\Quillbay Theme\shell\open\command')" in
  *'\bin\ssf-manager.exe" "%1"') ;;
  *) faults+=("no open command") ;;
esac
"$wine" "$installed/uninstall.exe" /S
for i in $(seq 1 20); do [ -e "$installed" ] || break; sleep 1; done
[ ! -e "$installed" ] || faults+=("left behind: $(ls "$installed" | tr '\n' ' ')")
[ "$(reg_default 'HKCU\Software\Classes\.ssf')" = "Other.Theme" ] || faults+=(".ssf not given back")
if "$wine" reg query 'HKCU\Software\Classes\Quillbay Theme' >/dev/null 2>&1; then faults+=("ProgID left"); fi
"$wine" reg delete 'HKCU\Software\Classes\.ssf' /f >/dev/null 2>&1 || true
if [ ${#faults[@]} -gt 0 ]; then
  printf 'installer: %s\n' "${faults[@]}" >&2
  exit 1
fi
echo "The installer associated .ssf; the uninstaller gave it back and removed the program."
if [ "$gui_tests_failed" -ne 0 ]; then
  echo "window tests failed under Wine (see above)" >&2
  exit 1
fi
