#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test, GUI tests offscreen.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISQUEL_UI=ON -DBRISQUEL_TESTS=ON >/dev/null
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@"
