#!/bin/sh
# Builds the programs and the benchmark tools in build-bench (the default,
# optimised build type) and prints a benchmark table.
#
#   bench/run.sh [rplgen] [ARGS]   the compiler's table. ARGS go to
#       "rplgen_bench run": --runs N, --sizes 1,10,100, --shapes realistic,...,
#       --keep. The source programs are written to $RPLGEN_BENCH_DIR, by default
#       /tmp/rplgen-bench, and removed once measured unless --keep is given.
#   bench/run.sh rplrun [--runs N]  the runner's table.
set -e
cd "$(dirname "$0")/.."
build=build-bench
program=rplgen
case ${1:-} in rplgen | rplrun) program=$1 && shift ;; esac
cmake -S . -B "$build" -DBUILD_TESTING=OFF >/dev/null
if [ "$program" = rplrun ]; then
  cmake --build "$build" -j2 --target rplrun rplgen rplrun_floor rplrun_bench >/dev/null
  exec "$build/bench/rplrun_bench" --rplrun "$build/src/rplrun/rplrun" \
    --rplgen "$build/src/rplgen/rplgen" --floor "$build/bench/rplrun_floor" "$@"
fi
cmake --build "$build" -j2 --target rplgen rplgen_floor rplgen_bench >/dev/null
exec "$build/bench/rplgen_bench" run --compiler "$build/src/rplgen/rplgen" \
  --floor "$build/bench/rplgen_floor" --dir "${RPLGEN_BENCH_DIR:-/tmp/rplgen-bench}" "$@"
