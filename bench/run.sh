#!/usr/bin/env bash
# Builds the panel in Release mode and runs every benchmark: command latency
# on the serial line and on UDP, timer accuracy idle and with the other core
# busy, the receive path under a flood against CuteCom and GtkTerm, the CPU
# cost of a 115200-baud feed, start-up time, memory footprint and idle CPU.
# Prints one table and writes it, with the raw figures, to bench/results.json.
#
#   ./bench/run.sh [--soak-minutes N]   (default 2; 10 for the full soak)
#
# VELMAR_BENCH_DIR names another build folder than build-bench/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
. scripts/packages.sh

soak=2
while [ $# -gt 0 ]; do
    case "$1" in
        --soak-minutes)
            [ $# -ge 2 ] || { echo "--soak-minutes needs a number" >&2; exit 2; }
            soak=$2
            shift 2
            ;;
        -h | --help)
            sed -n '2,10p' "$0" | sed 's/^# \{0,1\}//'
            exit 0
            ;;
        *)
            echo "usage: ./bench/run.sh [--soak-minutes N]" >&2
            exit 2
            ;;
    esac
done

# The build, the virtual X server, the peers and the tools that drive them.
ensure_packages "${BUILD_PACKAGES[@]}" libx11-dev xvfb xdotool cutecom gtkterm python3

build="${VELMAR_BENCH_DIR:-build-bench}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DVELMAR_WERROR=ON -DVELMAR_BENCH=ON \
    -DVELMAR_TESTS=OFF >/dev/null
cmake --build "$build" -j 2 --target velmar-controller bench-panel bench-mapwatch modemshim \
    bench-timerref

exec python3 bench/harness.py --build "$build" --out "$root/bench/results.json" \
    --soak-minutes "$soak"
