#!/usr/bin/env bash
# A batch in one process against a shell loop of single runs: the same
# settings on FILES 4096x2048 8-bit TIFF panoramas (default 8), once as
#   gyrelle -q --set Foky=MODE -o OUTDIR IN...
# and once as
#   for f in IN...; do gyrelle -q --set Foky=MODE "$f" OUTDIR/...; done
# Each runs RUNS times (default 3), alternating; the medians of the wall and
# CPU (user + system) times, their ratio (batch / loop: below 1 means the
# batch is faster) and a check that both wrote the same bytes are printed.
# On a machine that others load the wall times vary from run to run, the CPU
# times far less.
#
# usage: bench/batch.sh [-b BUILD_DIR] [-m MODE] [-n FILES] [-r RUNS] [-k]
#   -b  build tree that holds gyrelle and Gyrelle2.so (default: build)
#   -m  the output mode, a code or a name (default: Fo45, Mollweide)
#   -n  how many panoramas (default 8)
#   -r  runs per median (default 3)
#   -k  keep the work folder and say where it is
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
mode=Fo45
files=8
runs=3
keep=0
while getopts "b:m:n:r:kh" opt; do
  case $opt in
    b) build=$(cd "$OPTARG" && pwd) ;;
    m) mode=$OPTARG ;;
    n) files=$OPTARG ;;
    r) runs=$OPTARG ;;
    k) keep=1 ;;
    *) sed -n '2,19p' "$0"; exit 2 ;;
  esac
done

. "$root/bench/bench_setup.sh"
bench_setup batch "$build" "$keep"

# Different panoramas, so that no file is a copy of another: the built-in one
# turned by a step of longitude each.
inputs=()
for ((i = 0; i < files; i++)); do
  f="$work/pano$i.tif"
  convert "$root/resources/default_panorama.png" -resize '4096x2048!' -roll "+$((i * 512))+0" -depth 8 \
    -compress lzw "$f"
  inputs+=("$f")
done

# "WALL CPU" seconds of one command; CPU "nan" without GNU time.
seconds() {
  local t0 t1 cpu="nan" log="$work/time.log"
  t0=$(date +%s.%N)
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f "%U %S" -o "$log" "$@" >/dev/null 2>&1 || { echo "batch: failed: $*" >&2; exit 1; }
    cpu=$(awk 'END {printf "%.3f", $1 + $2}' "$log")
  else
    "$@" >/dev/null 2>&1 || { echo "batch: failed: $*" >&2; exit 1; }
  fi
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" -v c="$cpu" 'BEGIN {printf "%.3f %s\n", b - a, c}'
}
median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }

mkdir -p "$work/batch" "$work/loop"
loop_script='g=$1; m=$2; out=$3; shift 3; for f in "$@"; do "$g" -q --set "Foky=$m" "$f" "$out/$(basename "$f")"; done'
bw=() bc=() lw=() lc=()
for ((i = 0; i < runs; i++)); do
  read -r w c < <(seconds "$gyrelle" -q --set "Foky=$mode" -o "$work/batch" "${inputs[@]}")
  bw+=("$w") bc+=("$c")
  read -r w c < <(seconds bash -c "$loop_script" loop "$gyrelle" "$mode" "$work/loop" "${inputs[@]}")
  lw+=("$w") lc+=("$c")
done

same=yes
for f in "${inputs[@]}"; do
  cmp -s "$work/batch/$(basename "$f")" "$work/loop/$(basename "$f")" || same=no
done

b=$(median "${bw[@]}") bcpu=$(median "${bc[@]}") l=$(median "${lw[@]}") lcpu=$(median "${lc[@]}")
echo "$files panoramas of 4096x2048, output mode $mode, median of $runs, $(nproc) cores"
printf 'batch (one process)  %6.2f s (cpu %6.2f s)\n' "$b" "$bcpu"
printf 'loop of single runs  %6.2f s (cpu %6.2f s)\n' "$l" "$lcpu"
echo "ratio batch / loop   $(ratio "$b" "$l") (cpu $(ratio "$bcpu" "$lcpu"))"
echo "same bytes           $same"
[ "$same" = yes ]
