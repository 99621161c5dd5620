#!/usr/bin/env bash
# Fuzzes every reader of bytes nobody controls for SECONDS each (default 60)
# with clang's libFuzzer under AddressSanitizer and UndefinedBehaviorSanitizer,
# then prints per target the executions and what was found.
#
# Inputs that reach new code are kept in build-fuzz/corpus/<target> (kept
# between runs, never committed); an input that shows a fault lands in
# build-fuzz/findings/<target>/. Replay one in the test build with
#   build/tests/fuzz-replay <target> <file>
# and commit it to tests/fuzz/corpus/<target>/ together with the fix.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
. scripts/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" clang libclang-rt-14-dev

# The library the readers live in is instrumented too, so that the fuzzer
# sees their branches.
flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
flags+=" -fno-omit-frame-pointer -g"
cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" -DVELMAR_FUZZ=ON >/dev/null
cmake --build build-fuzz --target fuzz-targets -j "$(nproc)"

mkdir -p build-fuzz/logs
stamp=build-fuzz/logs/.started
touch "$stamp"
found=0
rows=()
for exe in build-fuzz/fuzz/fuzz-*; do
    name=${exe##*/fuzz-}
    work=build-fuzz/corpus/$name
    findings=build-fuzz/findings/$name
    log=build-fuzz/logs/$name.log
    mkdir -p "$work" "$findings"
    echo "== fuzzing $name for $seconds s"
    # The first folder takes the new inputs; the committed seeds are only read.
    rc=0
    ASAN_OPTIONS=detect_leaks=1 "$exe" -max_total_time="$seconds" -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$findings/" \
        "$work" "tests/fuzz/corpus/$name" >"$log" 2>&1 || rc=$?
    count() { find "$findings" -newer "$stamp" -name "$1" | wc -l; }
    executions=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$log" | tail -n 1 |
        awk '{print $2}')
    crashes=$(($(count 'crash-*') + $(count 'oom-*')))
    hangs=$(count 'timeout-*')
    leaks=$(count 'leak-*')
    if [ "$rc" -ne 0 ] && [ $((crashes + hangs + leaks)) -eq 0 ]; then
        crashes="error (exit $rc)"
    fi
    [ "$rc" -ne 0 ] && found=1 && echo "   see $log"
    rows+=("$(printf '%-16s %12s %10s %6s %6s' "$name" "${executions:-?}" "$crashes" "$hangs" \
        "$leaks")")
done

echo
printf '%-16s %12s %10s %6s %6s\n' target executions crashes hangs leaks
printf '%s\n' "${rows[@]}"
exit $found
