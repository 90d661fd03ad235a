#!/usr/bin/env bash
# Installs the build into a temporary DESTDIR and checks the tree a desktop
# and the program itself rely on: the program, its core library and modules
# bound completely, each module through its own run, modules of another
# version refused, and a run to TIFF that maps neither Qt, qpdf nor Tesseract.
# has_window and has_ocr are empty in builds without the window or recognition.
set -euo pipefail
build=$1 app_id=$2 module_dir=$3 version=$4 has_window=${5:-} has_ocr=${6:-}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /opt/quillon >/dev/null
root="$stage/opt/quillon"
fail() { echo "FAIL: $*" >&2; exit 1; }

modules="quillon-pdf.so"
[ -z "$has_window" ] || modules="$modules quillon-window.so"
[ -z "$has_ocr" ] || modules="$modules quillon-ocr.so"
desktop_files="share/applications/$app_id.desktop share/metainfo/$app_id.metainfo.xml share/mime/packages/$app_id.xml
               share/icons/hicolor/scalable/apps/$app_id.svg
               share/icons/hicolor/48x48/apps/$app_id.png share/icons/hicolor/256x256/apps/$app_id.png"
for file in bin/quillon $module_dir/libquillon-core.so share/man/man1/quillon.1 share/doc/quillon/manual.html \
            share/doc/quillon/screenshot.png share/doc/quillon/page-view.png ${has_window:+$desktop_files}; do
  [ -s "$root/$file" ] || fail "$file is not installed"
done
[ -n "$has_window" ] || [ ! -e "$root/share/applications" ] || fail "a desktop entry without the window"
for module in $modules; do [ -s "$root/$module_dir/$module" ] || fail "$module is not installed"; done
[ -n "$has_window" ] || [ ! -e "$root/$module_dir/quillon-window.so" ] || fail "window module without the window"
[ -n "$has_ocr" ] || [ ! -e "$root/$module_dir/quillon-ocr.so" ] || fail "recognition module without recognition"

