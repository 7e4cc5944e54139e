#!/usr/bin/env bash
# Times `ssftool convert` against the tools users would otherwise reach for, on pictures made
# here, and prints each ratio (ours / theirs; below 1 is faster). Runs are interleaved so a
# busy machine slows both sides alike; each figure is the median CPU time (user + system) of the
# process itself, which a loaded machine disturbs far less than the wall clock. The largest
# resident size of our runs is shown beside them.
#
#   bench/compare.sh [path/to/ssftool] [runs]
#   BEFORE=path/to/older/ssftool bench/compare.sh ...   # an older build timed in the same rounds
#   IMAGEMAGICK=/path/to/convert bench/compare.sh ...   # another ImageMagick than the one found
#
# Needs ImageMagick and libjpeg-turbo's `djpeg`/`cjpeg`
# (Debian: apt-get install imagemagick libjpeg-turbo-progs).
set -euo pipefail
SSFTOOL=${1:-build/bin/ssftool}
RUNS=${2:-15}
BEFORE=${BEFORE:-}
for tool in djpeg cjpeg python3; do
  command -v "$tool" >/dev/null || { echo "compare.sh: $tool is missing (apt-get install imagemagick libjpeg-turbo-progs python3)" >&2; exit 2; }
done
[ -x "$SSFTOOL" ] || { echo "compare.sh: no ssftool at $SSFTOOL" >&2; exit 2; }
[ -z "$BEFORE" ] || [ -x "$BEFORE" ] || { echo "compare.sh: no ssftool at $BEFORE" >&2; exit 2; }

# ImageMagick's own program, not whatever `convert` stands first on PATH: a wrapper script there
# would add an interpreter's start-up to every run of theirs.
is_elf() { [ -f "$1" ] && [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = '177ELF' ]; }
IM=${IMAGEMAGICK:-}
if [ -z "$IM" ]; then
  for c in /usr/bin/magick /usr/bin/convert-im6.q16 /usr/bin/convert-im6 /usr/bin/convert; do
    if is_elf "$(readlink -f "$c" 2>/dev/null || echo "$c")"; then IM=$(readlink -f "$c"); break; fi
  done
fi
[ -n "$IM" ] && is_elf "$IM" || { echo "compare.sh: no ImageMagick program found (apt-get install imagemagick)" >&2; exit 2; }
case "$(basename "$IM")" in magick) IM="$IM convert" ;; esac
echo "ImageMagick: $IM"

WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

# A 1920x1080 photo-like picture: smooth gradients with noise, as camera pictures are. Eight
# bits per sample throughout: ImageMagick's Q16 build otherwise writes 16-bit PNGs and PPMs.
$IM -size 1920x1080 -seed 7 plasma:fractal -attenuate 0.3 +noise Gaussian -depth 8 "$WORK/photo.ppm" 2>/dev/null ||
  $IM -size 1920x1080 gradient:navy-orange -attenuate 0.3 +noise Gaussian -depth 8 "$WORK/photo.ppm"
$IM "$WORK/photo.ppm" -depth 8 "$WORK/photo.png"
cjpeg -quality 90 "$WORK/photo.ppm" > "$WORK/photo.jpg"
$IM "$WORK/photo.ppm" BMP3:"$WORK/photo.bmp"
# A camera-sized picture for fitting to a phone's screen.
$IM -size 4000x3000 -seed 9 plasma:fractal -attenuate 0.2 +noise Gaussian -depth 8 "$WORK/camera.ppm" 2>/dev/null ||
  $IM -size 4000x3000 gradient:navy-orange -attenuate 0.2 +noise Gaussian -depth 8 "$WORK/camera.ppm"
cjpeg -quality 90 "$WORK/camera.ppm" > "$WORK/camera.jpg"
rm "$WORK/camera.ppm"
# A 240x320 picture with alpha, for the ANI2 rows, and the same size as JPEG.
$IM -size 240x320 -seed 5 plasma:fractal -alpha set -channel A -evaluate set 60% +channel -depth 8 "$WORK/small.png" 2>/dev/null ||
  $IM -size 240x320 gradient:red-blue -alpha set -channel A -evaluate set 60% +channel -depth 8 "$WORK/small.png"
"$SSFTOOL" convert "$WORK/small.png" "$WORK/small.ani2" >/dev/null
$IM "$WORK/small.png" -alpha off -depth 8 "$WORK/small.ppm"
cjpeg -quality 90 "$WORK/small.ppm" > "$WORK/small.jpg"

# compare NAME "OUR COMMAND" "THEIR COMMAND" ["OUR COMMAND WITH THE OLDER BUILD"]: interleaved
# runs, median CPU time (user + system, from the kernel's accounting of each finished process),
# ratio, and our largest resident size.
compare() {
  python3 - "$1" "$2" "$3" "$RUNS" "${4:-}" <<'PY'
import os, statistics, subprocess, sys
name, ours, theirs, runs, before = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4]), sys.argv[5]

