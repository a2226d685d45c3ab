#!/bin/sh
# The real program asked to end by SIGTERM, SIGHUP and SIGINT ends at once with
# 128 + the signal's number and takes its private folder with it; a folder left
# by a program killed with SIGKILL goes at the next start.
#   signal_end.sh <wzam1> <project.zm1> <folder>
set -eu
exe=$1 project=$2 out=$3
rm -rf "$out"
mkdir -p "$out/config" "$out/tmp"
cd "$out"

start() {
  XDG_CONFIG_HOME="$out/config" XDG_DATA_HOME="$out/data" TEMP="$out/tmp" QT_QPA_PLATFORM=offscreen "$exe" "$project" &
  pid=$!
  # Running once its own private folder is there (and a moment for the rest of
  # the start); a folder named in $1 is an earlier program's, not this one's.
  i=0
  while [ -z "$(ls "$out/tmp" | grep -v -x -F "${1:-/}")" ]; do
    sleep 0.1
    i=$((i + 1))
    if [ $i -ge 600 ]; then echo "no private folder after 60 s" >&2; kill -9 $pid; exit 1; fi
  done
  sleep 1
}

for pair in TERM:15 HUP:1 INT:2; do
  sig=${pair%%:*} number=${pair#*:}
  start
  kill -s $sig $pid
  set +e
  wait $pid
  code=$?
  set -e
  expected=$((128 + number))
  if [ $code -ne $expected ]; then echo "SIG$sig: exit $code, expected $expected" >&2; exit 1; fi
  if [ -n "$(ls -A "$out/tmp")" ]; then echo "SIG$sig left: $(ls -A "$out/tmp")" >&2; exit 1; fi
done

start
killed=$(ls "$out/tmp")
kill -9 $pid
wait $pid || true
start "$killed"
if [ -e "$out/tmp/$killed" ]; then echo "the killed program's folder $killed is still there" >&2; kill -9 $pid; exit 1; fi
kill -s TERM $pid
wait $pid || true
if [ -n "$(ls -A "$out/tmp")" ]; then echo "left: $(ls -A "$out/tmp")" >&2; exit 1; fi
echo "signals end the program in order"
