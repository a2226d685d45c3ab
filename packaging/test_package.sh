#!/bin/sh
# Builds the Debian package from the build folder, checks it with lintian (no
# error, no warning), unpacks it into a scratch root with dpkg -x, and runs the
# installed program: its help, and the batch report of the installed example,
# which must equal the report of the program in the build folder (so the
# installed copy found its message file too).
# Usage: test_package.sh BUILD_DIR SOURCE_DIR WORK_DIR BUILT_WZAM1 [SANITIZED]
set -eu
build=$1 source=$2 work=$3 built=$4 sanitized=${5:-0}
rm -rf "$work"
mkdir -p "$work/packages" "$work/root" "$work/installed" "$work/reference" "$work/home"
# No settings of the user running the test may leak in.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"

(cd "$build" && cpack -G DEB -B "$work/packages" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/packages/*.deb)
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends|Maintainer):'
# What Debian's archive checks: any error or warning fails (informational tags do not).
lintian --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || true
if grep -E '^[EW]: ' "$work/lintian.log"; then echo "lintian complains"; exit 1; fi
ls "$work/packages" | grep -q '^zam1-dbgsym_' || { echo "no debug symbols package"; ls "$work/packages"; exit 1; }
dpkg -x "$deb" "$work/root"
root=$work/root/usr
# Nothing of the build folder is compiled into the program: it finds its files
# beside itself, wherever it was installed. A sanitizer build carries the names
# of the compiled sources (the generated ones lie in the build folder) for its
# reports, and g++ 12 writes them unmapped; any other path still fails.
compiled_in() {
  if [ "$sanitized" = 1 ]; then
    strings "$1" | grep -F "$build" | grep -vE '\.(c|cc|cpp|cxx|h|hpp)$'
  else
    strings "$1" | grep -F "$build"
  fi
}
if compiled_in "$root/bin/wzam1"; then echo "the build folder is compiled in"; exit 1; fi
# Two reports are equal when they differ at most in the minute they were written.
same_report() {
  for f in "$1" "$2"; do
    sed -E 's/[0-9]{2}\.[0-9]{2}\.[0-9]{4}([[:space:]]+)[0-9]{2}:[0-9]{2}/DATE\1TIME/g' "$f" >"$f.undated"
  done
  cmp "$1.undated" "$2.undated"
}
for f in bin/wzam1 share/applications/de.korvant.zam1.desktop share/metainfo/de.korvant.zam1.metainfo.xml \
         share/icons/hicolor/scalable/apps/de.korvant.zam1.svg share/mime/packages/de.korvant.zam1.xml \
         share/man/man1/wzam1.1.gz share/doc/zam1/copyright share/doc/zam1/changelog.gz \
         share/zam1/zam1.err share/zam1/examples/getriebewelle.zm1 share/zam1/manual/de/index.html \
         share/zam1/screenshots/main-window.png; do
  [ -f "$root/$f" ] || { echo "missing in the package: usr/$f"; exit 1; }
done
desktop-file-validate "$root/share/applications/de.korvant.zam1.desktop"
appstreamcli validate --no-net "$root/share/metainfo/de.korvant.zam1.metainfo.xml" >/dev/null
# The screenshot the AppStream data names is the one in the package.
shot=$(sed -n 's|.*<image>.*/\([^/<]*\)</image>.*|\1|p' "$root/share/metainfo/de.korvant.zam1.metainfo.xml")
[ -n "$shot" ] && [ -s "$root/share/zam1/screenshots/$shot" ] || { echo "screenshot '$shot' not shipped"; exit 1; }

# The MIME database built from the package knows ".zm1", and a project by its
# first two lines under any other name (CR LF or LF line ends).
mkdir -p "$work/xdg"
cp -r "$root/share/mime" "$work/xdg/mime"
update-mime-database "$work/xdg/mime" >/dev/null 2>&1
grep -q '^application/x-zam1-project:\*\.zm1$' "$work/xdg/mime/globs" || { echo ".zm1 not registered"; exit 1; }
cp "$source/examples/getriebewelle.zm1" "$work/Kopie von getriebewelle"
tr -d '\r' <"$source/examples/getriebewelle.zm1" >"$work/getriebewelle-lf.txt"
for f in "$work/Kopie von getriebewelle" "$work/getriebewelle-lf.txt"; do
  type=$(XDG_DATA_HOME="$work/xdg" XDG_DATA_DIRS="$work/xdg" /usr/bin/python3 -c '
import sys
from gi.repository import Gio
print(Gio.content_type_guess(None, open(sys.argv[1], "rb").read(4096))[0])' "$f")
  [ "$type" = application/x-zam1-project ] || { echo "$f is taken as $type"; exit 1; }
done

"$root/bin/wzam1" --help >"$work/help.txt"
grep -q 'ZAM1 Command Line Mode' "$work/help.txt" || { echo "no help screen"; cat "$work/help.txt"; exit 1; }

# The installed example, from a folder without a message file of its own.
cp "$root/share/zam1/examples/getriebewelle.zm1" "$work/installed/"
(cd "$work/installed" && "$root/bin/wzam1" getriebewelle.zm1 /I /NOGUI)
[ -s "$work/installed/getriebewelle.txt" ] || { echo "no report written"; exit 1; }
grep -q 'Getriebewelle' "$work/installed/getriebewelle.txt" || { echo "not the example's report"; exit 1; }
# The reference: the built program beside the example and its message file.
cp "$source/examples/getriebewelle.zm1" "$source/examples/zam1.err" "$work/reference/"
(cd "$work/reference" && "$built" getriebewelle.zm1 /I /NOGUI)
same_report "$work/installed/getriebewelle.txt" "$work/reference/getriebewelle.txt"

# A calculation message must be explained from the installed message file: the
# first element's tolerances swapped give "Ob.Tol. < Unt.Tol.".
for d in installed reference; do
  sed -i '0,/^-0.1200000\r$/s//0.2000000\r/' "$work/$d/getriebewelle.zm1"
done
(cd "$work/installed" && "$root/bin/wzam1" getriebewelle.zm1 /I /NOGUI)
(cd "$work/reference" && "$built" getriebewelle.zm1 /I /NOGUI)
grep -q 'Beim genannten Element' "$work/installed/getriebewelle.txt" || { echo "message file not found"; exit 1; }
same_report "$work/installed/getriebewelle.txt" "$work/reference/getriebewelle.txt"
echo "package $(basename "$deb") installs and runs"
