#!/usr/bin/env bash
# Usage: debian-package-install.sh PACKAGE_DIR SOURCE_DIR
# Installs the package made by debian-package.sh with apt-get, runs the installed programs on the
# sample project (generate, publish, the window on its Preview page under Xvfb), and purges the
# package and whatever apt brought with it, so that the machine is left as it was.
set -uo pipefail
package_dir=$1
source=$2
skip() {
    echo "SKIPPED: $*"
    exit 77
}
[ "$EUID" -eq 0 ] || skip "installing the package needs root"
command -v apt-get >/dev/null || skip "apt-get is not available"
command -v xvfb-run >/dev/null || skip "xvfb-run is not installed (Debian package xvfb)"
debs=("$package_dir"/zarnith_*.deb)
[ -f "${debs[0]}" ] || { echo "FAIL: no package in $package_dir"; exit 1; }
deb=${debs[0]}

# One such test at a time on a machine; a zarnith installed by someone else stays untouched.
exec 9>/var/lock/zarnith-package-install-test.lock
flock -w 600 9 || { echo "FAIL: another package install test holds the lock"; exit 1; }
if dpkg-query -W -f='${Status}' zarnith 2>/dev/null | grep -q ' installed$'; then
    skip "zarnith is already installed on this machine, and the test would replace it"
fi

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
export DEBIAN_FRONTEND=noninteractive
apt_options=(-y -q -o DPkg::Lock::Timeout=300)
work=$(mktemp -d)
brought=$(apt-get install -s "$deb" 2>/dev/null | awk '$1 == "Inst" && $2 != "zarnith" { print $2 }')
purge() {
    apt-get purge "${apt_options[@]}" zarnith $brought >"$work/purge.log" 2>&1 || cat "$work/purge.log"
}
trap 'purge; rm -rf "$work"' EXIT
[ -z "$brought" ] || echo "apt brings along, and the test removes again: $brought"
if ! apt-get install "${apt_options[@]}" "$deb" >"$work/install.log" 2>&1; then
    cat "$work/install.log"
    exit 1
fi
installed=$(dpkg-query -L zarnith)

# The installed programs, with a home of their own so that no settings are left behind.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME"
cd "$work" || exit 1
version=$(dpkg-deb -f "$deb" Version)
expected="Zarnith ${version%%+build*} (build ${version#*+build})"
[ "$(zarnith-cli --version)" = "$expected" ] || fail "zarnith-cli --version says '$(zarnith-cli --version)'"
[ "$(command -v zarnith-cli)" = /usr/bin/zarnith-cli ] || fail "zarnith-cli is not /usr/bin/zarnith-cli"

applet=$(zarnith-cli resources "$source/docs/sample.loc" | head -n 1)
programdir=$(dirname "$applet")
grep -qxF "$applet" <<<"$installed" || fail "zarnith-cli looks for the applet at $applet"
zarnith-cli html "$source/docs/sample.loc" -o page.html || fail "zarnith-cli html failed"
zarnith-cli publish "$source/docs/sample.loc" site >/dev/null || fail "zarnith-cli publish failed"
cmp -s site/Zarnith.class "$applet" || fail "publish did not copy the installed applet"
ls site/*.html >/dev/null 2>&1 || fail "publish wrote no page"

for companion in help/index.html libzarnith_previewserver.so libzarnith_webpreview.so libzarnith_audio.so; do
    grep -qxF "$programdir/$companion" <<<"$installed" || fail "$companion is not in $programdir"
done
# The window on its Preview page, run by root: the preview goes to the user's cache folder, and
# nothing under the program's folder is made or changed.
program_files() { find "$programdir" -printf '%p %s %T@\n' | sort; }
before=$(program_files)
ZARNITH_SCREENSHOT=$work/window.png ZARNITH_SCREENSHOT_PAGE=Preview \
    xvfb-run -a -s "-screen 0 1280x1024x24" zarnith "$source/docs/sample.loc" >"$work/window.log" 2>&1 \
    || { cat "$work/window.log"; fail "the window did not start"; }
file "$work/window.png" | grep -q 'PNG image' || fail "the window saved no picture"
[ -d "$XDG_CACHE_HOME/Velto/Zarnith/Preview" ] || fail "the Preview page wrote no preview folder in the cache"
changed=$(diff <(echo "$before") <(program_files))
[ -z "$changed" ] || fail "the run changed the program's folder:"$'\n'"$changed"

# The desktop's caches, rebuilt by the package's triggers, know the project file type.
mime_type=application/x-zarnith-project
registered() {
    if command -v update-mime-database >/dev/null; then
        [ -e "/usr/share/mime/$mime_type.xml" ] || return 1
    fi
    if command -v update-desktop-database >/dev/null; then
        grep -q "^$mime_type=example.velto.zarnith.desktop" /usr/share/applications/mimeinfo.cache || return 1
    fi
}
registered || fail "the desktop's caches do not know $mime_type"

if command -v man >/dev/null; then
    [ "$(man -w zarnith-cli)" = /usr/share/man/man1/zarnith-cli.1.gz ] || fail "man does not find zarnith-cli(1)"
fi
if [ -f /usr/share/bash-completion/bash_completion ]; then
    bash -c 'source /usr/share/bash-completion/bash_completion && __load_completion zarnith-cli' \
        || fail "bash-completion does not find the completion of zarnith-cli"
fi

# Purged, the package leaves none of its files behind.
trap 'rm -rf "$work"' EXIT
purge
dpkg-query -W -f='${Status}' zarnith 2>/dev/null | grep -q ' installed$' && fail "zarnith is still installed"
while IFS= read -r path; do
    [ -d "$path" ] || [ ! -e "$path" ] || fail "$path is left after the purge"
done <<<"$installed"
[ ! -e "$programdir" ] || fail "$programdir is left after the purge"
if command -v update-mime-database >/dev/null && [ -e "/usr/share/mime/$mime_type.xml" ]; then
    fail "$mime_type is still registered after the purge"
fi

[ "$failures" -eq 0 ] || exit 1
echo "installed, ran the programs from $programdir, and purged"
