#!/usr/bin/env bash
# Runs one libFuzzer target for a while, starting from its seed corpus.
# Usage: run-fuzzer.sh TARGET SEED_DIR WORK_DIR SECONDS [extra libFuzzer flags]
# New inputs go to WORK_DIR (the seeds stay untouched); crashes are written next to it.
set -euo pipefail
target=$1 seeds=$2 work=$3 seconds=$4; shift 4
mkdir -p "$work" "$work.crashes"
exec "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$work.crashes/" "$@" "$work" "$seeds"
