#!/usr/bin/env bash
# Sets up what is missing, builds, and renders the built-in default panorama.
# Usage: scripts/run-default.sh [gyrelle options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
GYRELLE_NINJA_TARGETS="gyrelle gyrelle2" bash "$root/scripts/build.sh" "$root/build"
mkdir -p "$root/out"
result="$root/out/default_result.png"
"$root/build/gyrelle" "$@" "$root/resources/default_panorama.png" "$result"
echo "result: $result"
