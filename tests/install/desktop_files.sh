#!/usr/bin/env bash
# Validates the desktop entry and the AppStream metainfo with the desktop's own validators
# when they are present (exit 77, skipped, when neither is), and checks that the two files,
# the icon theme folder and the program agree on the names the desktop matches them by.
#   desktop_files.sh <source folder> <build folder> <project version> <release date>
set -euo pipefail

source=$1
build=$2
version=$3
date=$4
id=org.ondrix.Velmora
desktop=$source/resources/$id.desktop
metainfo=$build/resources/$id.metainfo.xml
manpage=$build/resources/velmora.1
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

[ "$(tag id)" = "$id" ] || fail "the metainfo's id is $(tag id), not $id"
[ "$(tag launchable)" = "$id.desktop" ] ||
    fail "the metainfo launches $(tag launchable), not $id.desktop"
grep -q "setDesktopFileName(QStringLiteral(\"$id\"))" "$main_cpp" ||
    fail "the program does not name $id.desktop as its desktop file"
grep -q "setApplicationName(QStringLiteral(\"$(key StartupWMClass)\"))" "$main_cpp" ||
    fail "StartupWMClass=$(key StartupWMClass) is not the program's window class"
[ "$(key Icon)" = "$(tag icon)" ] || fail "desktop icon $(key Icon), metainfo icon $(tag icon)"
[ -f "$source/resources/hicolor/scalable/apps/$(key Icon).svg" ] ||
    fail "no scalable icon named $(key Icon)"
[ "$(grep -o '<release [^>]*>' "$metainfo" | head -n 1)" = "<release version=\"$version\" date=\"$date\">" ] ||
    fail "the newest release in the metainfo is not $version of $date"
head -n 1 "$manpage" | grep -qF "\"$date\" \"Velmora $version\"" ||
    fail "the man page names $(head -n 1 "$manpage"), not Velmora $version of $date"

[ "$status" -ne 0 ] && exit 1
[ "$validated" -eq 1 ] || { echo "desktop-file-validate and appstreamcli missing"; exit 77; }
