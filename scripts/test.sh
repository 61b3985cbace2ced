#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test, GUI tests offscreen.
# Then builds the libraries and brisquel-cli again with AddressSanitizer and UBSan and runs
# their tests there: any report fails the run (BRISQUEL_SKIP_SANITIZERS=1 skips that part).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Line tables only (-g1): enough for a failing test's stack trace, and the builds are faster.
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISQUEL_UI=ON -DBRISQUEL_TESTS=ON -DBRISQUEL_WERROR=ON \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
(cd build-test && ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@")

if [ "${BRISQUEL_SKIP_SANITIZERS:-0}" != 1 ]; then
  # -O1 is the level the sanitizers are meant for, and compiles much faster than -O2. Warnings
  # stay warnings here: GCC's flow analysis at -O1 sees uninitialised values inside <regex>.
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISQUEL_ASAN=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DBRISQUEL_UI=OFF -DBRISQUEL_BENCH=OFF -DBRISQUEL_TESTS=ON >/dev/null
  cmake --build build-asan -j"$(nproc)"
  export ASAN_OPTIONS=abort_on_error=0:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  (cd build-asan && ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@")
fi
