#!/usr/bin/env bash
# The Windows programs under Wine, end to end, as a Windows user would meet them. Each check runs in
# a Wine prefix of its own (a fresh "C:" with its own user), made in a temporary folder and removed
# afterwards; exit 77 says that a check cannot run here, and why.
#
#   windows.sh rcon KORVANE-RCON.EXE            against a real openarena-server on loopback
#   windows.sh window KORVANE.EXE LANGDIR SHOTS the main window on a screen, a screenshot in SHOTS
#   windows.sh zip ZIP VERSION                  the portable zip: its files, and the programs run from it
#   windows.sh installer SETUP.EXE              install silently, start installed, uninstall
set -euo pipefail

wine=${KORVANE_WINE:-/usr/lib/wine/wine64}
[ -x "$wine" ] || { echo "SKIPPED: Wine is missing (scripts/windows/install-deps.sh installs it)"; exit 77; }
export WINEDEBUG=-all
work=$(mktemp -d)
export WINEPREFIX=$work/prefix
server_pid=
xvfb_pid=
cleanup() {
    [ -z "$server_pid" ] || kill "$server_pid" 2>/dev/null || true
    [ ! -d "$WINEPREFIX" ] || /usr/lib/wine/wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAILED: $*" >&2
    exit 1
}

# A new prefix, ready once its wineserver has settled. Fonts with the metrics of Arial and a sans serif
# for Verdana stand in for the Windows fonts that Wine does not have.
new_prefix() {
    "$wine" wineboot -i >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
    local key='HKCU\Software\Wine\Fonts\Replacements'
    "$wine" reg add "$key" /v Arial /d "Liberation Sans" /f >/dev/null 2>&1
    "$wine" reg add "$key" /v Verdana /d "DejaVu Sans" /f >/dev/null 2>&1
    /usr/lib/wine/wineserver -w
}

# A screen of its own, for the window program; the prefix is made on it, since Wine's display driver
# is chosen when the prefix's wineserver starts. Xvfb takes a free display number itself and says which.
start_screen() {
    command -v Xvfb >/dev/null || { echo "SKIPPED: Xvfb is missing"; exit 77; }
    Xvfb -displayfd 5 -screen 0 1280x800x24 -nolisten tcp 5>"$work/display" >/dev/null 2>&1 &
    xvfb_pid=$!
    local display=
    for _ in $(seq 100); do
        display=$(head -n 1 "$work/display" 2>/dev/null)
        [ -n "$display" ] && break
        sleep 0.1
    done
    [ -n "$display" ] || fail "Xvfb did not start"
    export DISPLAY=:$display
    for _ in $(seq 50); do
        xdpyinfo >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "Xvfb did not answer on $DISPLAY"
}

# Waits up to 30 s for a top-level window with this title; prints its id.
wait_for_window() {
    local id
    for _ in $(seq 60); do
        id=$(xwininfo -root -tree 2>/dev/null | grep -F " \"$1\": (" | awk '{ print $1; exit }')
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.5
    done
    return 1
}

check_rcon() {
    local exe=$1 server=/usr/games/openarena-server
    [ -x "$server" ] || { echo "SKIPPED: openarena-server is missing (scripts/install-deps.sh installs it)"; exit 77; }
    new_prefix
    # The server takes the next free port when the one asked for is busy, and says which it opened.
    local port=$((27960 + RANDOM % 20000))
    "$server" +set fs_homepath "$work/home" +set net_enabled 1 +set net_ip 127.0.0.1 +set net_port "$port" \
        +set dedicated 1 +set rconpassword korvane-e2e +set sv_hostname "^1Korvane test" +map oa_dm1 \
        >"$work/server.log" 2>&1 &
    server_pid=$!
    # Ready once it answers the status probe; asked once a second for half a minute at most.
    local ready=
    for _ in $(seq 30); do
        port=$(sed -n 's/^Opening IP socket: 127\.0\.0\.1:\([0-9]*\).*/\1/p' "$work/server.log" | head -n 1)
        if [ -n "$port" ]; then
            exec 3<>"/dev/udp/127.0.0.1/$port"
            printf '\377\377\377\377getstatus' >&3
            if IFS= read -r -t 1 -d '' answer <&3 || [ -n "${answer:-}" ]; then
                ready=yes
                exec 3<&-
                break
            fi
            exec 3<&-
        else
            sleep 1
        fi
    done
    [ -n "$ready" ] || fail "openarena-server did not answer: $(tail -n 5 "$work/server.log")"

    local out status
    status=0
    out=$(KORVANE_RCON_PASSWORD=korvane-e2e "$wine" "$exe" -s "127.0.0.1:$port" say hello from ^2korvane) ||
        status=$?
    echo "korvane-rcon.exe say hello from ^2korvane: exit $status, printed: $out"
    [ "$status" -eq 0 ] && [ "$out" = "console: hello from korvane" ] || fail "the command was not answered as expected"

    status=0
    out=$(KORVANE_RCON_PASSWORD=wrong "$wine" "$exe" -s "127.0.0.1:$port" status 2>&1) || status=$?
    echo "korvane-rcon.exe with a wrong password: exit $status, printed: $out"
    [ "$status" -eq 3 ] || fail "a wrong password did not exit 3"
}

