#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test suite: the plain build,
# then AddressSanitizer + UndefinedBehaviorSanitizer over the unit and
# end-to-end tests, then ThreadSanitizer over the threaded code.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)
bash "$root/scripts/setup-debian.sh"

# The compiler cache stays in the user's own folder (the scratch home below
# goes at exit); paths below the checkout's parent are hashed relative, so
# another clone of the tree reuses what this one compiled.
export CCACHE_DIR="${CCACHE_DIR:-$HOME/.cache/ccache}"
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
export CCACHE_NOHASHDIR=1

# Tests write Preferences files; keep them out of the user's own folder.
# Each end-to-end run gets a configuration folder of its own unless a test
# sets one, so suites running side by side never see each other's cached
# settings; a test that falls back to the home folder gets a scratch one.
HOME=$(mktemp -d)
export HOME
unset XDG_CONFIG_HOME
trap 'rm -rf "$HOME"' EXIT

echo "== build and test" >&2
bash "$root/scripts/build.sh" "$root/build" -DGYRELLE_TESTS=ON -DGYRELLE_BENCH=ON
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== AddressSanitizer + UndefinedBehaviorSanitizer" >&2
bash "$root/scripts/build.sh" "$root/build-asan" -DGYRELLE_SANITIZE=address,undefined -DGYRELLE_BENCH=OFF
# The sweep of every mode at one and eight threads checks thread-count
# determinism, which the plain build and ThreadSanitizer cover; under the
# sanitizers it alone would take most of CI's time.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  GTEST_FILTER=-*Determinism.EveryModeWithEveryOverlayOnOneAndEightThreads* \
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

echo "== fuzzing the file and descriptor readers" >&2
FUZZ_SECONDS=${FUZZ_SECONDS:-45} sh "$root/tests/fuzz/run.sh" "$root/build-fuzz"

echo "== ThreadSanitizer (worker pool, pyramids, renderer, the host's coder and freer)" >&2
bash "$root/scripts/build.sh" "$root/build-tsan" -DGYRELLE_SANITIZE=thread -DGYRELLE_BENCH=OFF
# The sweep that builds the view of every output mode runs on one thread;
# the plain and AddressSanitizer runs cover it.
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
  GTEST_FILTER=-ViewBuild.AModeRendersIffItsRouteOrItsSolidExists \
  ctest --test-dir "$root/build-tsan" --output-on-failure -j "$jobs" -L tsan
