#!/bin/sh
# run-fuzz.sh TARGET WORK_CORPUS SEED_CORPUS SECONDS: a short libFuzzer run.
target=$1 work=$2 seed=$3 seconds=$4
mkdir -p "$work"
if [ -d "$seed" ]; then
  exec "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$work" "$seed"
fi
exec "$target" -max_total_time="$seconds" -rss_limit_mb=2048 -print_final_stats=1 "$work"
