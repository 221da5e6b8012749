#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The package test: installs the .deb built in BUILD (default build-package),
# converts the example as an ordinary user with both installed programs,
# checks the installed files, removes the package and looks for anything it
# left behind. Needs root; refuses to run where tessarin is installed already.
#   packaging/test-package.sh [BUILD]
set -uo pipefail
cd "$(dirname "$0")/.." || exit 2
build=$(realpath "${1:-build-package}")
start=$SECONDS
passed=0
failed=0

check() {  # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if "$@"; then
        passed=$((passed + 1))
        printf 'ok    %s\n' "$description"
    else
        failed=$((failed + 1))
        printf 'FAIL  %s\n' "$description"
        return 1
    fi
}

# Every file and folder a package can touch, apart from the package system's
# own books and the caches and logs that change with any installation.
snapshot() {
    find /usr /etc /opt /var -xdev \( -path /var/log -o -path /var/tmp -o -path /var/cache/apt \
        -o -path /var/lib/apt -o -path /var/lib/dpkg -o -path /var/cache/debconf \
        -o -path /var/backups -o -path /var/cache/man -o -path /var/lib/ucf \) -prune -o -print |
        LC_ALL=C sort
}

installed() { dpkg-query -W -f='${db:Status-Abbrev}' tessarin 2>/dev/null | grep -q '^.i'; }

if [[ $(id -u) != 0 ]]; then
    echo "test-package: run as root (it installs and removes the package)" >&2
    exit 2
fi
if installed; then
    echo "test-package: tessarin is installed on this machine; remove it first" >&2
    exit 2
