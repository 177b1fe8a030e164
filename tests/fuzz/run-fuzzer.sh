#!/bin/sh
# Runs the field editor's libFuzzer target: $1 the fuzzer, $2 a scratch folder for
# the inputs it finds, $3 the kept corpus (only read), $4 seconds of fuzzing. With 0
# seconds every input of the corpus is run once and nothing new is looked for: the
# quick, repeatable check of the test run. A longer run starts from the corpus and
# keeps what it finds, and any crashing input, in the scratch folder.
set -eu
fuzzer=$1 work=$2 corpus=$3 seconds=$4
case $seconds in
  ''|*[!0-9]*) echo "run-fuzzer.sh: seconds must be a whole number, not '$seconds'" >&2; exit 2 ;;
esac
rm -rf "$work"
mkdir -p "$work"
if [ "$seconds" -eq 0 ]; then
  exec "$fuzzer" -runs=0 -timeout=10 -rss_limit_mb=2048 -max_len=512 -artifact_prefix="$work/" "$corpus"
fi
exec "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=512 -print_final_stats=1 \
  -artifact_prefix="$work/" "$work" "$corpus"
