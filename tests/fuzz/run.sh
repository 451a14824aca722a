#!/bin/sh
# Builds the libFuzzer targets with clang under AddressSanitizer and
# UndefinedBehaviorSanitizer and runs each for a bounded time, starting from
# the seed corpora. Exits non-zero when a target finds a crash.
#
#   tests/fuzz/run.sh [build-dir]        (FUZZ_SECONDS=60 by default)
set -eu
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
build=${1:-$root/build-fuzz}
seconds=${FUZZ_SECONDS:-60}

cmake -S "$root" -B "$build" -G Ninja \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DGYRELLE_BENCH=OFF -DGYRELLE_FUZZ=ON \
  -DGYRELLE_SANITIZE=address,undefined \
  -DCMAKE_C_FLAGS=-fsanitize=fuzzer-no-link \
  "-DCMAKE_CXX_FLAGS=-fsanitize=fuzzer-no-link -fsanitize-coverage-ignorelist=$here/coverage_ignore.txt" >/dev/null
ninja -C "$build" fuzz_settings_reader fuzz_descriptor_reader fuzz_jpeg_decode

# The three readers are fuzzed side by side, each on one core, for the same
# time; each report follows once all are done.
targets="settings_reader descriptor_reader jpeg_decode"
for target in $targets; do
  corpus="$build/fuzz-corpus/$target"
  mkdir -p "$corpus"
  seeds="$here/corpus/$target"
  [ "$target" = settings_reader ] && cp "$root"/tests/frame/settings/data/*.q2q "$corpus"/ 2>/dev/null || true
  echo "== $target: $seconds s"
  (
    if ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
        "$build/tests/fuzz/fuzz_$target" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=10 \
        -artifact_prefix="$build/fuzz-$target-" "$corpus" "$seeds" 2>"$build/fuzz-$target.log"; then
      echo 0 >"$build/fuzz-$target.status"
    else
      echo 1 >"$build/fuzz-$target.status"
    fi
  ) &
done
wait

status=0
for target in $targets; do
  if [ "$(cat "$build/fuzz-$target.status" 2>/dev/null)" != 0 ]; then
    # The readers name every value they put back, once per input: the whole
    # log stays beside the build, the report shows its end.
    tail -n 60 "$build/fuzz-$target.log"
    echo "!! $target failed; the input is in $build/fuzz-$target-*, the log in $build/fuzz-$target.log"
    status=1
  else
    echo "== $target"
    grep -E '^(#[0-9]+[[:space:]]+DONE|Done )' "$build/fuzz-$target.log" | tail -n 2 || true
  fi
done
exit $status
