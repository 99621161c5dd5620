#!/usr/bin/env bash
# Installs what is missing, builds, and starts the panel.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}"

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMAR_WERROR=ON >/dev/null
cmake --build build -j "$(nproc)" --target velmar-controller

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display found: the panel needs one." >&2
    echo "Run it under a virtual X server:  apt-get install xvfb && xvfb-run -a ./run.sh" >&2
    exit 1
fi
exec ./build/velmar-controller "$@"
