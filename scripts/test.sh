#!/usr/bin/env bash
# Builds everything (installing what is missing) and runs every test, GUI tests offscreen.
# The libraries' and brisquel-cli's tests run in a build with AddressSanitizer and UBSan, where
# any report fails the run; the desktop program's tests run in the optimised build. With
# BRISQUEL_SKIP_SANITIZERS=1 every test runs in the optimised build instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
sanitizers=1
[ "${BRISQUEL_SKIP_SANITIZERS:-0}" = 1 ] && sanitizers=0
core_tests=ON
[ "$sanitizers" = 1 ] && core_tests=OFF # they run once, in the sanitizer build below
# Line tables only (-g1): enough for a failing test's stack trace, and the builds are faster.
cmake -S . -B build-test -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISQUEL_UI=ON -DBRISQUEL_TESTS=ON -DBRISQUEL_WERROR=ON \
  -DBRISQUEL_CORE_TESTS="$core_tests" -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g1 -DNDEBUG" >/dev/null
cmake --build build-test -j"$(nproc)"
export QT_QPA_PLATFORM=offscreen
(cd build-test && ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@")

if [ "$sanitizers" = 1 ]; then
  # -O1 is the level the sanitizers are meant for, and compiles much faster than -O2. Warnings
  # are errors here too: the tests of the libraries are compiled in this build only.
  cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISQUEL_ASAN=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" -DBRISQUEL_WERROR=ON \
    -DBRISQUEL_UI=OFF -DBRISQUEL_BENCH=OFF -DBRISQUEL_TESTS=ON -DBRISQUEL_CORE_TESTS=ON >/dev/null
  cmake --build build-asan -j"$(nproc)"
  export ASAN_OPTIONS=abort_on_error=0:detect_leaks=1
  export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
  (cd build-asan && ctest --output-on-failure --timeout 900 -j"$(nproc)" "$@")
fi

# ThreadSanitizer over the programs where threads meet: the engine's game thread, the coach's
# workers, the work pool and the desktop windows. Qt's own libraries are not instrumented and
# are suppressed (tests/ui/tsan.supp); a report in our code fails the run (BRISQUEL_SKIP_TSAN=1
# skips).
if [ "${BRISQUEL_SKIP_TSAN:-0}" != 1 ]; then
  tsan_programs=(engine_tests coach_tests tst_game tst_human_play tst_action_panel tst_panel_heads_up
                 tst_coach tst_option_bars tst_app tst_app_close tst_game_end tst_equity_lab
                 pokerlib_thread_tests tst_background_jobs tst_drill)
  cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRISQUEL_TSAN=ON \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
    -DBRISQUEL_UI=ON -DBRISQUEL_BENCH=OFF -DBRISQUEL_TESTS=ON >/dev/null
  cmake --build build-tsan -j"$(nproc)" --target "${tsan_programs[@]}"
  labels="$(IFS='|'; echo "^(${tsan_programs[*]})\$")"
  (cd build-tsan && ctest --output-on-failure --timeout 900 -j"$(nproc)" -L "$labels" "$@")
fi

# The readers' fuzz targets, when clang (libFuzzer) is here: each runs briefly over its corpus
# of real games' files; a crash or sanitizer report fails the run (BRISQUEL_SKIP_FUZZ=1 skips).
CLANGXX="$(command -v clang++ || command -v clang++-14 || true)"
if [ "${BRISQUEL_SKIP_FUZZ:-0}" != 1 ] && [ -n "$CLANGXX" ]; then
  cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER="$CLANGXX" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DBRISQUEL_FUZZ=ON -DBRISQUEL_UI=OFF \
    -DBRISQUEL_TESTS=OFF -DBRISQUEL_BENCH=OFF -DBRISQUEL_WERROR=ON >/dev/null
  cmake --build build-fuzz -j"$(nproc)" --target fuzz_history fuzz_range fuzz_import fuzz_progress
  for target in fuzz_history fuzz_range fuzz_import fuzz_progress; do
    # New inputs go to a scratch folder; the corpus in the repository is only read.
    scratch="$(mktemp -d)"
    build-fuzz/tests/fuzz/$target -max_total_time="${BRISQUEL_FUZZ_SECONDS:-20}" -max_len=16384 \
      -rss_limit_mb=2048 -timeout=10 -artifact_prefix="$scratch/" "$scratch" \
      "tests/fuzz/corpus/$target" 2>"$scratch/log" || { tail -50 "$scratch/log"; exit 1; }
    grep -h '^Done' "$scratch/log" | sed "s/^/$target: /"
    rm -rf "$scratch"
  done
fi
