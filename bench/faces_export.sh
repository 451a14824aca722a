#!/usr/bin/env bash
# The whole `--save faces` export of solids with hundreds of face groups:
# geodesic 20 I 5 (Fq21, 198) and twistless rind (Fr49, 248) by default, from a 256x128 panorama,
# size=256, one layer per face group. Each mode runs RUNS times (default 2);
# every run's wall and CPU (user + system) seconds are printed, and a check
# that all runs of a mode wrote the same bytes. On a machine that others load
# the wall times vary from run to run, the CPU times far less.
#
# usage: bench/faces_export.sh [-b BUILD_DIR] [-m "MODE..."] [-r RUNS] [-t THREADS] [-k]
#   -b  build tree that holds gyrelle and Gyrelle2.so (default: build)
#   -m  output modes, codes or names (default: "Fq21 Fr49")
#   -r  runs per mode (default 2)
#   -t  worker threads (default: every core)
#   -k  keep the work folder and say where it is
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
modes="Fq21 Fr49"
runs=2
threads=""
keep=0
while getopts "b:m:r:t:kh" opt; do
  case $opt in
    b) build=$(cd "$OPTARG" && pwd) ;;
    m) modes=$OPTARG ;;
    r) runs=$OPTARG ;;
    t) threads=$OPTARG ;;
    k) keep=1 ;;
    *) sed -n '2,15p' "$0"; exit 2 ;;
  esac
done

. "$root/bench/bench_setup.sh"
bench_setup faces_export "$build" "$keep"
export HOME="$work/home"
mkdir -p "$HOME"

input="$work/p256.png"
convert "$root/resources/default_panorama.png" -resize '256x128!' "$input"
threadArgs=()
[ -n "$threads" ] && threadArgs=(--threads "$threads")

printf '%-6s %4s %9s %9s\n' mode run wall_s cpu_s
for mode in $modes; do
  first=""
  for ((r = 1; r <= runs; r++)); do
    out="$work/m$mode-r$r"
    mkdir -p "$out"
    tfile="$work/time"
    /usr/bin/time -f '%e %U %S' -o "$tfile" "$gyrelle" -q "${threadArgs[@]}" --set "Foky=$mode" \
      --save "faces=$out/faces.psd,size=256" "$input" "$out/render.png"
    read -r wall user sys <"$tfile"
    cpu=$(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.2f", u + s }')
    printf '%-6s %4d %9s %9s\n' "$mode" "$r" "$wall" "$cpu"
    if [ -z "$first" ]; then
      first="$out/faces.psd"
    elif ! cmp -s "$first" "$out/faces.psd"; then
      echo "faces_export: mode $mode run $r wrote other bytes than run 1" >&2
      exit 1
    fi
  done
done
