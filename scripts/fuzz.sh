#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, address and undefined-behaviour sanitizers) into
# build-fuzz and runs each for SECONDS, two at a time at the lowest priority. Prints the
# executions, the coverage (libFuzzer's "cov:") and the findings of every target; findings
# are kept in build-fuzz/fuzz-run/<target>/findings/, new inputs in .../corpus/.
#
#   scripts/fuzz.sh SECONDS [TARGET...]   run all targets, or the ones named
#
# Options given to every target: -max_total_time (SECONDS), -timeout=10 (an input that runs
# longer is a finding), -dict (fuzz/dict/<target>.dict). drive_import also gets
# -max_len=512 -len_control=0: its inputs describe whole folder trees, and libFuzzer would
# otherwise grow them only slowly from the short seeds.
#
# After the runs every target's new inputs are merged (-merge=1: only inputs that add
# coverage are kept) into its checked-in corpus, fuzz/corpus/<target>/, which the normal test
# run replays; commit what the merge added.
set -euo pipefail
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
targets=(register_load record_files field_text number_text printer_settings calibration_xml
    drive_import)
if (($# > 0)); then targets=("$@"); fi

options() {
    case $1 in
    drive_import) echo -max_len=512 -len_control=0 ;;
    esac
}

CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVELMORA_FUZZ=ON -DVELMORA_BUILD_BENCH=OFF >/dev/null
nice -n 19 cmake --build "$build" -j2 --target "${targets[@]/#/fuzz_}"

run_one() {
    local name=$1 work=$build/fuzz-run/$1
    mkdir -p "$work/corpus" "$work/findings"
    # A finding ends the run of its target early; the summary below shows it.
    (cd "$work" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 nice -n 19 \
        "$build/fuzz/fuzz_$name" $(options "$name") -max_total_time="$seconds" -timeout=10 \
        -print_final_stats=1 \
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

for name in "${targets[@]}"; do
    work=$build/fuzz-run/$name
    (cd "$work" && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 nice -n 19 \
        "$build/fuzz/fuzz_$name" $(options "$name") -merge=1 -timeout=10 \
        "$root/fuzz/corpus/$name" "$work/corpus" >"$work/merge.log" 2>&1) ||
        echo "merge of $name failed: see $work/merge.log"
done
