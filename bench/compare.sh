#!/usr/bin/env bash
# Times `ssftool convert` against the tools users would otherwise reach for, on pictures made
# here, and prints each ratio (ours / theirs; below 1 is faster). Runs are interleaved so a
# busy machine slows both sides alike; each figure is the median CPU time (user + system) of the
# process itself, which a loaded machine disturbs far less than the wall clock.
#
#   bench/compare.sh [path/to/ssftool] [runs]
#
# Needs ImageMagick (`convert`) and libjpeg-turbo's `djpeg`/`cjpeg`
# (Debian: apt-get install imagemagick libjpeg-turbo-progs).
set -euo pipefail
SSFTOOL=${1:-build/bin/ssftool}
RUNS=${2:-15}
for tool in convert djpeg cjpeg python3; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing (apt-get install imagemagick libjpeg-turbo-progs python3)" >&2; exit 2; }
done
[ -x "$SSFTOOL" ] || { echo "compare.sh: no ssftool at $SSFTOOL" >&2; exit 2; }
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A 1920x1080 photo-like picture: smooth gradients with noise, as camera pictures are.
convert -size 1920x1080 plasma:fractal -seed 7 -attenuate 0.3 +noise Gaussian "$WORK/photo.ppm" 2>/dev/null ||
  convert -size 1920x1080 gradient:navy-orange -attenuate 0.3 +noise Gaussian "$WORK/photo.ppm"
convert "$WORK/photo.ppm" "$WORK/photo.png"
cjpeg -quality 90 "$WORK/photo.ppm" > "$WORK/photo.jpg"
convert "$WORK/photo.ppm" BMP3:"$WORK/photo.bmp"
# A 240x320 picture with alpha, for the ANI2 rows.
convert -size 240x320 plasma:fractal -alpha set -channel A -evaluate set 60% +channel "$WORK/small.png" 2>/dev/null ||
  convert -size 240x320 gradient:red-blue -alpha set -channel A -evaluate set 60% +channel "$WORK/small.png"
"$SSFTOOL" convert "$WORK/small.png" "$WORK/small.ani2" >/dev/null

# compare NAME "OUR COMMAND" "THEIR COMMAND": interleaved runs, median CPU time (user +
# system, from the kernel's accounting of each finished process), ratio.
compare() {
  python3 - "$1" "$2" "$3" "$RUNS" <<'PY'
import os, statistics, subprocess, sys
name, ours, theirs, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])

def cpu(command):
    proc = subprocess.Popen(command, shell=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        sys.exit(f"compare.sh: failed: {command}")
    return usage.ru_utime + usage.ru_stime

a, b = [], []
for _ in range(runs):
    a.append(cpu(ours))
    b.append(cpu(theirs))
mo, mt = statistics.median(a), statistics.median(b)
print(f"{name:<36} ours {mo*1000:7.1f} ms  theirs {mt*1000:7.1f} ms  ratio {mo/mt:5.2f}")
PY
}

compare "PNG -> RGB565 BMP vs convert" \
  "'$SSFTOOL' convert '$WORK/photo.png' '$WORK/o.raw'" \
  "convert '$WORK/photo.png' -define bmp:subtype=RGB565 '$WORK/o.bmp'"
compare "JPEG -> BMP vs djpeg -bmp" \
  "'$SSFTOOL' convert '$WORK/photo.jpg' '$WORK/o.bmp'" \
  "djpeg -bmp -outfile '$WORK/d.bmp' '$WORK/photo.jpg'"
compare "BMP -> JPEG vs cjpeg -quality 100" \
  "'$SSFTOOL' convert '$WORK/photo.bmp' '$WORK/o.jpg'" \
  "cjpeg -quality 100 -outfile '$WORK/c.jpg' '$WORK/photo.bmp'"
compare "PNG -> JPEG vs convert" \
  "'$SSFTOOL' convert '$WORK/photo.png' '$WORK/o2.jpg'" \
  "convert '$WORK/photo.png' -quality 100 '$WORK/m.jpg'"
compare "JPEG -> PNG vs convert" \
  "'$SSFTOOL' convert '$WORK/photo.jpg' '$WORK/o.png'" \
  "convert '$WORK/photo.jpg' '$WORK/m.png'"
compare "ANI2 240x320 -> PNG vs convert PNG" \
  "'$SSFTOOL' convert '$WORK/small.ani2' '$WORK/s.png'" \
  "convert '$WORK/small.png' '$WORK/m2.png'"
ls -l "$WORK/small.png" "$WORK/s.png" | awk '{print "  " $5 " bytes  " $9}'
