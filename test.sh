#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test twice: once in the
# normal build and once under AddressSanitizer + UndefinedBehaviorSanitizer.
#
#   ./test.sh            everything, in build/ and build-asan/ (what CI runs)
#   ./test.sh --quick    the daily loop: build/ only, the slow soak left out
#   ./test.sh --quick -R config     ... and only the tests whose names match
#
# Arguments after --quick go to ctest.
set -euo pipefail
cd "$(dirname "$0")"
. scripts/packages.sh

configs=(build build-asan)
ctest_args=()
if [ "${1:-}" = "--quick" ]; then
    shift
    configs=(build)
    ctest_args=(-LE slow "$@")
elif [ $# -gt 0 ]; then
    echo "usage: ./test.sh [--quick [CTEST ARGUMENTS...]]" >&2
    exit 2
fi

# The packaging tools too, so that the package check (install/package) runs
# instead of skipping.
ensure_packages "${BUILD_PACKAGES[@]}" "${PACKAGING_PACKAGES[@]}"

jobs=$(nproc)
status=0
for config in "${configs[@]}"; do
    extra=()
    [ "$config" = build-asan ] && extra=(-DVELMAR_SANITIZE=ON)
    cmake -S . -B "$config" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVELMAR_WERROR=ON "${extra[@]}" >/dev/null
    cmake --build "$config" -j "$jobs"
    echo "== tests in $config"
    (cd "$config" && ctest --output-on-failure -j "$jobs" "${ctest_args[@]}") || status=1
done
exit $status
