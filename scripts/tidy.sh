#!/usr/bin/env bash
# Runs clang-tidy with the checks of .clang-tidy over the project's own sources (the program,
# its tests, fuzz targets and benchmarks), reading the compiler flags from the
# compile_commands.json of a build folder, two files at a time at the lowest priority.
# Prints every finding and exits non-zero when there is one.
#
#   scripts/tidy.sh [BUILD] [REGEX]   BUILD: the build folder (default build; configured
#                                     when it has no compile_commands.json); REGEX: only the
#                                     source files whose full path it matches
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
folders='app|store|params|navigation|exchange|gridctrl|lang|platform|reports|fuzz|bench|tests'
files=${2:-"^$root/($folders)/.*\.cpp$"}

if [[ ! -f $build/compile_commands.json ]]; then
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi

log=$(mktemp)
trap 'rm -f "$log"' EXIT
# run-clang-tidy prints each file's findings whole; its own result says only whether
# clang-tidy could run, so the findings are counted from what it printed.
nice -n 19 run-clang-tidy -quiet -p "$build" -j2 "$files" 2>&1 |
    grep -v -E '^(clang-tidy-[0-9]+ |Running clang-tidy|[0-9]+ warnings? (and [0-9]+ errors? )?generated|Suppressed [0-9]+ warnings|Use -header-filter|Enabled checks:)' |
    tee "$log" || true
if grep -q -E '(warning|error):' "$log"; then
    echo "clang-tidy: $(grep -c -E '(warning|error):' "$log") finding(s)" >&2
    exit 1
fi
echo "clang-tidy: no findings"
