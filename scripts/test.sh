#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${FONT_PACKAGES[@]}" libgtest-dev libgmock-dev libbenchmark-dev

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DOSTRA_TESTS=ON -DOSTRA_SANITIZE=ON \
    "${CCACHE_ARGS[@]}"
cmake --build build-test
cd build-test
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)" "$@"
