#!/usr/bin/env bash
# Installs what is missing, builds Korvane and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DKORVANE_BENCH=OFF
cmake --build build/release --target korvane -j"$(nproc)"
exec build/release/bin/korvane "$@"