check_window() {
    local exe=$1 lang=$2 shots=$3
    start_screen
    new_prefix
    # Portable, the language remembered: the main window comes at once.
    mkdir -p "$work/Korvane/lang" "$shots"
    cp "$exe" "$work/Korvane/"
    cp "$lang"/*.lang "$work/Korvane/lang/"
    printf '[lang]\r\nDefault=english\r\nChecked=True\r\n' >"$work/Korvane/settings.ini"
    (cd "$work/Korvane" && exec "$wine" korvane.exe) >"$work/korvane.log" 2>&1 &
    local id
    id=$(wait_for_window Korvane) || fail "no window titled Korvane appeared: $(tail -n 5 "$work/korvane.log")"
    sleep 2 # painted
    import -window "$id" "$shots/main-window-wine.png"
    echo "the main window appeared (X window $id); screenshot: $shots/main-window-wine.png"
    # The settings file is as it was: showing the window writes nothing.
    [ "$(cat "$work/Korvane/settings.ini")" = "$(printf '[lang]\r\nDefault=english\r\nChecked=True\r\n')" ] ||
        fail "settings.ini changed"
}

check_zip() {
    local zip=$1 version=$2
    [ -f "$zip" ] || fail "$zip is missing: build the windows_zip target"
    local name
    name=$(basename "$zip" .zip)
    local expected listed
    expected=$(printf '%s\n' LICENSE README.txt korvane-rcon.exe korvane.exe lang/ lang/dutch.lang \
        lang/english.lang lang/french.lang lang/german.lang | sed "s|^|$name/|")
    listed=$(unzip -Z1 "$zip" | grep -v '/$' | sort)
    [ "$listed" = "$(echo "$expected" | grep -v '/$' | sort)" ] || fail "the zip holds:\n$listed"
    unzip -q "$zip" -d "$work"
    new_prefix
    local out
    out=$(cd "$work/$name" && "$wine" korvane-rcon.exe --version)
    [ "$out" = "korvane-rcon $version" ] || fail "korvane-rcon.exe --version printed: $out"
    out=$(cd "$work/$name" && "$wine" korvane.exe --help)
    echo "$out" | grep -q 'portable mode' || fail "korvane.exe --help from the zip did not say portable mode:\n$out"
    echo "the zip holds its nine files, and runs from where it is unpacked (portable mode)"
}

check_installer() {
    local setup=$1
    [ -f "$setup" ] || fail "$setup is missing: run cpack in the build folder"
    start_screen
    new_prefix
    local drive=$WINEPREFIX/drive_c
    local folder="$drive/Program Files/Korvane"
    "$wine" "$setup" /S
    /usr/lib/wine/wineserver -w
    local file
    for file in bin/korvane.exe bin/korvane-rcon.exe share/korvane/lang/english.lang share/korvane/lang/dutch.lang \
        LICENSE Uninstall.exe; do
        [ -f "$folder/$file" ] || fail "the installer did not put $file into Program Files\\Korvane"
    done
    [ ! -e "$folder/bin/lang" ] || fail "the installed program would be portable"
    find "$drive" -name 'Korvane.lnk' | grep -q 'Start Menu' || fail "no Start-menu shortcut"
    "$wine" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Korvane' >/dev/null 2>&1 ||
        fail "no entry under the installed programs"
    echo "installed into C:\\Program Files\\Korvane: $(cd "$folder" && find . -type f | sort | tr '\n' ' ')"

    # Started from there, it is in installed mode: the language chooser, and the choice kept in the
    # user's roaming application data.
    local help
    help=$("$wine" 'C:\Program Files\Korvane\bin\korvane.exe' --help)
    echo "$help" | grep -q 'installed mode' || fail "korvane.exe --help did not say installed mode:\n$help"
    ("$wine" 'C:\Program Files\Korvane\bin\korvane.exe' >"$work/korvane.log" 2>&1 &)
    local id
    id=$(wait_for_window 'Select Language') || fail "the language chooser did not appear"
    sleep 1
    # Keyboard only: the first language takes the focus; Tab leaves the language group for the
    # remember box, then the load button.
    xdotool windowactivate --sync "$id" key --delay 200 space Tab space Tab space >/dev/null 2>&1 ||
        xdotool windowfocus --sync "$id" key --delay 200 space Tab space Tab space
    wait_for_window Korvane >/dev/null || fail "the main window did not come after the chooser"
    local appdata
    appdata=$(find "$drive/users" -maxdepth 4 -type d -path '*/AppData/Roaming/korvane' | head -n 1)
    [ -n "$appdata" ] && [ -f "$appdata/settings.ini" ] || fail "no settings.ini in the user's application data"
    echo "settings written to ${appdata#"$drive/"}/settings.ini: $(tr -d '\r' <"$appdata/settings.ini" | tr '\n' ' ')"
    "$wine" taskkill /f /im korvane.exe >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w

    "$wine" 'C:\Program Files\Korvane\Uninstall.exe' /S
    /usr/lib/wine/wineserver -w
    sleep 2 # the uninstaller runs on from a copy of itself
    /usr/lib/wine/wineserver -w
    local left
    left=$(find "$folder" -type f 2>/dev/null | sort || true)
    [ -z "$left" ] || fail "uninstalling left: $left"
    [ -f "$appdata/settings.ini" ] || fail "uninstalling removed the user's settings"
    echo "uninstalled: Program Files\\Korvane is gone; the user's settings stay in ${appdata#"$drive/"}"
}

command=$1
shift
case $command in
rcon) check_rcon "$@" ;;
window) check_window "$@" ;;
zip) check_zip "$@" ;;
installer) check_installer "$@" ;;
*) fail "unknown check $command" ;;
esac
