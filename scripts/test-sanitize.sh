#!/usr/bin/env bash
# Builds everything with address and undefined-behaviour sanitizers (no recovery: the first
# fault ends its test) into build-sanitize and runs the whole test suite with leak checks.
# Optional arguments go to ctest (for example -R store_tests).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-sanitize

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DVELMORA_SANITIZE=ON \
    -DVELMORA_BUILD_BENCH=OFF >/dev/null
nice -n 19 cmake --build "$build" -j2

export QT_QPA_PLATFORM=offscreen
# The strndup wrapper of GCC 12's runtime reads one byte past a string cut at its length,
# which libxkbcommon-x11 does for every key name; the X11 runs of the install test hit it.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_stack_use_after_return=1:intercept_strndup=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$root/scripts/lsan.supp:print_suppressions=0
nice -n 19 ctest --test-dir "$build" --output-on-failure "$@"
