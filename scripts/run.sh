#!/usr/bin/env bash
# Sets everything up, builds, and starts the editor. Arguments go to the editor
# (a .ssf file to open). `scripts/run.sh ssftool ARGS...` runs the command-line tool instead.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh >&2
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >&2
cmake --build build -j "$(nproc 2>/dev/null || echo 2)" >&2

if [ "${1:-}" = "ssftool" ]; then
  shift
  exec build/bin/ssftool "$@"
fi
if [ ! -x build/bin/ssf-manager ]; then
  echo "The editor is not built yet; run 'scripts/run.sh ssftool --help' for the command-line tool." >&2
  exit 1
fi
exec build/bin/ssf-manager "$@"
