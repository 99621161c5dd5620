#!/usr/bin/env bash
# Builds the panel in Release mode and measures the Videohub server (16
# clients routing once a second), the event log (115200 baud and a flood,
# the log on and off), a route through the arbiter against the program as it
# was before its locks, four tours for 10 minutes, 20 browser clients for
# 60 s and a flood of 1,000 commands a second on the message bus. Writes
# bench/results-extras.json (the figures of parts not run are kept).
#
#   ./bench/run-extras.sh [--seconds N] [--size-minutes M] [--short]
#                         [--only videohub eventlog locks tours web bus]
#
# --short runs locks, tours, web and bus for a short while, to try them out.
# VELMAR_BENCH_DIR names another build folder than build-bench/;
# VELMAR_BENCH_BEFORE where the program before its locks is checked out and
# built (default: bench-before beside the repository).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/packages.sh
# The browser clients speak WebSocket with python3-websockets; the bus is
# flooded and read with python3-paho-mqtt on Debian's mosquitto.
ensure_packages "${BUILD_PACKAGES[@]}" python3 python3-websockets python3-paho-mqtt mosquitto
build="${VELMAR_BENCH_DIR:-build-bench}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON -DVELMAR_BENCH=ON \
    -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target velmar-controller bench-panel
# Debian's Python, which the packages above are for (another python3 may come
# first in PATH).
python=/usr/bin/python3
[ -x "$python" ] || python=python3
exec "$python" bench/extras.py --build "$build" --out "$root/bench/results-extras.json" "$@"
