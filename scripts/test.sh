#!/usr/bin/env bash
# Sets everything up and runs every test: a normal build with warnings as errors and a
# build with AddressSanitizer and UndefinedBehaviorSanitizer, each running the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen

echo "== normal build"
# With Debian's hardening flags (dpkg-buildflags: fortified functions, stack protector, PIE,
# full RELRO with bind-now): the tests run on the programs the package below ships.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSSF_WERROR=ON -DSSF_DEBIAN_BUILDFLAGS=ON
cmake --build build -j "$jobs"
ctest --test-dir build --output-on-failure -j "$jobs"

echo "== Debian package"
bash scripts/check-package.sh build

echo "== sanitizer build"
san="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DSSF_WERROR=ON -DSSF_BUILD_BENCH=OFF \
  -DCMAKE_CXX_FLAGS="$san" -DCMAKE_C_FLAGS="$san" \
  -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined"
cmake --build build-asan -j "$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --test-dir build-asan --output-on-failure -j "$jobs"

echo "== fuzzing (${FUZZ_SECONDS:-20} s per target)"
bash scripts/fuzz.sh "${FUZZ_SECONDS:-20}"
