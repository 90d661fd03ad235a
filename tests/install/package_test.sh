#!/usr/bin/env bash
# Builds the Debian packages (quillon, quillon-gui, quillon-ocr) and checks
# them the way Debian would: lintian without errors or warnings, the desktop
# entry and AppStream metadata valid, dependencies found by dpkg-shlibdeps.
# The command line package must install on a server: no Qt, no Tesseract.
set -euo pipefail
build=$1 app_id=$2 module_dir=$3 version=$4
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
for package in quillon quillon-gui quillon-ocr; do
  deb=$(ls "$out"/${package}_*.deb)
  [ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "$package: version $(dpkg-deb -f "$deb" Version)"
  lintian --fail-on error,warning "$deb" || fail "$package: lintian"
  grep -q '^graphics$' <<<"$(dpkg-deb -f "$deb" Section)" || fail "$package: no section"
  grep -q '@' <<<"$(dpkg-deb -f "$deb" Maintainer)" || fail "$package: no maintainer"
  dpkg-deb -x "$deb" "$out/$package"
  [ -s "$out/$package/usr/share/doc/$package/copyright" ] || fail "$package: no copyright"
  [ -s "$out/$package/usr/share/doc/$package/changelog.gz" ] || fail "$package: no change log"
done
files() { (cd "$out/$1" && find . -type f -o -type l | sed 's|^\./|/|' | sort); }
depends() { dpkg-deb -f "$out"/$1_*.deb Depends; }

# quillon: the program, its core and the PDF writer; a server's dependencies.
usr="$out/quillon/usr"
[ -x "$usr/bin/quillon" ] || fail "no program"
[ -s "$usr/$module_dir/libquillon-core.so" ] || fail "no core library"
[ -s "$usr/$module_dir/quillon-pdf.so" ] || fail "no PDF module"
[ -s "$usr/share/man/man1/quillon.1.gz" ] || fail "no compressed man page"
[ -s "$usr/share/doc/quillon/manual.html" ] || fail "no manual"
! files quillon | grep -E "quillon-(window|ocr)\.so|/applications/|/metainfo/|/icons/|/mime/" \
  || fail "quillon holds files of quillon-gui or quillon-ocr"
server=$(dpkg-deb -f "$out"/quillon_*.deb Depends Pre-Depends Recommends)
grep -q 'libtiff6' <<<"$server" || fail "no libtiff dependency"
grep -q 'libqpdf' <<<"$server" || fail "no qpdf dependency"
! grep -i -E 'qt|tesseract|leptonica|libgomp' <<<"$server" || fail "quillon depends on Qt or Tesseract: $server"

# quillon-gui: the window and the desktop's files, on quillon of its version.
usr="$out/quillon-gui/usr"
[ "$(files quillon-gui | grep -v "^/usr/share/doc/" | grep -c -E "/$module_dir/")" = 1 ] \
  && [ -s "$usr/$module_dir/quillon-window.so" ] || fail "quillon-gui: not the window module alone"
[ -x "$usr/bin/quillon-thumbnailer" ] && [ -s "$usr/share/man/man1/quillon-thumbnailer.1.gz" ] \
  || fail "quillon-gui: no thumbnailer with its man page"
grep -q "quillon (= $version)" <<<"$(depends quillon-gui)" || fail "quillon-gui does not depend on quillon $version"
grep -q 'libqt6widgets6' <<<"$(depends quillon-gui)" || fail "no Qt dependency"
! grep -i 'tesseract' <<<"$(depends quillon-gui)" || fail "quillon-gui depends on Tesseract"
desktop-file-validate "$usr/share/applications/$app_id.desktop"
appstreamcli validate --no-net "$usr/share/metainfo/$app_id.metainfo.xml"
[ -s "$usr/share/mime/packages/$app_id.xml" ] || fail "no MIME type"
[ -s "$usr/share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no icon"
# The thumbnailer, run as a file manager runs its Exec line (%s the size, %i
# the file, %o the PNG), from the unpacked package: a fax page 128 high.
thumbnailer="$usr/share/thumbnailers/$app_id.thumbnailer"
exec_line=$(sed -n 's/^Exec=//p' "$thumbnailer")
[ "$(sed -n 's/^TryExec=//p' "$thumbnailer")" = "${exec_line%% *}" ] || fail "TryExec is not Exec's program"
[ "${exec_line%% *}" = quillon-thumbnailer ] || fail "Exec runs ${exec_line%% *}"
grep -q "^MimeType=application/x-winfax;" "$thumbnailer" || fail "no WinFax type for thumbnails"
"$build/tools/make_demo_faxes" "$out/faxes" >/dev/null
fax=$(ls "$out"/faxes/*.fxd | head -n 1)
command=${exec_line//%s/128}
command=${command//%i/$fax}
command=${command//%o/$out/thumbnail.png}
eval "$usr/bin/$command" || fail "the thumbnailer failed: $command"
identify -format '%m %h %[channels]\n' "$out/thumbnail.png" | grep -q '^PNG 128 gray' \
  || fail "no 128-pixel gray PNG: $(identify "$out/thumbnail.png")"

# quillon-ocr: the recognition module, on quillon of its version.
usr="$out/quillon-ocr/usr"
[ "$(files quillon-ocr | grep -v "^/usr/share/doc/")" = "/usr/$module_dir/quillon-ocr.so" ] \
  || fail "quillon-ocr: not the recognition module alone: $(files quillon-ocr)"
grep -q "quillon (= $version)" <<<"$(depends quillon-ocr)" || fail "quillon-ocr does not depend on quillon $version"
grep -q 'libtesseract5' <<<"$(depends quillon-ocr)" || fail "no Tesseract dependency"
! grep -i 'qt' <<<"$(depends quillon-ocr)" || fail "quillon-ocr depends on Qt"
grep -q 'tesseract-ocr-eng' <<<"$(dpkg-deb -f "$out"/quillon-ocr_*.deb Recommends)" || fail "no English data recommended"
echo "packages $(cd "$out" && ls *.deb | tr '\n' ' ')pass lintian and the validators"
