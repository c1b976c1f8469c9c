#!/usr/bin/env bash
# Builds Qt for 64-bit Windows from Debian's own qt6-base source (the version of the host's Qt tools,
# which the cross build runs), as a static release build of what Korvane uses, and installs it into a
# cache outside the repository. The cache is keyed by the Qt version and the configure options: a
# build with the same key is reused, a changed key builds anew. Prints the installed prefix last.
#
#   scripts/windows/build-qt.sh            cache: ${XDG_CACHE_HOME:-~/.cache}/korvane
#   KORVANE_CACHE=/some/folder scripts/windows/build-qt.sh
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
toolchain=$here/../../cmake/mingw-w64-x86_64.cmake
cache=${KORVANE_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/korvane}
jobs=$(nproc)

qt_version=$(dpkg-query -W -f='${Version}' qt6-base-dev)

# Only what Korvane uses: Core, Gui, Widgets, Network, Sql with the bundled SQLite, Test; the windows
# and offscreen platform plugins (offscreen draws with FreeType) and the windowsvista style.
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=OFF
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_static_runtime=ON
    -DFEATURE_opengl=OFF -DINPUT_opengl=no -DFEATURE_vulkan=OFF -DFEATURE_dbus=OFF -DFEATURE_icu=OFF
    -DFEATURE_openssl=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_system_png=OFF -DFEATURE_system_freetype=OFF -DFEATURE_freetype=ON
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF
    -DFEATURE_sql_sqlite=ON -DFEATURE_system_sqlite=OFF -DFEATURE_sql_odbc=OFF -DFEATURE_sql_psql=OFF
    -DFEATURE_sql_mysql=OFF -DFEATURE_sql_ibase=OFF -DFEATURE_sql_oci=OFF -DFEATURE_sql_db2=OFF
    # Debian's source leaves out wintab.h.
    -DFEATURE_tabletevent=OFF
    # No Direct2D platform plugin: the windows plugin paints with GDI.
    -DFEATURE_direct2d=OFF
)
# Qt 6.4.2 refers to the DirectWrite font database from the windows platform plugin whenever
# directwrite3 is on, but Gui builds that database only when direct2d is on too.
patch_from='#if QT_CONFIG(directwrite3)'
patch_to='#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)'
patched=src/plugins/platforms/windows/qwindowsintegration.cpp

key=$( { echo "$qt_version"; printf '%s\n' "${options[@]}" "$patch_from" "$patch_to"; cat "$toolchain"; } |
    sha256sum | cut -c1-12)
prefix=$cache/qt-$qt_version-win64-static-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

say() { echo "[qt for windows] $*" >&2; }
started=$(date +%s)
say "building Qt $qt_version for Windows into $prefix (key $key); the first build takes tens of minutes"
mkdir -p "$cache"
work=$cache/qt-build-$key
rm -rf "$work" "$prefix"
mkdir -p "$work"
cd "$work"

# The sources: qt6-base, and sqlite3 for the amalgamation that Debian's qt6-base leaves out.
say "fetching the sources of qt6-base and sqlite3"
apt-get source -q qt6-base sqlite3 >source.log 2>&1 || { tail -n 20 source.log >&2; exit 1; }
qtsrc=$(find . -maxdepth 1 -type d -name 'qt6-base-*' | head -n 1)
sqlitesrc=$(find . -maxdepth 1 -type d -name 'sqlite3-*' | head -n 1)

say "making the SQLite amalgamation"
(cd "$sqlitesrc" && ./configure --disable-tcl >configure.log 2>&1 && make sqlite3.c >make.log 2>&1) ||
    { tail -n 20 "$sqlitesrc"/*.log >&2; exit 1; }
mkdir -p "$qtsrc/src/3rdparty/sqlite"
cp "$sqlitesrc"/sqlite3.c "$sqlitesrc"/sqlite3.h "$sqlitesrc"/sqlite3ext.h "$qtsrc/src/3rdparty/sqlite/"

sed -i "s/^$patch_from\$/$patch_to/" "$qtsrc/$patched"
grep -q 'QT_CONFIG(direct2d)' "$qtsrc/$patched"

# The toolchain file is kept with the installed Qt, whose own toolchain file loads it by its path.
mkdir -p "$prefix"
cp "$toolchain" "$prefix/mingw-w64-x86_64.cmake"
say "configuring"
cmake -S "$qtsrc" -B build -G Ninja -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-x86_64.cmake" \
    -DCMAKE_INSTALL_PREFIX="$prefix" -DQT_HOST_PATH=/usr \
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${options[@]}" >configure.log 2>&1 ||
    { tail -n 40 configure.log >&2; exit 1; }

# Progress every 50 steps, the whole log kept beside the build.
say "building ($jobs jobs; the log is $work/build.log)"
NINJA_STATUS='[%f/%t] ' ninja -C build -j"$jobs" >build.log 2>&1 &
ninja_pid=$!
while kill -0 "$ninja_pid" 2>/dev/null; do
    sleep 60
    step=$(grep -o '^\[[0-9]*/[0-9]*\]' build.log | tail -n 1)
    say "${step:-[starting]} after $(( ($(date +%s) - started) / 60 )) min"
done
wait "$ninja_pid" || { grep -B2 -A20 -m3 'FAILED\|error:' build.log >&2 || tail -n 40 build.log >&2; exit 1; }
ninja -C build install >install.log 2>&1 || { tail -n 40 install.log >&2; exit 1; }

touch "$prefix/.complete"
cd "$cache"
rm -rf "$work"
# A build made for other options or another version is no use any more: about 120 MB each.
for old in qt-*-win64-static-* qt-build-*; do
    [ -e "$old" ] && [ "$cache/$old" != "$prefix" ] && rm -rf "${cache:?}/$old"
done
say "done in $(( ($(date +%s) - started) / 60 )) min"
echo "$prefix"
