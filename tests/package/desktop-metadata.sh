#!/usr/bin/env bash
# Usage: desktop-metadata.sh BUILD_SHARE_DIR SCREENSHOT_DIR
# The desktop entry and the AppStream metadata pass their validators (without network), and every
# screenshot the metadata shows is one of the program's screenshots.
set -uo pipefail
share=$1
screenshots=$2
for tool in appstreamcli:appstream desktop-file-validate:desktop-file-utils; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        echo "SKIPPED: ${tool%%:*} is not installed (Debian package ${tool#*:})"
        exit 77
    fi
done

failures=0
metainfo=$(echo "$share"/*.metainfo.xml)
id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
desktop-file-validate "$share/$id.desktop" || failures=$((failures + 1))
appstreamcli validate --no-net --explain "$metainfo" || failures=$((failures + 1))
images=$(grep -o '<image>[^<]*</image>' "$metainfo" | sed 's,</image>,,; s,.*/,,')
[ -n "$images" ] || { echo "FAIL: the metadata shows no screenshot"; failures=$((failures + 1)); }
for image in $images; do
    [ -f "$screenshots/$image" ] || { echo "FAIL: no screenshot $image in $screenshots"; failures=$((failures + 1)); }
done
[ "$failures" -eq 0 ] || exit 1
echo "desktop entry and metadata valid"
