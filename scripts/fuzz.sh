#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for a fixed time on its seed
# corpus. Usage: scripts/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]  (default 20 s, all).
# A finding is written to build-fuzz/findings/<target>/ and makes the script fail.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-20}
shift || true

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DSSF_BUILD_FUZZ=ON -DSSF_BUILD_GUI=OFF -DSSF_BUILD_TESTS=OFF -DSSF_BUILD_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc 2>/dev/null || echo 2)"

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for d in fuzz/corpus/*/; do targets+=("$(basename "$d")"); done
fi

failed=0
for t in "${targets[@]}"; do
  work=build-fuzz/corpus/$t
  findings=build-fuzz/findings/$t
  mkdir -p "$work" "$findings"
  echo "== fuzz $t for ${seconds}s"
  if ! build-fuzz/bin/fuzz_"$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
      -print_final_stats=0 -artifact_prefix="$findings/" "$work" "fuzz/corpus/$t" \
      >"build-fuzz/fuzz-$t.log" 2>&1; then
    echo "FINDING in $t (log: build-fuzz/fuzz-$t.log):"
    tail -30 "build-fuzz/fuzz-$t.log"
    ls "$findings"
    failed=1
  else
    grep -E '^#[0-9]+.*(DONE|pulse)' "build-fuzz/fuzz-$t.log" | tail -1 || true
  fi
done
exit $failed
