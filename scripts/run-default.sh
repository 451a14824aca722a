#!/usr/bin/env bash
# Sets up what is missing, builds, and renders the built-in default panorama
# as a Mollweide map (output mode 46, code Fo45). Options given are passed to
# gyrelle after the map setting, so they win: for example
#   scripts/run-default.sh --set Foky=Fo70 --set 0034=-90 --set 0037=110 --canvas 1024x1024
#   (a little planet, the ground at the centre)
# Usage: scripts/run-default.sh [gyrelle options...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup-debian.sh"
GYRELLE_NINJA_TARGETS="gyrelle gyrelle2" bash "$root/scripts/build.sh" "$root/build"
mkdir -p "$root/out"
result="$root/out/default_result.png"
"$root/build/gyrelle" --set Foky=Fo45 "$@" "$root/resources/default_panorama.png" "$result"
echo "result: $result (the built-in panorama as a Mollweide map)"
