#!/usr/bin/env bash
# Usage: bash fuzz/run.sh [SECONDS] [TARGET]
# Builds the fuzzers with clang (ASan + UBSan) in build-fuzz/ and runs TARGET (default
# model_reader; also model_pipeline) for SECONDS seconds (default 60) over its own corpus,
# build-fuzz/corpus/TARGET, seeded from the example models, the golden files and the kept
# regressions. A crash leaves its input in build-fuzz/findings/TARGET/; copy it to
# tests/fuzz_regressions/ (reader) or tests/fuzz_pipeline_regressions/ (pipeline) so that
# the normal test run replays it. Extra libFuzzer options may be given in VMOD_FUZZ_ARGS.
set -euo pipefail
seconds="${1:-60}"
target="${2:-model_reader}"
target="${target#fuzz_}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"
case "$target" in
  model_reader) max_len=8192 ;;
  model_pipeline) max_len=4096 ;;
  *) echo "fuzz/run.sh: unknown target '$target' (model_reader or model_pipeline)" >&2; exit 2 ;;
esac

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVMOD_FUZZ=ON -DVMOD_SANITIZE=ON -DVMOD_TESTS=OFF -DVMOD_BENCH=OFF \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target "fuzz_$target" -j "${VMOD_FUZZ_JOBS:-2}"

corpus="$build/corpus/$target"
findings="$build/findings/$target"
mkdir -p "$corpus" "$findings"
# Seeds: every model file of the tree and every kept regression of either target.
find "$root/examples" "$root/tests" -type f \
  \( -name '*.vmf' -o -path '*/fuzz_regressions/*' -o -path '*/fuzz_pipeline_regressions/*' \) \
  -exec cp -t "$corpus" {} + 2>/dev/null || true

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
# shellcheck disable=SC2086
"$build/fuzz/fuzz_$target" "$corpus" -dict="$root/fuzz/model_reader.dict" \
  -max_total_time="$seconds" -max_len="$max_len" -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$findings/" -print_final_stats=1 ${VMOD_FUZZ_ARGS:-}
