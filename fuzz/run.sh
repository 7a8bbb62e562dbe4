#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs every fuzz target built in BUILD for SECONDS each, one after another.
#   fuzz/run.sh BUILD SECONDS
# Seeds are read from fuzz/corpus/NAME, words to splice in from fuzz/NAME.dict
# where there is one; what the fuzzer adds to the seeds, and any crashing
# input, go to BUILD/fuzz-corpus/NAME and BUILD/fuzz-artifacts/NAME.
# Fails when any target crashed, leaked, hung or broke one of its checks.
set -u

build=$(cd "$1" && pwd)
seconds=$2
seeds=$(cd "$(dirname "$0")" && pwd)/corpus

failed=""
for binary in "$build"/fuzz/fuzz_*; do
    [ -x "$binary" ] || continue
    name=${binary##*/fuzz_}
    case $name in
    record) max_len=64 ;;          # a code is at most 28 characters
    wave | bitmap) max_len=2048 ;;
    *) max_len=4096 ;;
    esac
    corpus=$build/fuzz-corpus/$name
    artifacts=$build/fuzz-artifacts/$name
    log=$build/fuzz-$name.log
    mkdir -p "$corpus" "$artifacts"
    set --
    [ -f "$seeds/../$name.dict" ] && set -- -dict="$seeds/../$name.dict"
    # The work folder is the build folder, so nothing lands in the sources.
    if (cd "$build" && "$binary" -max_total_time="$seconds" -max_len="$max_len" \
        -rss_limit_mb=1024 -timeout=20 -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "$@" "$corpus" "$seeds/$name") >"$log" 2>&1; then
        result=ok
    else
        result=FAILED
        failed="$failed $name"
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "fuzz_$name: $result, ${runs:-?} runs, ${rate:-?}/s (log: $log)"
    if [ "$result" = FAILED ]; then
        grep -E '^(fuzz check failed|==[0-9]+==ERROR|SUMMARY|artifact_prefix)' "$log" || tail -n 20 "$log"
    fi
done

if [ -n "$failed" ]; then
    echo "fuzzing found faults in:$failed" >&2
    exit 1
fi
