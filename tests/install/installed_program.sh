#!/usr/bin/env bash
# Installs the build into a temporary prefix and starts the installed program from there with
# an empty home and data folder: it must find its language packs relative to itself and show
# its window. Where xvfb-run and xdotool are present it is also started under X: its window is
# looked for by title, its class compared with the desktop entry's, and it is closed by Ctrl+Q.
#   installed_program.sh <cmake> <build folder> <ON when built with dpkg-buildflags>
#   installed_program.sh --under-x <prefix>      (the X part, run inside xvfb-run)
set -euo pipefail

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    for log in "$work"/*.err; do
        [ -s "$log" ] && { echo "--- $log" >&2; cat "$log" >&2; }
    done
    exit 1
}

# Waits until the command succeeds, for at most about a minute.
wait_for() {
    for _ in $(seq 300); do
        "$@" && return 0
        sleep 0.2
    done
    return 1
}

# Starts <program> in the background with nothing of the caller's environment but PATH, the
# display and the sanitizers' options, an empty home whose data folder does not exist yet,
# from an empty folder.
# Its output goes to $work/<name>.out and .err; its process id to $started.
start_program() {
    local name=$1 program=$2 platform=$3
    mkdir -p "$work/$name/home" "$work/$name/cwd"
    mkdir -m 700 "$work/$name/runtime"
    (cd "$work/$name/cwd" && exec env -i PATH="$PATH" DISPLAY="${DISPLAY:-}" \
        XAUTHORITY="${XAUTHORITY:-}" HOME="$work/$name/home" XDG_RUNTIME_DIR="$work/$name/runtime" \
        VELMORA_DATA_DIR="$work/$name/home/data" QT_QPA_PLATFORM="$platform" \
        ASAN_OPTIONS="${ASAN_OPTIONS:-}" UBSAN_OPTIONS="${UBSAN_OPTIONS:-}" \
        LSAN_OPTIONS="${LSAN_OPTIONS:-}" \
        "$program" >"$work/$name.out" 2>"$work/$name.err") &
    started=$!
    pids+=("$started")
}

gone() { ! kill -0 "$1" 2>/dev/null; }

if [ "$1" = "--under-x" ]; then
    prefix=$2
    start_program x11 "$prefix/bin/velmora" xcb
    x11=$started
    # The data folder first: the message about a missing pack is titled "Velmora" as well.
    wait_for test -d "$work/x11/home/data" || fail "the installed program missed its packs"
    window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Velmora$' | head -n 1) ||
        fail "no window named Velmora appeared"
    wm_class=$(sed -n 's/^StartupWMClass=//p' "$prefix/share/applications/org.ondrix.Velmora.desktop")
    xprop -id "$window" WM_CLASS | grep -q "\"$wm_class\"" ||
        fail "$(xprop -id "$window" WM_CLASS) does not match StartupWMClass=$wm_class"
    xdotool windowfocus --sync "$window" key ctrl+q
    wait_for gone "$x11" || fail "Ctrl+Q did not close the program"
    wait "$x11" || fail "the program ended with status $?"
    [ -f "$work/x11/home/.config/Ondrix/Velmora.conf" ] ||
        fail "the window state was not kept at exit"
    exit 0
fi

cmake=$1
build=$2
hardened=${3:-OFF}
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" || fail "cmake --install"

for file in bin/velmora share/velmora/Velmora_ru.rcc share/velmora/Velmora_en.rcc \
    share/velmora/vmhelp.html share/velmora/printer_view.xslt share/velmora/ticket_view.xslt \
    share/velmora/Ondrix.ico share/applications/org.ondrix.Velmora.desktop \
    share/metainfo/org.ondrix.Velmora.metainfo.xml \
    share/icons/hicolor/scalable/apps/velmora.svg \
    share/icons/hicolor/{16x16,22x22,24x24,32x32,48x48,64x64,128x128,256x256}/apps/velmora.png \
    share/man/man1/velmora.1.gz share/doc/velmora/copyright \
    share/doc/velmora/changelog.Debian.gz; do
    [ -f "$prefix/$file" ] || fail "$file was not installed"
done

# Built as Debian builds its packages: position-independent, relocations read-only after
# start, stack protector and fortified calls; by hardening-check where it is installed and
# by hand in any case.
if [ "$hardened" = ON ]; then
    binary=$prefix/bin/velmora
    if command -v hardening-check >/dev/null; then
        # Only the features the flags give; newer checks (control flow) vary by release.
        hardening-check "$binary" >"$work/hardening.log" || true
        for feature in 'Position Independent Executable' 'Stack protected' \
            'Fortify Source functions' 'Read-only relocations' 'Immediate binding'; do
            grep -q "$feature: yes" "$work/hardening.log" ||
                fail "hardening-check: $(cat "$work/hardening.log")"
        done
    fi
    readelf -hW "$binary" | grep -Eq 'Type: +DYN' || fail "the program is not position-independent"
    dynamic=$(readelf -dW "$binary")
    grep -q 'Flags: .*PIE' <<<"$dynamic" || fail "the program is not a PIE"
    grep -Eq 'BIND_NOW|Flags: .*NOW' <<<"$dynamic" || fail "the program is not linked with -z now"
    readelf -lW "$binary" | grep -q GNU_RELRO || fail "the program has no RELRO segment"
    symbols=$(readelf --dyn-syms -W "$binary")
    grep -q '__stack_chk_fail' <<<"$symbols" || fail "the program has no stack protector"
    grep -Eq '__[a-z0-9_]+_chk(@| |$)' <<<"$symbols" || fail "the program calls no fortified function"
else
    echo "built without dpkg-buildflags: the hardening was not checked"
fi

# Offscreen: the data folder is made right after the start-up pack has loaded, so a data
# folder and a program still running mean the packs were found and the window went up.
start_program offscreen "$prefix/bin/velmora" offscreen
wait_for test -d "$work/offscreen/home/data" || fail "the installed program made no data folder"
gone "$started" && fail "the installed program ended at start-up"
grep -q "was not found" "$work/offscreen.err" && fail "the installed program missed its packs"

# The same executable without its data folder beside it must miss its packs, so the run
# above did not find them through some path of the build folder.
mkdir -p "$work/bare/bin"
cp "$prefix/bin/velmora" "$work/bare/bin/"
start_program bare "$work/bare/bin/velmora" offscreen
wait_for grep -Eq "Velmora_(ru|en).rcc was not found" "$work/bare.err" ||
    fail "a lone executable did not report its missing pack"
[ -d "$work/bare/home/data" ] && fail "a lone executable went on past its missing pack"

if command -v xvfb-run >/dev/null && command -v xdotool >/dev/null && command -v xprop >/dev/null
then
    xvfb-run -a -s "-screen 0 1280x900x24" bash "$0" --under-x "$prefix" ||
        fail "the installed program under X"
else
    echo "xvfb-run, xdotool or xprop missing: the window was not looked for under X"
fi
