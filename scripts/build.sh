#!/usr/bin/env bash
# Configures and builds one tree. Usage: build.sh DIR [extra cmake args...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dir=$1
shift
cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
ninja -C "$dir" ${GYRELLE_NINJA_TARGETS:-}
