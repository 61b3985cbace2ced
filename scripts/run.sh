#!/usr/bin/env bash
# Builds the program (installing what is missing) and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DBRISQUEL_UI=ON -DBRISQUEL_TESTS=OFF -DBRISQUEL_BENCH=OFF >/dev/null
cmake --build build -j"$(nproc)"
if [ -x build/ui/brisquel ]; then
  exec build/ui/brisquel "$@"
else
  exec build/cli/brisquel-cli "$@"
fi
