#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo with the desktop's own validators
# when they are present (exit 77, skipped, when neither is), and checks that the two files,
# the icon theme folder and the program agree on the names the desktop matches them by.
#   desktop_files.sh <source folder> <project version>
set -euo pipefail

source=$1
version=$2
desktop=$source/resources/velmora.desktop
metainfo=$source/resources/org.ondrix.Velmora.metainfo.xml
status=0

fail() {
    echo "FAIL: $*" >&2
    status=1
}

validated=0
if command -v desktop-file-validate >/dev/null; then
    validated=1
    report=$(desktop-file-validate "$desktop" 2>&1) || fail "desktop-file-validate"
    [ -z "$report" ] || fail "desktop-file-validate: $report"
fi
if command -v appstreamcli >/dev/null; then
    validated=1
    appstreamcli validate --no-net --explain "$metainfo" || fail "appstreamcli validate"
fi

key() { sed -n "s/^$1=//p" "$desktop"; }
tag() { sed -n "s|.*<$1[^>]*>\\([^<]*\\)</$1>.*|\\1|p" "$metainfo" | head -n 1; }
main_cpp=$source/app/main.cpp

[ "$(tag launchable)" = velmora.desktop ] ||
    fail "the metainfo launches $(tag launchable), not velmora.desktop"
grep -q 'setDesktopFileName(QStringLiteral("velmora"))' "$main_cpp" ||
    fail "the program does not name velmora.desktop as its desktop file"
grep -q "setApplicationName(QStringLiteral(\"$(key StartupWMClass)\"))" "$main_cpp" ||
    fail "StartupWMClass=$(key StartupWMClass) is not the program's window class"
[ "$(key Icon)" = "$(tag icon)" ] || fail "desktop icon $(key Icon), metainfo icon $(tag icon)"
[ -f "$source/resources/hicolor/scalable/apps/$(key Icon).svg" ] ||
    fail "no scalable icon named $(key Icon)"
[ "$(grep -o '<release version="[^"]*"' "$metainfo" | head -n 1)" = "<release version=\"$version\"" ] ||
    fail "the newest release in the metainfo is not $version"

[ "$status" -ne 0 ] && exit 1
[ "$validated" -eq 1 ] || { echo "desktop-file-validate and appstreamcli missing"; exit 77; }
