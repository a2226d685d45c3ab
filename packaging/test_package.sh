#!/bin/sh
# Builds the Debian package from the build folder, unpacks it into a scratch
# root with dpkg -x, and runs the installed program: its help, and the batch
# report of the installed example, which must equal the report of the program
# in the build folder (so the installed copy found its message file too).
# Usage: test_package.sh BUILD_DIR SOURCE_DIR WORK_DIR BUILT_WZAM1
set -eu
build=$1 source=$2 work=$3 built=$4
rm -rf "$work"
mkdir -p "$work/packages" "$work/root" "$work/installed" "$work/reference" "$work/home"
# No settings of the user running the test may leak in.
export HOME="$work/home" XDG_CONFIG_HOME="$work/home/.config"

(cd "$build" && cpack -G DEB -B "$work/packages" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/packages/*.deb)
dpkg-deb --info "$deb" | grep -E '^ (Package|Version|Depends):'
dpkg -x "$deb" "$work/root"
root=$work/root/usr
# Two reports are equal when they differ at most in the minute they were written.
same_report() {
  for f in "$1" "$2"; do
    sed -E 's/[0-9]{2}\.[0-9]{2}\.[0-9]{4}([[:space:]]+)[0-9]{2}:[0-9]{2}/DATE\1TIME/g' "$f" >"$f.undated"
  done
  cmp "$1.undated" "$2.undated"
}
for f in bin/wzam1 share/applications/de.korvant.zam1.desktop share/metainfo/de.korvant.zam1.metainfo.xml \
         share/icons/hicolor/scalable/apps/de.korvant.zam1.svg share/mime/packages/de.korvant.zam1.xml \
         share/man/man1/wzam1.1 share/zam1/zam1.err share/zam1/examples/getriebewelle.zm1; do
  [ -f "$root/$f" ] || { echo "missing in the package: usr/$f"; exit 1; }
done
desktop-file-validate "$root/share/applications/de.korvant.zam1.desktop"
appstreamcli validate --no-net "$root/share/metainfo/de.korvant.zam1.metainfo.xml" >/dev/null

# The MIME database built from the package knows ".zm1".
cp -r "$root/share/mime" "$work/mime"
update-mime-database "$work/mime" >/dev/null 2>&1
grep -q '^application/x-zam1-project:\*\.zm1$' "$work/mime/globs" || { echo ".zm1 not registered"; exit 1; }

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
