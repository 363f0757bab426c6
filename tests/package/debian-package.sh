#!/usr/bin/env bash
# Usage: debian-package.sh BUILD_DIR PACKAGE_DIR SOURCE_DIR
# Makes the Debian package with cpack into PACKAGE_DIR and checks its control fields, contents and
# documentation, that lintian finds nothing but what the overrides name with their reasons, and
# that the programs, unpacked anywhere, find the applet beside themselves.
set -uo pipefail
build=$1
out=$2
source=$3
for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file readelf:binutils lintian:lintian; do
    if ! command -v "${tool%%:*}" >/dev/null; then
        echo "SKIPPED: ${tool%%:*} is not installed (Debian package ${tool#*:})"
        exit 77
    fi
done

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

rm -rf "$out"
mkdir -p "$out"
if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
    cat "$out/cpack.log"
    exit 1
fi
debs=("$out"/zarnith_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || { echo "FAIL: not one package in $out"; exit 1; }
deb=${debs[0]}
gui=$([ -x "$build/zarnith" ] && echo yes)
plugin=$([ -f "$build/libzarnith_webpreview.so" ] && echo yes)
audio=$([ -f "$build/libzarnith_audio.so" ] && echo yes)

# Control fields: the version is the one the program reports.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = zarnith ] || fail "Package is '$(field Package)'"
reported=$("$build/zarnith-cli" --version)
version=$(sed -E 's/^[^ ]+ ([^ ]+) \(build (.+)\)$/\1+build\2/' <<<"$reported")
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', the program says '$reported'"
[ "$(field Architecture)" = "$(dpkg --print-architecture)" ] || fail "Architecture is '$(field Architecture)'"
depends=$(field Depends)
for needed in libc6 libqt6core6 qt6-qpa-plugins ${gui:+libqt6widgets6 libqt6httpserver6}; do
    grep -qE "(^|, )$needed( |,|\$)" <<<"$depends" || fail "Depends lacks $needed: $depends"
done
grep -q webengine <<<"$depends" && fail "Depends holds the optional web engine: $depends"
grep -q multimedia <<<"$depends" && fail "Depends holds the optional sound output: $depends"
for recommended in fonts-liberation ${plugin:+libqt6webenginewidgets6} ${audio:+libqt6multimedia6}; do
    grep -q "$recommended" <<<"$(field Recommends)" || fail "Recommends lacks $recommended"
done
# Nothing is written beside the program, so there is nothing for a maintainer script to clean.
scripts=$(dpkg-deb --ctrl-tarfile "$deb" | tar -t | grep -E 'inst$|rm$')
[ -z "$scripts" ] || fail "the package has maintainer scripts: $scripts"

# Contents: everything expected, nothing else.
root=$out/root
dpkg-deb -x "$deb" "$root"
programdir=$(realpath --relative-to="$root" "$(readlink -f "$root/usr/bin/zarnith-cli")")
programdir=${programdir%/zarnith-cli}
expected=(usr/bin/zarnith-cli "$programdir/zarnith-cli" "$programdir/Zarnith.class"
    usr/share/man/man1/zarnith-cli.1.gz usr/share/bash-completion/completions/zarnith-cli
    usr/share/doc/zarnith/copyright usr/share/doc/zarnith/changelog.gz
    usr/share/doc/zarnith/examples/sample.loc usr/share/lintian/overrides/zarnith)
if [ "$gui" ]; then
    expected+=(usr/bin/zarnith "$programdir/zarnith" "$programdir/libzarnith_previewserver.so"
        "$programdir/help/index.html"
        usr/share/man/man1/zarnith.1.gz usr/share/applications/example.velto.zarnith.desktop
        usr/share/mime/packages/zarnith.xml usr/share/metainfo/example.velto.zarnith.metainfo.xml
        usr/share/icons/hicolor/scalable/apps/zarnith.svg
        usr/share/icons/hicolor/scalable/mimetypes/application-x-zarnith-project.svg
        usr/share/icons/hicolor/48x48/mimetypes/application-x-zarnith-project.png)
    for size in 16 32 48 64 128 256; do
        expected+=("usr/share/icons/hicolor/${size}x$size/apps/zarnith.png")
    done
fi
[ "$plugin" ] && expected+=("$programdir/libzarnith_webpreview.so")
[ "$audio" ] && expected+=("$programdir/libzarnith_audio.so")
for path in "${expected[@]}"; do
    [ -e "$root/$path" ] || fail "the package lacks /$path"
done
unexpected=$(cd "$root" && find . \( -type f -o -type l \) | sed 's,^\./,,' \
    | grep -vxF -f <(printf '%s\n' "${expected[@]}"))
[ -z "$unexpected" ] || fail "the package holds files it should not:"$'\n'"$unexpected"
# The metadata as installed: the desktop entry and icons it names are there.
if [ "$gui" ] && command -v appstreamcli >/dev/null; then
    appstreamcli validate-tree --no-net "$root" >"$out/validate-tree.log" 2>&1 \
        || fail "the installed metadata does not validate:"$'\n'"$(cat "$out/validate-tree.log")"
fi
# The desktop entry is named by the component id, and starts only where its program is.
if [ "$gui" ]; then
    metainfo=$(echo "$root"/usr/share/metainfo/*.metainfo.xml)
    id=$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo")
    entries=$(ls "$root/usr/share/applications")
    [ "$entries" = "$id.desktop" ] || fail "the desktop entries are '$entries', the component id '$id'"
    grep -qF "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" \
        || fail "the metadata launches no $id.desktop"
    tryexec=$(sed -n 's/^TryExec=//p' "$root/usr/share/applications/$id.desktop")
    [ -n "$tryexec" ] && [ -e "$root/usr/bin/$tryexec" ] || fail "TryExec '$tryexec' is no program in /usr/bin"
fi

# Built as Debian builds: stripped, and with the relocations bound at start-up (BIND_NOW).
for binary in "$programdir"/zarnith-cli ${gui:+"$programdir/zarnith" "$programdir/libzarnith_previewserver.so"} \
    ${plugin:+"$programdir/libzarnith_webpreview.so"} ${audio:+"$programdir/libzarnith_audio.so"}; do
    file "$root/$binary" | grep -q ', stripped' || fail "/$binary is not stripped"
    readelf -d "$root/$binary" | grep -q BIND_NOW || fail "/$binary is not linked with BIND_NOW"
done

# The documentation Debian asks for: a changelog whose latest entry is this version, and a
# copyright file in the machine-readable format.
doc=$root/usr/share/doc/zarnith
gzip -dc "$doc/changelog.gz" >"$out/changelog"
changelog_version=$(dpkg-parsechangelog -l "$out/changelog" -S Version 2>&1)
[ "$changelog_version" = "$(field Version)" ] \
    || fail "the changelog's latest entry is '$changelog_version', the package '$(field Version)'"
copyright_problems=$(python3 "$(dirname "$0")/check-copyright.py" "$doc/copyright")
[ -z "$copyright_problems" ] || fail "the copyright file: $copyright_problems"

# lintian, as Debian runs it on its own packages and at every level, finds nothing but what the
# overrides name, and every override gives its reason in a comment above it.
overrides=$root/usr/share/lintian/overrides/zarnith
undocumented=$(awk '/^#/ { reason = 1; next } /^$/ { reason = 0; next } !reason' "$overrides")
[ -z "$undocumented" ] || fail "lintian overrides without a reason:"$'\n'"$undocumented"
lintian --fail-on none --tag-display-limit 0 --display-info --display-experimental --pedantic \
    "$deb" >"$out/lintian.log" 2>&1 || fail "lintian did not run:"$'\n'"$(cat "$out/lintian.log")"
tags=$(grep -E '^[A-Z]: ' "$out/lintian.log")
[ -z "$tags" ] || fail "lintian finds:"$'\n'"$tags"

# Unpacked elsewhere, the command-line tool still finds the applet beside itself.
applet=$("$root/usr/bin/zarnith-cli" resources "$source/docs/sample.loc" | head -n 1)
[ "$applet" = "$(readlink -f "$root/$programdir")/Zarnith.class" ] \
    || fail "the unpacked zarnith-cli looks for the applet at '$applet'"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb"): $(field Installed-Size) KiB installed, ${#expected[@]} files checked"
