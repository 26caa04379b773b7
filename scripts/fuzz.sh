#!/usr/bin/env bash
# Builds the fuzz targets with clang as libFuzzer programs under AddressSanitizer and
# UndefinedBehaviorSanitizer (own build folder), then runs each for a bounded time, starting
# from its seed corpus, and reports the executions per second. Findings (crash-*, leak-*,
# timeout-*) land in the run folder; a target with a finding makes the script exit 1.
#
# Usage: scripts/fuzz.sh [SECONDS_PER_TARGET=60] [TARGET...]
#   environment: FUZZ_BUILD_DIR (default build/fuzz), FUZZ_JOBS (build jobs, default 2)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
build=${FUZZ_BUILD_DIR:-build/fuzz}
all=(line_pipeline decimal properties preferences_xml remote_update control_chars)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

flags="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_COMPILE_WARNING_AS_ERROR=ON \
    -DTALLYRA_FUZZ=ON -DTALLYRA_BUILD_BENCH=OFF \
    -DCMAKE_C_FLAGS="$flags" -DCMAKE_CXX_FLAGS="$flags" \
    -DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" \
    -DCMAKE_SHARED_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
cmake --build "$build" -j"${FUZZ_JOBS:-2}" --target "${targets[@]/#/fuzz_}"

runs="$build/runs"
mkdir -p "$runs"
status=0
summary=()
for t in "${targets[@]}"; do
    work="$runs/$t"
    mkdir -p "$work/corpus"
    log="$work/fuzz.log"
    # The seed corpus stays read-only; new inputs go to the run's own corpus.
    (cd "$work" && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
        "../../bin/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 corpus "$OLDPWD/tests/fuzz/corpus/$t") >"$log" 2>&1 || true
    execs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || echo 0)
    cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | grep -o '[0-9]*' || echo 0)
    findings=$(find "$work" -maxdepth 1 \( -name 'crash-*' -o -name 'leak-*' -o -name 'timeout-*' \
        -o -name 'oom-*' \) | wc -l)
    if [ "$findings" -gt 0 ] || grep -q 'ERROR: \(AddressSanitizer\|libFuzzer\)\|runtime error:' "$log"; then
        status=1
        summary+=("$(printf '%-16s %10s execs %8s exec/s  cov %5s  FINDING (see %s)' \
            "$t" "$execs" "$rate" "$cov" "$log")")
    else
        summary+=("$(printf '%-16s %10s execs %8s exec/s  cov %5s  ok' "$t" "$execs" "$rate" "$cov")")
    fi
done
echo "fuzzing, ${seconds} s per target:"
printf '  %s\n' "${summary[@]}"
exit $status
