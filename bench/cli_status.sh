#!/usr/bin/env bash
# Times `korvane-rcon --status` as a whole process against a real openarena-server on loopback, in one
# hyperfine run with `quakestat -q3s` (package qstat) and the smallest Qt program that sends the same
# probe (minimal_status_probe). The server answers one status request a second per address after the
# first ten, so every timed run is preceded by an untimed pause of 1.1 s.
#
#   bench/cli_status.sh [BUILD_FOLDER] [RUNS]      (defaults: build/bench, 20)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/bench}
runs=${2:-20}
server=/usr/games/openarena-server

for tool in hyperfine quakestat "$server"; do
    command -v "$tool" >/dev/null || { echo "missing $tool: apt-get install hyperfine qstat openarena-server" >&2; exit 1; }
done
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target korvane-rcon minimal_status_probe -j2 >/dev/null

# A free UDP port on loopback.
port=
while [ -z "$port" ]; do
    candidate=$((20000 + RANDOM % 20000))
    ss -Hlun "sport = :$candidate" | grep -q . || port=$candidate
done

home=$(mktemp -d)
HOME=$home "$server" +set fs_homepath "$home" +set net_enabled 1 +set net_ip 127.0.0.1 +set net_port "$port" \
    +set dedicated 1 +set sv_master1 "" +map oa_dm1 +addbot sarge >"$home/server.log" 2>&1 &
pid=$!
trap 'kill "$pid"; wait "$pid" 2>/dev/null; rm -rf "$home"' EXIT

for _ in $(seq 30); do
    "$build/bin/minimal_status_probe" 127.0.0.1 "$port" >/dev/null && break
    sleep 1
done
sleep 1.1

hyperfine --shell=none --runs "$runs" --warmup 2 --prepare 'sleep 1.1' \
    --command-name 'korvane-rcon --status' "$build/bin/korvane-rcon -s 127.0.0.1:$port --status" \
    --command-name 'quakestat -q3s' "quakestat -q3s 127.0.0.1:$port" \
    --command-name 'minimal_status_probe' "$build/bin/minimal_status_probe 127.0.0.1 $port"
