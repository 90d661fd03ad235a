#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree a desktop
# and the program itself rely on.
set -euo pipefail
build=$1 app_id=$2 has_window=${3:-}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /opt/quillon >/dev/null
root="$stage/opt/quillon"
fail() { echo "FAIL: $*" >&2; exit 1; }

for file in bin/quillon share/man/man1/quillon.1 share/doc/quillon/manual.html \
            share/doc/quillon/screenshot.png share/applications/$app_id.desktop \
            share/metainfo/$app_id.metainfo.xml share/mime/packages/$app_id.xml \
            share/icons/hicolor/scalable/apps/$app_id.svg \
            share/icons/hicolor/48x48/apps/$app_id.png share/icons/hicolor/256x256/apps/$app_id.png; do
  [ -s "$root/$file" ] || fail "$file is not installed"
done
# Help finds the manual relative to the program (gui/help.h).
[ -f "$root/bin/../share/doc/quillon/manual.html" ] || fail "manual not beside bin/"
grep -q 'src="screenshot.png"' "$root/share/doc/quillon/manual.html" || fail "manual lost its screenshot"
file -b "$root/share/icons/hicolor/48x48/apps/$app_id.png" | grep -q '48 x 48' || fail "48 px icon size"
file -b "$root/share/icons/hicolor/256x256/apps/$app_id.png" | grep -q '256 x 256' || fail "256 px icon size"

"$root/bin/quillon" --version | grep -q '^Batch Quillon' || fail "installed program does not run"
# The installed program finds its modules: the PDF writer and the window.
[ "$(ls "$root/bin")" = quillon ] || fail "bin/ holds more than the program"
"$build/tools/make_demo_faxes" "$stage/faxes" >/dev/null
QUILLON_HOME="$stage/home" "$root/bin/quillon" /q /pdf /d="$stage/faxes" /sd="$stage/pdf" \
  || fail "installed program cannot write PDF files"
for pdf in "$stage"/pdf/*.pdf; do qpdf --check "$pdf" >/dev/null || fail "$pdf"; done
[ -n "$(ls "$stage"/pdf/*.pdf)" ] || fail "no PDF written"
# Text recognition, on one page.
first=$(ls "$stage"/faxes/* | head -n 1)
QUILLON_HOME="$stage/home" "$root/bin/quillon" /q /ocr /f="$first" /sf="$stage/ocr.pdf" 2>"$stage/ocr.err" \
  || fail "installed program cannot recognise text: $(cat "$stage/ocr.err")"
! grep -q "cannot be recognised" "$stage/ocr.err" || fail "$(cat "$stage/ocr.err")"
if [ -n "$has_window" ]; then
  status=0
  QUILLON_HOME="$stage/home" QT_QPA_PLATFORM=offscreen timeout 5 "$root/bin/quillon" >/dev/null 2>&1 || status=$?
  [ "$status" = 124 ] || fail "installed program cannot open its window (exit $status)"
fi
grep -qx "Exec=quillon %F" "$root/share/applications/$app_id.desktop" || fail "desktop entry Exec"
grep -qx "Icon=$app_id" "$root/share/applications/$app_id.desktop" || fail "desktop entry icon"

# The MIME package names every WinFax extension; the compiled globs are
# case-insensitive, so a.FXD matches too.
mkdir -p "$stage/mime/packages"
cp "$root/share/mime/packages/$app_id.xml" "$stage/mime/packages/"
update-mime-database "$stage/mime" 2>/dev/null
for ext in fxd fxm fxr fxs; do
  grep -q "^50:application/x-winfax:\*\.$ext$" "$stage/mime/globs2" || fail "no glob for .$ext"
done
! grep -q "application/x-winfax.*:cs" "$stage/mime/globs2" || fail "a glob is case-sensitive"

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man1/quillon.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
echo "install tree complete"
