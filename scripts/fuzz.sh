#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers) into
# build-fuzz and runs each for SECONDS, two at a time at the lowest priority. Prints the
# executions, the coverage (libFuzzer's "cov:") and the findings of every target; findings
# are kept in build-fuzz/fuzz-run/<target>/findings/, new inputs in .../corpus/.
set -euo pipefail
seconds=${1:?usage: scripts/fuzz.sh SECONDS}
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
targets=(register_load record_files field_text number_text printer_settings calibration_xml
    drive_import)

CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_FUZZ=ON -DVELMORA_BUILD_BENCH=OFF >/dev/null
nice -n 19 cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

run_one() {
    local name=$1 work=$build/fuzz-run/$1
    mkdir -p "$work/corpus" "$work/findings"
    # A finding ends the run of its target early; the summary below shows it.
    (cd "$work" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 nice -n 19 \
        "$build/fuzz/fuzz_$name" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -dict="$root/fuzz/dict/$name.dict" -artifact_prefix="$work/findings/" \
        "$work/corpus" "$root/fuzz/corpus/$name" >"$work/log" 2>&1) || true
}

for ((i = 0; i < ${#targets[@]}; i += 2)); do
    run_one "${targets[i]}" &
    if ((i + 1 < ${#targets[@]})); then run_one "${targets[i + 1]}" & fi
    wait
done

printf '%-18s %14s %8s %9s\n' target executions cov findings
for name in "${targets[@]}"; do
    work=$build/fuzz-run/$name
    runs=$(grep -o 'stat::number_of_executed_units: [0-9]*' "$work/log" | tail -1 | grep -o '[0-9]*$' || true)
    cov=$(grep -o 'cov: [0-9]*' "$work/log" | tail -1 | grep -o '[0-9]*$' || true)
    found=$(find "$work/findings" -type f | wc -l)
    printf '%-18s %14s %8s %9s\n' "$name" "${runs:-?}" "${cov:-?}" "$found"
    find "$work/findings" -type f -printf '    %p\n'
done
