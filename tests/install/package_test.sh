#!/usr/bin/env bash
# Builds the Debian package and checks it the way Debian would: lintian
# without errors or warnings, the desktop entry and AppStream metadata valid,
# dependencies found by dpkg-shlibdeps.
set -euo pipefail
build=$1 app_id=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
deb=$(ls "$out"/quillon_*.deb)
lintian --fail-on error,warning "$deb"

control=$(dpkg-deb -f "$deb")
grep -q '^Depends:.*libtiff6' <<<"$control" || fail "no libtiff dependency"
grep -q '^Depends:.*libqt6widgets6' <<<"$control" || fail "no Qt dependency"
grep -q '^Section: graphics' <<<"$control" || fail "no section"
grep -q '^Maintainer: .*@' <<<"$control" || fail "no maintainer"

dpkg-deb -x "$deb" "$out/root"
usr="$out/root/usr"
[ -x "$usr/bin/quillon" ] || fail "no program"
[ -s "$usr/share/man/man1/quillon.1.gz" ] || fail "no compressed man page"
desktop-file-validate "$usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"
echo "package $(basename "$deb") passes lintian and the validators"