def cpu(command):
    proc = subprocess.Popen(command, shell=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(proc.pid, 0)
    if status != 0:
        sys.exit(f"compare.sh: failed: {command}")
    return usage.ru_utime + usage.ru_stime, usage.ru_maxrss

def peak(command, fallback):
    # A child of this Python process starts with Python's resident size as its high-water
    # mark (about 14 MB), which hides a smaller peak: GNU time's child starts clean.
    if not os.path.exists("/usr/bin/time"):
        return fallback
    import tempfile
    with tempfile.NamedTemporaryFile("r") as f:
        subprocess.run(["/usr/bin/time", "-f", "%M", "-o", f.name, "sh", "-c", command],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        text = f.read().strip().splitlines()
    return int(text[-1]) if text and text[-1].isdigit() else fallback

a, b, c, rss, rss_before = [], [], [], 0, 0
for _ in range(runs):
    t, m = cpu(ours); a.append(t); rss = max(rss, m)
    b.append(cpu(theirs)[0])
    if before:
        t, m = cpu(before); c.append(t); rss_before = max(rss_before, m)
rss = peak(ours, rss)
if before:
    rss_before = peak(before, rss_before)
mo, mt = statistics.median(a), statistics.median(b)
line = f"{name:<36} ours {mo*1000:7.1f} ms  theirs {mt*1000:7.1f} ms  ratio {mo/mt:5.2f}  peak {rss/1024:6.1f} MB"
if before:
    mb = statistics.median(c)
    line += f"  | before {mb*1000:7.1f} ms  ratio {mb/mt:5.2f}  peak {rss_before/1024:6.1f} MB"
print(line, flush=True)
PY
}

# ours NAME ARGS...: our command, and the same with the older build when one is given.
ours() { printf "'%s' %s" "$SSFTOOL" "$*"; }
before() { [ -z "$BEFORE" ] || printf "'%s' %s" "$BEFORE" "$*"; }

compare "PNG -> RGB565 BMP vs convert" \
  "$(ours convert "$WORK/photo.png" "$WORK/o.raw")" \
  "$IM '$WORK/photo.png' -define bmp:subtype=RGB565 '$WORK/o.bmp'" \
  "$(before convert "$WORK/photo.png" "$WORK/b.raw")"
compare "JPEG -> BMP vs djpeg -bmp" \
  "$(ours convert "$WORK/photo.jpg" "$WORK/o.bmp")" \
  "djpeg -bmp -outfile '$WORK/d.bmp' '$WORK/photo.jpg'" \
  "$(before convert "$WORK/photo.jpg" "$WORK/b.bmp")"
compare "JPEG 240x320 -> BMP vs djpeg -bmp" \
  "$(ours convert "$WORK/small.jpg" "$WORK/os.bmp")" \
  "djpeg -bmp -outfile '$WORK/ds.bmp' '$WORK/small.jpg'" \
  "$(before convert "$WORK/small.jpg" "$WORK/bs.bmp")"
compare "BMP -> JPEG vs cjpeg -quality 100" \
  "$(ours convert "$WORK/photo.bmp" "$WORK/o.jpg")" \
  "cjpeg -quality 100 -outfile '$WORK/c.jpg' '$WORK/photo.bmp'" \
  "$(before convert "$WORK/photo.bmp" "$WORK/b.jpg")"
compare "PNG -> JPEG vs convert" \
  "$(ours convert "$WORK/photo.png" "$WORK/o2.jpg")" \
  "$IM '$WORK/photo.png' -quality 100 '$WORK/m.jpg'" \
  "$(before convert "$WORK/photo.png" "$WORK/b2.jpg")"
compare "JPEG -> PNG vs convert" \
  "$(ours convert "$WORK/photo.jpg" "$WORK/o.png")" \
  "$IM '$WORK/photo.jpg' '$WORK/m.png'" \
  "$(before convert "$WORK/photo.jpg" "$WORK/b.png")"
compare "ANI2 240x320 -> PNG vs convert PNG" \
  "$(ours convert "$WORK/small.ani2" "$WORK/s.png")" \
  "$IM '$WORK/small.png' '$WORK/m2.png'" \
  "$(before convert "$WORK/small.ani2" "$WORK/bs.png")"
ls -l "$WORK/small.png" "$WORK/s.png" | awk '{print "  " $5 " bytes  " $9}'
# Fitting has no older form on the command line: the older build is not timed here.
if "$SSFTOOL" convert "$WORK/small.jpg" "$WORK/fit.raw" --size 24x32 --fit crop >/dev/null 2>&1; then
  compare "JPEG 4000x3000 fit 240x320 vs convert" \
    "$(ours convert "$WORK/camera.jpg" "$WORK/fit.raw" --size 240x320 --fit crop)" \
    "$IM -define jpeg:size=480x640 '$WORK/camera.jpg' -resize 240x320^ -gravity center -extent 240x320 -define bmp:subtype=RGB565 '$WORK/fit.bmp'"
fi
