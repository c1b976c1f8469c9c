#!/usr/bin/env bash
# Packaging checks, run by CTest. Exit 77 marks a check skipped for want of a tool.
#   packaging.sh validate <tool> <args...>  desktop-file-validate or appstreamcli on a file
#   packaging.sh install <build> <version> <id> <with korvane-rcon: 0|1>
#       `cmake --install` into a DESTDIR staging folder lays out exactly the expected files, and the
#       staged program answers --version and reads its language files from the staged prefix.
set -euo pipefail

if [ "$1" = validate ]; then
    if ! command -v "$2" >/dev/null; then
        echo "SKIPPED: $2 is not installed (desktop-file-utils, appstream)"
        exit 77
    fi
    exec "${@:2}"
fi

build=$2 version=$3 id=$4 with_rcon=$5
stage=$(mktemp -d)
pid=
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$stage"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

DESTDIR=$stage/root cmake --install "$build" --prefix /usr >/dev/null
program=$stage/root/usr/bin/korvane

answer=$("$program" --version)
[ "$answer" = "korvane $version" ] || fail "--version answered '$answer'"
grep -q "<release version=\"$version\"" "$stage/root/usr/share/metainfo/$id.metainfo.xml" ||
    fail "the AppStream metadata has no release $version"

# The staged program with a remembered language, in user folders of its own and without a display.
config=$stage/config
mkdir -p "$config/korvane"
printf '[lang]\r\nDefault=french\r\nChecked=True\r\n' >"$config/korvane/settings.ini"
export XDG_CONFIG_HOME=$config XDG_DATA_HOME=$stage/data XDG_CACHE_HOME=$stage/cache QT_QPA_PLATFORM=offscreen
"$program" --help | grep -qxF "  language files  $stage/root/usr/share/korvane/lang" ||
    fail "--help names another language folder"

# Whether it reads its captions from the staged language files shows in its file accesses.
languages=checked
if command -v strace >/dev/null && strace -qq -o /dev/null true 2>/dev/null; then
    strace -f -qq -e trace=openat -e status=successful -o "$stage/trace" \
        sh -c 'echo $$ >"$0"; exec "$1"' "$stage/pid" "$program" 2>/dev/null &
    read_french() { grep -qF "\"$stage/root/usr/share/korvane/lang/french.lang\", O_RDONLY" "$stage/trace" 2>/dev/null; }
    for _ in $(seq 300); do
        [ -s "$stage/pid" ] && read_french && break
        sleep 0.1
    done
    pid=$(cat "$stage/pid")
    read_french || fail "the staged program did not read $stage/root/usr/share/korvane/lang/french.lang"
    kill "$pid"
    wait || true
    pid=
else
    languages="SKIPPED: strace is missing or cannot trace here, so reading the language files was not checked"
fi

# Listed after the run: it wrote nothing into the prefix either.
expected=(
    usr/bin/korvane
    usr/share/applications/$id.desktop
    usr/share/doc/korvane/changelog.gz
    usr/share/doc/korvane/copyright
    usr/share/icons/hicolor/128x128/apps/$id.png
    usr/share/icons/hicolor/256x256/apps/$id.png
    usr/share/icons/hicolor/48x48/apps/$id.png
    usr/share/icons/hicolor/scalable/apps/$id.svg
    usr/share/korvane/lang/dutch.lang
    usr/share/korvane/lang/english.lang
    usr/share/korvane/lang/french.lang
    usr/share/korvane/lang/german.lang
    usr/share/man/man1/korvane.1.gz
    usr/share/metainfo/$id.metainfo.xml
)
[ "$with_rcon" = 1 ] && expected+=(usr/bin/korvane-rcon)
diff -u <(printf '%s\n' "${expected[@]}" | LC_ALL=C sort) <(cd "$stage/root" && find . ! -type d | cut -c3- | LC_ALL=C sort) ||
    fail "the installed files differ from the expected ones (- expected, + installed)"

[ "$languages" = checked ] || { echo "$languages"; exit 77; }
echo "PASS"
