#!/usr/bin/env bash
# Builds the Debian package, has Debian's own checker (lintian, pedantic) look at it, and
# checks it on a fresh Debian 12: a minimal system made by debootstrap in a temporary
# folder, the package installed there with apt-get (its dependencies come from the Debian
# mirror), the installed files looked at, and the program started offscreen as an
# ordinary user long enough to see it run. Any lintian tag (error, warning or pedantic)
# that the package does not override with its reason fails the check.
#
#   scripts/check-package.sh [--fresh]
#
# Needs root (debootstrap, chroot, mount) and the Debian mirror; takes a few minutes,
# so it is not part of ./test.sh. The base system is kept as a tarball in build/package/
# and reused by later runs (it never sees the package); --fresh makes a new one.
# TACKNOTE_MIRROR chooses the mirror (default http://deb.debian.org/debian).
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
mirror=${TACKNOTE_MIRROR:-http://deb.debian.org/debian}
fresh=no
[ "${1:-}" = "--fresh" ] && fresh=yes

if [ "$(id -u)" -ne 0 ]; then
    echo "Run as root: debootstrap, chroot and mount need it." >&2
    exit 1
fi
scripts/ensure-packages.sh scripts/packages-build.txt scripts/packages-package.txt

seconds() { date +%s; }
started=$(seconds)

failures=0
# check <what> <command...>
check() {
    local what=$1
    shift
    if "$@"; then echo "ok   $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# 1. The package, from a Release build with Debian's build flags.
build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTACKNOTE_BUILD_TESTS=OFF \
    -DTACKNOTE_BUILD_BENCH=OFF -DTACKNOTE_DEBIAN_FLAGS=ON >/dev/null
cmake --build "$build"
rm -f "$build"/tacknote_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls "$build"/tacknote_*.deb)
packaged=$(seconds)
echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Installed-Size Depends Recommends

# lintian says nothing but the overrides the package names, each with its reason (shown,
# not counted). Its notice about running as root goes to the error output and is left out.
lintian_log=$(mktemp)
if lintian --pedantic --show-overrides --fail-on error,warning,pedantic "$deb" \
    >"$lintian_log" 2>"$lintian_log.err"; then
    lintian_status=0
else
    lintian_status=$?
fi
echo "== lintian --pedantic"
cat "$lintian_log"
grep -v "running with root privileges" "$lintian_log.err" >&2 || true
check "lintian passes (exit status $lintian_status)" test "$lintian_status" -eq 0
check "lintian reports no tag that is not overridden" \
    test -z "$(grep -v -e '^O: ' -e '^N: ' "$lintian_log")"
rm -f "$lintian_log" "$lintian_log.err"
linted=$(seconds)

# 2. A fresh Debian 12.
work=$(mktemp -d /tmp/tacknote-package.XXXXXX)
target=$work/debian12
cleanup() {
    umount "$target/proc" 2>/dev/null || true
    rm -rf --one-file-system "$work"
}
trap cleanup EXIT
base=$source_dir/$build/debian12-minbase.tar
if [ "$fresh" = yes ] || [ ! -f "$base" ]; then
    echo "== debootstrap bookworm from $mirror"
    debootstrap --variant=minbase bookworm "$target" "$mirror" >"$work/debootstrap.log" 2>&1 ||
        { tail -20 "$work/debootstrap.log" >&2; exit 1; }
    tar -cf "$base" -C "$target" .
else
    mkdir -p "$target"
    tar -xf "$base" -C "$target"
fi
based=$(seconds)
cp /etc/resolv.conf "$target/etc/resolv.conf"
mount -t proc proc "$target/proc"
in_target() {
    chroot "$target" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        DEBIAN_FRONTEND=noninteractive LANG=C.UTF-8 "$@"
}

# 3. The package installed as a user would, with what it depends on (recommended
# packages left out: the program must run without them).
cp "$deb" "$target/tmp/tacknote.deb"
in_target apt-get update -qq
in_target apt-get install -y -q --no-install-recommends /tmp/tacknote.deb >"$work/install.log" 2>&1 ||
    { tail -30 "$work/install.log" >&2; exit 1; }
installed=$(seconds)
grep -E "newly installed" "$work/install.log"

# 4. The files in place.
check "/usr/bin/tacknote runs the program" test -x "$target/usr/bin/tacknote"
installed_files=(
    /usr/lib/tacknote/tacknote-capture
    /usr/share/tacknote/tacknote.ENU
    /usr/share/tacknote/tacknote.PTB
    /usr/share/tacknote/default_ptb.tkn
    /usr/share/tacknote/help/tacknote.html
    /usr/share/tacknote/browser/manifest.json
    /usr/share/man/man1/tacknote.1.gz
    /usr/share/doc/tacknote/copyright
    /usr/share/doc/tacknote/changelog.gz
    /usr/share/applications/tacknote.desktop
    /usr/share/icons/hicolor/scalable/apps/tacknote.svg
    /usr/share/metainfo/org.example.tacknote.metainfo.xml
)
for size in 16 22 24 32 48 64 128 256; do
    installed_files+=("/usr/share/icons/hicolor/${size}x${size}/apps/tacknote.png")
done
for file in "${installed_files[@]}"; do
    check "$file" test -s "$target$file"
done
check "the menu entry starts /usr/bin/tacknote" \
    grep -qx "Exec=/usr/bin/tacknote" "$target/usr/share/applications/tacknote.desktop"
# Every library of the program and of the X11 platform plugin is there.
for binary in /usr/lib/tacknote/tacknote /usr/lib/x86_64-linux-gnu/qt6/plugins/platforms/libqxcb.so; do
    check "every library of $binary" test -z "$(in_target ldd "$binary" | grep 'not found')"
done

# 5. The program started by an ordinary user: still running after 15 s, with its notes
# file seeded in the user's documents folder.
in_target useradd --create-home maria
if in_target /bin/su maria -s /bin/sh -c \
    'cd && mkdir -p /tmp/run-maria && chmod 700 /tmp/run-maria &&
     QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/run-maria HOME=/home/maria \
     timeout 15 /usr/bin/tacknote' >"$work/run.log" 2>&1; then
    status=0
else
    status=$?
fi
ran=$(seconds)
check "the program still runs after 15 s (exit status $status)" test "$status" -eq 124
check "the program seeded ~/Documents/Tacknote/maria/data/stickies.tkn" \
    test -f "$target/home/maria/Documents/Tacknote/maria/data/stickies.tkn"
if [ -s "$work/run.log" ]; then
    echo "== what the program printed"
    head -20 "$work/run.log"
fi

echo "== figures"
echo "package:           $(stat -c %s "$deb") bytes, Installed-Size $(dpkg-deb --field "$deb" Installed-Size) KiB"
echo "build and package: $((packaged - started)) s"
echo "lintian:           $((linted - packaged)) s"
echo "base system:       $((based - linted)) s ($(du -sh --exclude=proc "$target" | cut -f1) after the install)"
echo "install with deps: $((installed - based)) s"
echo "start check:       $((ran - installed)) s"
echo "total:             $((ran - started)) s"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "The package installs and runs on a fresh Debian 12."
