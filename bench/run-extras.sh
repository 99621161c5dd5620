#!/usr/bin/env bash
# Builds the panel in Release mode and measures the Videohub server (16
# clients routing once a second) and the event log (115200 baud and a flood,
# the log on and off). Writes bench/results-extras.json.
#
#   ./bench/run-extras.sh [--seconds N] [--size-minutes M] [--only videohub|eventlog]
#
# VELMAR_BENCH_DIR names another build folder than build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" python3
build="${VELMAR_BENCH_DIR:-build-bench}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON -DVELMAR_BENCH=ON \
    -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target velmar-controller
exec python3 bench/extras.py --build "$build" --out "$root/bench/results-extras.json" "$@"
