#!/usr/bin/env bash
# Builds the model-reader fuzzer with clang (ASan + UBSan) in build-fuzz/ and runs it for
# SECONDS seconds (default 60) over a corpus seeded from the example models, the golden
# files and the kept regressions. A crash leaves its input in build-fuzz/findings/; copy
# it to tests/fuzz_regressions/ so that the normal test run replays it.
set -euo pipefail
seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$root/build-fuzz"

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVMOD_FUZZ=ON -DVMOD_SANITIZE=ON -DVMOD_TESTS=OFF -DVMOD_BENCH=OFF \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link -DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link >/dev/null
cmake --build "$build" --target fuzz_model_reader -j "${VMOD_FUZZ_JOBS:-2}"

corpus="$build/corpus"
findings="$build/findings"
mkdir -p "$corpus" "$findings"
# Seeds: every model file of the tree and every kept regression.
find "$root/examples" "$root/tests" -type f \( -name '*.vmf' -o -path '*/fuzz_regressions/*' \) \
  -exec cp -t "$corpus" {} + 2>/dev/null || true

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:${ASAN_OPTIONS:-}"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1:${UBSAN_OPTIONS:-}"
"$build/fuzz/fuzz_model_reader" "$corpus" -dict="$root/fuzz/model_reader.dict" \
  -max_total_time="$seconds" -max_len=8192 -timeout=10 -rss_limit_mb=2048 \
  -artifact_prefix="$findings/" -print_final_stats=1
