#!/bin/sh
# Runs a libFuzzer target for a bounded time: $1 fuzzer, $2 scratch folder for the
# inputs it finds, $3 the kept corpus (read), $4 seconds.
set -eu
rm -rf "$2"
mkdir -p "$2"
exec "$1" -max_total_time="$4" -timeout=10 -rss_limit_mb=2048 -max_len=512 -print_final_stats=1 \
  -artifact_prefix="$2/" "$2" "$3"
