#!/bin/sh
# Builds the compiler and the benchmark tools in build-bench (the default,
# optimised build type) and prints the benchmark table. Arguments go to
# "rplgen_bench run": --runs N, --sizes 1,10,100, --shapes realistic,tiny,...,
# --keep. The source programs are written to $RPLGEN_BENCH_DIR, by default
# /tmp/rplgen-bench, and removed once measured unless --keep is given.
set -e
cd "$(dirname "$0")/.."
build=build-bench
cmake -S . -B "$build" -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j2 --target rplgen rplgen_floor rplgen_bench >/dev/null
exec "$build/bench/rplgen_bench" run --compiler "$build/src/rplgen/rplgen" \
  --floor "$build/bench/rplgen_floor" --dir "${RPLGEN_BENCH_DIR:-/tmp/rplgen-bench}" "$@"