# Every library the program and its modules need is found (the core through
# their RUNPATH) and every symbol is bound; the program shows no symbol of
# its own, and the core no internal one of the subsystems.
for binary in bin/quillon $module_dir/libquillon-core.so ${modules//quillon-/$module_dir/quillon-}; do
  out=$(ldd -r "$root/$binary" 2>&1) || fail "ldd $binary: $out"
  ! grep -E "not found|undefined symbol" <<<"$out" || fail "$binary is not bound completely"
done
# No binary, built or installed, looks for libraries in the folder it is run
# from: an empty or relative RUNPATH entry would let a planted libc.so.6 in a
# folder of received faxes run as the user.
checked=0
while IFS= read -r -d '' file; do
  head -c 4 "$file" | grep -q $'^\x7fELF' || continue
  checked=$((checked + 1))
  runpath=$(readelf -d "$file" | sed -n 's/.*(R\(UN\)\{0,1\}PATH).*\[\(.*\)\]$/\2/p')
  [ -n "$runpath" ] || continue
  IFS=: read -r -a entries <<<"$runpath:"
  for entry in "${entries[@]}"; do
    case "$entry" in
      /* | '$ORIGIN' | '$ORIGIN'/*) ;;
      *) fail "$file: RUNPATH [$runpath] has the entry '$entry' (empty: the current folder)" ;;
    esac
  done
done < <(find "$build/src" "$build/tests" "$build/fuzz" "$root" -type f \( -perm -u+x -o -name '*.so' \) -print0 2>/dev/null)
[ "$checked" -ge 4 ] || fail "only $checked binaries found to check their RUNPATH"
core=$(ldd "$root/bin/quillon" | sed -n 's/^\s*libquillon-core.so => \(.*\) (0x.*$/\1/p')
[ "$(realpath "$core")" = "$root/$module_dir/libquillon-core.so" ] || fail "core not found from bin/: $core"
# (The sanitizers' runtimes export their own options from the program.)
exported=$(nm -D --defined-only "$root/bin/quillon" |
  grep -v -E ' (_IO_stdin_used|_edata|_end|__bss_start|__asan_.*|__ubsan_.*|__tsan_.*)$' || true)
[ -z "$exported" ] || fail "the program exports symbols: $exported"
! nm -DC --defined-only "$root/$module_dir/libquillon-core.so" | grep -E "quillon::(T6Encoder|BitReader|decodeRuns)" \
  || fail "the core exports its codec"
# Help finds the manual relative to the program (gui/help.h).
[ -f "$root/bin/../share/doc/quillon/manual.html" ] || fail "manual not beside bin/"
grep -q 'src="screenshot.png"' "$root/share/doc/quillon/manual.html" || fail "manual lost its screenshot"

[ "$("$root/bin/quillon" --version)" = "Batch Quillon V$(cut -d. -f1 <<<"$version").$(printf %02d "$(cut -d. -f2 <<<"$version")"), build $(printf %04d "$(cut -d. -f3 <<<"$version")")" ] \
  || fail "installed program does not say version $version: $("$root/bin/quillon" --version)"
head -n 1 "$root/share/man/man1/quillon.1" | grep -qF "\"Batch Quillon $version\"" || fail "man page version"
# The installed program finds its modules: the PDF writer and the window.
# With the window, the file manager's thumbnailer stands beside it.
expected_bin=quillon
[ -z "$has_window" ] || expected_bin=$'quillon\nquillon-thumbnailer'
[ "$(ls "$root/bin")" = "$expected_bin" ] || fail "bin/ holds more than the program and the thumbnailer: $(ls "$root/bin")"
"$build/tools/make_demo_faxes" "$stage/faxes" >/dev/null
QUILLON_HOME="$stage/home" "$root/bin/quillon" /q /pdf /d="$stage/faxes" /sd="$stage/pdf" \
  || fail "installed program cannot write PDF files"
for pdf in "$stage"/pdf/*.pdf; do qpdf --check "$pdf" >/dev/null || fail "$pdf"; done
[ -n "$(ls "$stage"/pdf/*.pdf)" ] || fail "no PDF written"
first=$(ls "$stage"/faxes/*.fx? | head -n 1)
# A run to TIFF loads none of the modules' libraries.
loaded=$(QUILLON_HOME="$stage/home" LD_DEBUG=files "$root/bin/quillon" /q /f="$first" /sf="$stage/one.tif" 2>&1 \
         | grep "calling init" || true)
grep -q libquillon-core <<<"$loaded" || fail "no core in the TIFF run: $loaded"
! grep -E -i "libqt|qpdf|tesseract|quillon-(pdf|ocr|window)" <<<"$loaded" || fail "a TIFF run loads a module's libraries"
# Text recognition, on one page.
status=0
QUILLON_HOME="$stage/home" "$root/bin/quillon" /q /ocr /f="$first" /sf="$stage/ocr.pdf" 2>"$stage/ocr.err" || status=$?
if [ -n "$has_ocr" ]; then
  [ "$status" = 0 ] || fail "installed program cannot recognise text: $(cat "$stage/ocr.err")"
  ! grep -q "cannot be recognised" "$stage/ocr.err" || fail "$(cat "$stage/ocr.err")"
else
  [ "$status" = 2 ] && grep -q "text cannot be recognised: text recognition (/ocr) is not in this build" "$stage/ocr.err" \
    || fail "/ocr in a build without recognition: exit $status, $(cat "$stage/ocr.err")"
  [ ! -e "$stage/ocr.pdf" ] || fail "/ocr without recognition wrote a file"
fi
status=0
QUILLON_HOME="$stage/home" QT_QPA_PLATFORM=offscreen timeout 5 "$root/bin/quillon" >/dev/null 2>"$stage/window.err" || status=$?
if [ -n "$has_window" ]; then
  [ "$status" = 124 ] || fail "installed program cannot open its window (exit $status): $(cat "$stage/window.err")"
else
  [ "$status" = 2 ] && grep -q "main window is not available in this build" "$stage/window.err" \
    || fail "window in a build without it: exit $status, $(cat "$stage/window.err")"
fi

# A module of another version (the loader test's) in place of the PDF
# writer is refused by its path and both versions; the run could not do its
# work (exit 3).
cp "$build/tests/platform/quillon-test-module-old.so" "$root/$module_dir/quillon-pdf.so"
status=0
QUILLON_HOME="$stage/home" "$root/bin/quillon" /q /f="$first" /sf="$stage/old.pdf" 2>"$stage/old.err" || status=$?
[ "$status" = 3 ] || fail "a PDF module of another version: exit $status"
grep -qF "PDF files cannot be written: $root/bin/../$module_dir/quillon-pdf.so: module of version 2.9.17, but this program needs version $version" \
  "$stage/old.err" || fail "a PDF module of another version is not refused clearly: $(cat "$stage/old.err")"
[ ! -e "$stage/old.pdf" ] || fail "a module of another version wrote a file"
# The desktop's files, with the window.
if [ -n "$has_window" ]; then
  file -b "$root/share/icons/hicolor/48x48/apps/$app_id.png" | grep -q '48 x 48' || fail "48 px icon size"
  file -b "$root/share/icons/hicolor/256x256/apps/$app_id.png" | grep -q '256 x 256' || fail "256 px icon size"
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
fi

warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$root/share/man/man1/quillon.1" 2>&1 >/dev/null)
[ -z "$warnings" ] || fail "man page warnings: $warnings"
echo "install tree complete"
