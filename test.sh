#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: once in the
# normal build and once under AddressSanitizer + UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh
# The packaging tools too, so that the package check (install/package) runs
# instead of skipping.
ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"

jobs=$(nproc)
status=0
for config in build build-asan; do
    extra=()
    [ "$config" = build-asan ] && extra=(-DVELMAR_SANITIZE=ON)
    cmake -S . -B "$config" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMAR_WERROR=ON "${extra[@]}" >/dev/null
    cmake --build "$config" -j "$jobs"
    echo "== tests in $config"
    (cd "$config" && ctest --output-on-failure -j "$jobs") || status=1
done
exit $status
