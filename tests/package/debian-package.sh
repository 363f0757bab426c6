#!/usr/bin/env bash
# Usage: debian-package.sh BUILD_DIR PACKAGE_DIR SOURCE_DIR
# Makes the Debian package with cpack into PACKAGE_DIR and checks its control fields and contents,
# and that the programs, unpacked anywhere, find the applet beside themselves.
set -uo pipefail
build=$1
out=$2
source=$3
for tool in cpack:cmake dpkg-deb:dpkg dpkg-shlibdeps:dpkg-dev file:file; do
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
for needed in libc6 libqt6core6 qt6-qpa-plugins ${gui:+libqt6widgets6}; do
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
    usr/share/doc/zarnith/copyright)
if [ "$gui" ]; then
    expected+=(usr/bin/zarnith "$programdir/zarnith" "$programdir/help/index.html"
        usr/share/man/man1/zarnith.1.gz usr/share/applications/zarnith.desktop
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
for program in "$programdir"/zarnith-cli ${gui:+"$programdir/zarnith"}; do
    file "$root/$program" | grep -q ', stripped' || fail "/$program is not stripped"
done

# Unpacked elsewhere, the command-line tool still finds the applet beside itself.
applet=$("$root/usr/bin/zarnith-cli" resources "$source/docs/sample.loc" | head -n 1)
[ "$applet" = "$(readlink -f "$root/$programdir")/Zarnith.class" ] \
    || fail "the unpacked zarnith-cli looks for the applet at '$applet'"

[ "$failures" -eq 0 ] || exit 1
echo "package $(basename "$deb"): $(field Installed-Size) KiB installed, ${#expected[@]} files checked"
