#!/bin/sh
# A time-bounded fuzz run: run_bounded.sh FUZZER SECONDS CORPUS DICT ARTIFACT_PREFIX
# New inputs go to a temporary directory (removed afterwards); the committed corpus only seeds
# the run. A crash leaves its input at ARTIFACT_PREFIX and fails the run.
set -u
fuzzer=$1 seconds=$2 corpus=$3 dict=$4 prefix=$5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
dict_arg=
[ -f "$dict" ] && dict_arg=-dict=$dict
"$fuzzer" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 $dict_arg \
  -artifact_prefix="$prefix" "$work" "$corpus"
