#!/usr/bin/env bash
# Sets everything up, builds, and starts the editor. Arguments go to the editor
# (a .ssf file to open). `scripts/run.sh ssftool ARGS...` runs the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
# Only the two programs: the tests and benchmarks are scripts/test.sh's business and would
# take most of the first build's time.
targets=(ssftool)
if cmake --build build --target help 2>/dev/null | grep -q '^ssf-manager:'; then
  targets+=(ssf-manager)
fi
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" --target "${targets[@]}" >&2

if [ "${1:-}" = "ssftool" ]; then
  shift
  exec build/bin/ssftool "$@"
fi
if [ ! -x build/bin/ssf-manager ]; then
  echo "The editor is not built yet; run 'scripts/run.sh ssftool --help' for the command-line tool." >&2
  exit 1
fi
# Without a display Qt would stop with a cryptic platform-plugin error; say what to do.
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  cat >&2 <<'MSG'
No display: the editor is a window program and this session has no graphical display
(neither DISPLAY nor WAYLAND_DISPLAY is set).
- Run it from a desktop session, or over ssh with X forwarding (ssh -X).
- Or run it on a virtual display:  xvfb-run -a -s "-screen 0 1280x800x24" build/bin/ssf-manager [THEME.ssf]
  (xvfb-run comes with the package xvfb, installed by scripts/install-deps.sh).
The command-line tool needs no display: scripts/run.sh ssftool --help
MSG
  exit 1
fi
exec build/bin/ssf-manager "$@"
