#!/usr/bin/env bash
# Builds the Debian package in a build folder (default build/, configured with
# -DSSF_DEBIAN_BUILDFLAGS=ON as scripts/test.sh does), checks it with lintian (any error or
# warning fails, and so does a program built without the hardening flags), unpacks it into an
# empty folder and runs the unpacked ssftool there: it must find the packaged sample maps.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

# File dates in the package come from the last commit, so the same sources give the same package.
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null || date +%s)
  export SOURCE_DATE_EPOCH
fi
rm -f "$build"/quillbay-ssf-manager_*.deb
cmake --build "$build" --target changelog man_pages >/dev/null
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(echo "$build"/quillbay-ssf-manager_*.deb)
[ -f "$deb" ] || { echo "cpack made no package in $build" >&2; exit 1; }
echo "$(basename "$deb"): Depends: $(dpkg-deb -f "$deb" Depends)"

# Informational and pedantic notes are shown; errors and warnings fail.
lintian_out=$(lintian -I -E --pedantic --tag-display-limit 0 "$deb" 2>&1 || true)
[ -z "$lintian_out" ] || echo "$lintian_out"
if echo "$lintian_out" | grep -q '^[EW]: '; then
  echo "lintian finds errors or warnings in $(basename "$deb")" >&2
  exit 1
fi
# lintian only notes these; a package for Debian has them all.
if echo "$lintian_out" | grep -q ' hardening-no-'; then
  echo "$(basename "$deb") holds programs built without hardening: configure $build with -DSSF_DEBIAN_BUILDFLAGS=ON" >&2
  exit 1
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
for f in usr/bin/ssftool usr/bin/ssf-manager usr/share/man/man1/ssftool.1.gz \
         usr/share/bash-completion/completions/ssftool \
         usr/share/metainfo/com.quillbay.ssfmanager.metainfo.xml \
         usr/share/applications/quillbay-ssf-manager.desktop; do
  [ -e "$root/$f" ] || { echo "not in the package: /$f" >&2; exit 1; }
done

maps_dir=$root/usr/share/quillbay-ssf-manager/ThemeMaps
listed=$(env -u SSF_MANAGER_HOME "$root/usr/bin/ssftool" maps | cut -f2)
[ "$(echo "$listed" | grep -c .)" -eq "$(ls ThemeMaps/*.rxt | wc -l)" ] ||
  { echo "the unpacked ssftool lists other maps than ThemeMaps/ holds: $listed" >&2; exit 1; }
while IFS= read -r m; do
  [ -f "$maps_dir/$m" ] || { echo "ssftool maps lists $m, not in $maps_dir" >&2; exit 1; }
done <<<"$listed"
echo "unpacked ssftool finds the $(echo "$listed" | wc -l) packaged maps"