fi
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
debs=("$build"/tessarin_"$version"_*.deb)
if [[ -z $version || ${#debs[@]} != 1 || ! -f ${debs[0]} ]]; then
    echo "test-package: no tessarin_${version}_*.deb in $build (make package builds it)" >&2
    exit 2
fi
deb=${debs[0]}

work=$(mktemp -d /tmp/tessarin-package-test.XXXXXX)
chmod 755 "$work"
cleanup() {
    installed && DEBIAN_FRONTEND=noninteractive apt-get purge -o DPkg::Lock::Timeout=600 -y -q tessarin >/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

echo "== $deb"
snapshot >"$work/before"
install_start=$SECONDS
DEBIAN_FRONTEND=noninteractive apt-get install -o DPkg::Lock::Timeout=600 -y -q --no-install-recommends "$deb" >"$work/apt.log" 2>&1
status=$?
echo "installed in $((SECONDS - install_start)) s"
check "apt-get installs the package" test "$status" = 0 || cat "$work/apt.log"
if ! installed; then
    cat "$work/apt.log"
    echo "package: $passed passed, $((failed + 1)) failed"
    exit 1
fi
dpkg -L tessarin | LC_ALL=C sort >"$work/files"

echo "== the package"
check "its version is the project's ($version)" \
    test "$(dpkg-query -W -f='${Version}' tessarin)" = "$version"
check "its dependencies name the Qt and C++ libraries" \
    bash -c "dpkg-query -W -f='\${Depends}' tessarin | grep -q 'libqt6widgets6.*libstdc++6\|libstdc++6.*libqt6widgets6'"
for file in /usr/bin/tessarin /usr/bin/tessarin-cli /usr/share/tessarin/translate.dat \
    /usr/share/tessarin/options.dat /usr/share/tessarin/user-guide.html \
    /usr/share/applications/tessarin.desktop /usr/share/metainfo/org.tessarin.Tessarin.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/tessarin.svg /usr/share/icons/hicolor/48x48/apps/tessarin.png \
    /usr/share/icons/hicolor/256x256/apps/tessarin.png /usr/share/man/man1/tessarin.1.gz \
    /usr/share/man/man1/tessarin-cli.1.gz /usr/share/bash-completion/completions/tessarin-cli \
    /usr/share/doc/tessarin/copyright /usr/share/doc/tessarin/changelog.gz; do
    check "installs $file" grep -qx "$file" "$work/files"
done
check "the shipped table is the one the build made" \
    cmp -s /usr/share/tessarin/translate.dat "$build/shipped/translate.dat"
check "the shipped options.dat holds German (0)" \
    test "$(od -An -tx1 /usr/share/tessarin/options.dat | tr -d ' \n')" = 00000000
check "tessarin-cli --version" test "$(/usr/bin/tessarin-cli --version)" = "tessarin-cli $version"
check "tessarin --version" test "$(/usr/bin/tessarin --version)" = "tessarin $version"

echo "== converting as an ordinary user (uid 65534, no display)"
user=$work/user
mkdir -p "$user/home"
cp examples/bracket.dxf "$user/"
chown -R 65534:65534 "$user"
as_user() {  # as_user LOG COMMAND...: in $user, with a bare environment
    local log=$1
    shift
    (cd "$user" && setpriv --reuid=65534 --regid=65534 --clear-groups -- \
        env -i HOME="$user/home" PATH=/usr/bin:/bin LANG=C.UTF-8 "$@") >"$work/$log" 2>&1
}
as_user cli.log /usr/bin/tessarin-cli bracket.dxf bracket-cli.dxf
check "tessarin-cli converts the example" test $? = 0 || cat "$work/cli.log"
as_user desktop.log /usr/bin/tessarin bracket.dxf bracket-desktop.dxf
check "tessarin converts the example in batch mode" test $? = 0 || cat "$work/desktop.log"
# The fit-point spline of the example starts from a clock-seeded estimate,
# so its arcs vary from run to run; everything around the polylines may not.
without_polylines() {  # the drawing's group pairs without its LWPOLYLINE entities
    python3 -c '
import sys
lines = open(sys.argv[1], "rb").read().split(b"\r\n")
keep, inside = [], False
for code, value in zip(lines[0::2], lines[1::2]):
    if code.strip() == b"0":
        inside = value.strip() == b"LWPOLYLINE"
    if not inside:
        keep += [code, value]
sys.stdout.buffer.write(b"\r\n".join(keep))' "$1"
}
export -f without_polylines
"$build/tessarin-cli" examples/bracket.dxf "$work/bracket-build.dxf" >/dev/null 2>&1
check "both copy the example's other bytes as the build tree's program does" \
    bash -c "cmp <(without_polylines '$user/bracket-cli.dxf') <(without_polylines '$work/bracket-build.dxf') &&
             cmp <(without_polylines '$user/bracket-desktop.dxf') <(without_polylines '$work/bracket-build.dxf')"
# Built with Debian's hardening flags, the package must still give the bytes
# of the build the tests ran on (make test's build/), drawing by drawing.
reference=${TESSARIN_REFERENCE_BUILD:-build}/tessarin-cli
if [[ -x $reference ]]; then
    mismatches=""
    for drawing in tests/data/*.dxf; do
        name=$(basename "$drawing")
        /usr/bin/tessarin-cli "$drawing" "$work/installed-$name" >/dev/null 2>&1
        "$reference" "$drawing" "$work/reference-$name" >/dev/null 2>&1
        cmp -s "$work/installed-$name" "$work/reference-$name" || mismatches+=" $name"
    done
    check "tessarin-cli converts every drawing of tests/data as $reference does" \
        test -z "$mismatches" || echo "  differ:$mismatches"
else
    echo "skip  no $reference to compare the conversions of tests/data with (make build makes it)"
fi
splines=$(grep -c '^SPLINE' examples/bracket.dxf)
polylines=$(grep -c '^LWPOLYLINE' examples/bracket.dxf)
check "every spline of the example became a polyline ($splines)" \
    test "$(grep -c $'^LWPOLYLINE\r$' "$user/bracket-cli.dxf")" = $((splines + polylines))
check "no spline is left" test "$(grep -c '^SPLINE' "$user/bracket-cli.dxf")" = 0
data=$user/home/.local/share/Tessarin
check "the user's translation table is seeded from the shipped one" \
    cmp -s "$data/translate.dat" /usr/share/tessarin/translate.dat
check "the user's options.dat is seeded with German" \
    test "$(od -An -tx1 "$data/options.dat" 2>/dev/null | tr -d ' \n')" = 00000000
check "the window's fields were stored for the user" test -f "$user/home/.config/Software/tessarin.ini"

echo "== installed files"
check "desktop-file-validate" desktop-file-validate /usr/share/applications/tessarin.desktop
check "appstreamcli validate --no-net" \
    appstreamcli validate --no-net /usr/share/metainfo/org.tessarin.Tessarin.metainfo.xml
for page in tessarin tessarin-cli; do
    check "man $page shows its page without warnings" bash -c "
        out=\$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings $page 2>'$work/man.err') &&
        [[ ! -s '$work/man.err' ]] && grep -q '^NAME' <<<\"\$out\" &&
        grep -q 'Tessarin $version' <<<\"\$out\"" || cat "$work/man.err"
done
png_size() { python3 -c 'import struct,sys; d=open(sys.argv[1],"rb").read(24); print("%dx%d" % struct.unpack(">II", d[16:24]))' "$1"; }
for size in 48 256; do
    check "the ${size} px icon is ${size}x${size}" \
        test "$(png_size /usr/share/icons/hicolor/${size}x${size}/apps/tessarin.png)" = "${size}x${size}"
done
complete_word() {  # complete_word WORDS...: what bash proposes for the last word
    bash -c 'source /usr/share/bash-completion/completions/tessarin-cli
             COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); _tessarin_cli; echo "${COMPREPLY[*]}"' \
        complete "$@"
}
check "bash completes --ver to --version" test "$(complete_word tessarin-cli --ver)" = --version
check "bash completes KEEPSPLINES t to TRUE" \
    test "$(complete_word tessarin-cli a.dxf b.dxf 1 1 10 1000 t)" = TRUE
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1
check "lintian reports no error" test $? = 0
sed 's/^/  lintian: /' "$work/lintian.log"

echo "== removing the package"
DEBIAN_FRONTEND=noninteractive apt-get purge -o DPkg::Lock::Timeout=600 -y -q tessarin >"$work/apt.log" 2>&1
check "apt-get purge removes the package" test $? = 0 || cat "$work/apt.log"
check "dpkg knows it no more" bash -c "! dpkg-query -W tessarin >/dev/null 2>&1"
snapshot >"$work/after"
# A path that came or went meanwhile and belongs to another package was
# installed or removed by someone else at the same time.
unowned() { while read -r path; do dpkg -S "$path" >/dev/null 2>&1 || echo "$1$path"; done; }
{
    LC_ALL=C comm -13 "$work/before" "$work/after" | unowned "left: "
    LC_ALL=C comm -23 "$work/before" "$work/after" | unowned "gone: "
} >"$work/changes"
check "nothing of it is left, and nothing else is gone" test ! -s "$work/changes"
sed 's/^/  /' "$work/changes"

echo "package test: $((SECONDS - start)) s"
echo "package: $passed passed, $failed failed"
[[ $failed == 0 ]]
