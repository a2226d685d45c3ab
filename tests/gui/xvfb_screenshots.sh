#!/bin/sh
# Starts wzam1 on a project under Xvfb; the screenshot tour shows the overall
# graphic, the scheme, the normal distribution of closing dimension 1 and the
# standard report, saves a PNG of the screen after each in <folder>, and quits.
#   xvfb_screenshots.sh <wzam1> <project.zm1> <folder>
set -eu
exe=$1 project=$2 out=$3
rm -rf "$out"
mkdir -p "$out/config"
cd "$out"
# A configuration of its own (none: the defaults), never the user's.
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data" ZAM1_SCREENSHOT_DIR="$out" \
  xvfb-run -a -s "-screen 0 1280x1024x24" "$exe" "$project"
for name in overall scheme normal_distribution standard_report; do
  if [ ! -s "$out/$name.png" ]; then
    echo "missing $out/$name.png" >&2
    exit 1
  fi
done
echo "screenshots in $out"
