#!/usr/bin/env bash
# Korvane for 64-bit Windows, built on this Debian machine and proven under Wine: installs what is
# missing, builds Qt for Windows from Debian's sources once (cached outside the repository, see
# scripts/windows/build-qt.sh), builds korvane.exe and korvane-rcon.exe, the portable zip and the
# installer into build/windows, and runs every test there under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
# The host's Qt tools (the cross build runs them) and openarena-server, then the Windows toolchain.
scripts/install-deps.sh
scripts/windows/install-deps.sh

qt=$(scripts/windows/build-qt.sh | tail -n 1)
build=build/windows
jobs=$(nproc)

cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DKORVANE_WERROR=ON -DKORVANE_BENCH=OFF
cmake --build "$build" -j"$jobs"
cmake --build "$build" --target windows_zip
(cd "$build" && cpack -G NSIS64 >cpack.log 2>&1) || { tail -n 40 "$build/cpack.log"; exit 1; }

# The tests' own Wine prefix, made before they start so that none of them waits for another to make it.
export WINEPREFIX=$PWD/$build/wine WINEDEBUG=-all
/usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
/usr/lib/wine/wineserver -w
ctest --test-dir "$build" --output-on-failure -j"$jobs"
/usr/lib/wine/wineserver -k || true

ls -l "$build"/bin/korvane.exe "$build"/bin/korvane-rcon.exe "$build"/korvane-*-win64.zip "$build"/korvane-*-win64-setup.exe
