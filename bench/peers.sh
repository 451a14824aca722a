#!/usr/bin/env bash
# Whole-process timings of gyrelle beside the map and panorama tools people
# use for the same jobs, on one 4096x2048 8-bit TIFF panorama:
#   Mollweide:     gyrelle --set Foky=Fo45   vs  gdalwarp -r lanczos to +proj=moll
#   little planet: gyrelle --set Foky=Fo70   vs  nona, p f4 w4096 h2048 v300
#   square planet: gyrelle --set Foky=Fo70 --canvas 2048x2048
#                                            vs  nona, p f4 w2048 h2048 v300
# Each job runs RUNS times (default 3), gyrelle and its peer alternating, and
# the medians, their ratio (gyrelle / peer: below 1 means gyrelle is faster)
# and gyrelle's speed-up from 1 to 8 threads are printed. Beside each wall
# time is the CPU time the process used (user + system): on a machine that
# others load, the wall times and their ratios vary from run to run, the CPU
# times far less. It installs nothing: a missing peer is named and its job
# is timed for gyrelle alone.
#
# usage: bench/peers.sh [-b BUILD_DIR] [-i INPUT.tif] [-r RUNS] [-k]
#   -b  build tree that holds gyrelle and Gyrelle2.so (default: build)
#   -i  the input; without it the built-in panorama is stretched to 4096x2048
#       with ImageMagick's convert
#   -r  runs per median (default 3)
#   -k  keep the work folder (the outputs) and say where it is
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build"
input=""
runs=3
keep=0
while getopts "b:i:r:kh" opt; do
  case $opt in
    b) build=$(cd "$OPTARG" && pwd) ;;
    i) input=$(realpath "$OPTARG") ;;
    r) runs=$OPTARG ;;
    k) keep=1 ;;
    *) sed -n '2,20p' "$0"; exit 2 ;;
  esac
done

gyrelle="$build/gyrelle"
plugin="$build/Gyrelle2.so"
if [ ! -x "$gyrelle" ] || [ ! -f "$plugin" ]; then
  echo "peers: no gyrelle and Gyrelle2.so in $build (build first, or pass -b DIR)" >&2
  exit 2
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/gyrelle-peers.XXXXXX")
if [ "$keep" = 1 ]; then echo "peers: work folder $work"; else trap 'rm -rf "$work"' EXIT; fi

if [ -z "$input" ]; then
  if ! command -v convert >/dev/null; then
    echo "peers: ImageMagick's convert is missing: pass an input with -i" >&2
    exit 2
  fi
  input="$work/pano.tif"
  convert "$root/resources/default_panorama.png" -resize '4096x2048!' -depth 8 -compress lzw "$input"
fi
read -r width height < <(identify -format '%w %h\n' "$input" 2>/dev/null || echo "4096 2048")

have() { command -v "$1" >/dev/null 2>&1; }

# "WALL CPU" seconds of one command, its output thrown away; the CPU time
# is "nan" where GNU time is missing.
seconds() {
  local t0 t1 cpu="nan" log="$work/time.log"
  t0=$(date +%s.%N)
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f "%U %S" -o "$log" "$@" >/dev/null 2>&1 || { echo "peers: failed: $*" >&2; echo "nan nan"; return; }
    cpu=$(awk 'END {printf "%.3f", $1 + $2}' "$log")
  else
    "$@" >/dev/null 2>&1 || { echo "peers: failed: $*" >&2; echo "nan nan"; return; }
  fi
  t1=$(date +%s.%N)
  awk -v a="$t0" -v b="$t1" -v c="$cpu" 'BEGIN {printf "%.3f %s\n", b - a, c}'
}
wall() { printf '%s\n' "$@" | awk '{print $1}'; }
cpu() { printf '%s\n' "$@" | awk '{print $2}'; }

median() { printf '%s\n' "$@" | sort -g | awk '{a[NR]=$1} END {if (NR % 2) print a[(NR+1)/2]; else print (a[NR/2]+a[NR/2+1])/2}'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {if (b > 0) printf "%.2f", a / b; else print "-"}'; }

# The peers read georeferencing, not a bare picture: a virtual copy of the
# input says it spans the whole sphere (made once, outside the timings).
geo="$work/pano_geo.vrt"
peer_moll=""
if have gdalwarp && have gdal_translate; then
  gdal_translate -q -of VRT -a_srs EPSG:4326 -a_ullr -180 90 180 -90 "$input" "$geo"
  peer_moll=yes
else
  echo "peers: gdalwarp is missing (Debian package gdal-bin): Mollweide timed for gyrelle only"
fi
pto="$work/planet.pto"
square_pto="$work/square.pto"
peer_planet=""
if have nona; then
  # The same little planet, as wide as the panorama or square.
  for out in "$width $height $pto" "2048 2048 $square_pto"; do
    read -r w h file <<<"$out"
    cat >"$file" <<EOF
p f4 w$w h$h v300 n"TIFF_m c:LZW"
m i0
i w$width h$height f4 v360 r0 p-90 y0 n"$input"
EOF
  done
  peer_planet=yes
else
  echo "peers: nona is missing (Debian package hugin-tools): little planet timed for gyrelle only"
fi

run_gyrelle=("$gyrelle" -q --plugin "$plugin")

# job NAME CODE PEER PEER_NAME [GYRELLE_ARGS...]
job() {
  local name=$1 code=$2 peer=$3 peer_name=$4
  shift 4
  local gy=() pe=()
  for ((i = 0; i < runs; i++)); do
    gy+=("$(seconds "${run_gyrelle[@]}" "$input" "$work/gy_$code.tif" --set "Foky=$code" "$@")")
    if [ "$peer" = moll ]; then
      pe+=("$(seconds gdalwarp -q -overwrite -r lanczos -multi -wo NUM_THREADS=ALL_CPUS -t_srs +proj=moll \
        -ts "$width" "$height" "$geo" "$work/peer_moll.tif")")
    elif [ "$peer" = planet ]; then
      pe+=("$(seconds nona -o "$work/peer_planet" -m TIFF "$pto")")
    elif [ "$peer" = square ]; then
      pe+=("$(seconds nona -o "$work/peer_square" -m TIFF "$square_pto")")
    fi
  done
  local g gc p pc
  g=$(median $(wall "${gy[@]}"))
  gc=$(median $(cpu "${gy[@]}"))
  if [ ${#pe[@]} -gt 0 ]; then
    p=$(median $(wall "${pe[@]}"))
    pc=$(median $(cpu "${pe[@]}"))
    printf '%-14s gyrelle %6.2f s (cpu %5.2f s)   %-9s %6.2f s (cpu %5.2f s)   ratio %s (cpu %s)\n' \
      "$name" "$g" "$gc" "$peer_name" "$p" "$pc" "$(ratio "$g" "$p")" "$(ratio "$gc" "$pc")"
  else
    printf '%-14s gyrelle %6.2f s (cpu %5.2f s)   %-9s  missing\n' "$name" "$g" "$gc" "$peer_name"
  fi
}

echo "input $input (${width}x${height}), median of $runs, $(nproc) cores"
job "Mollweide" Fo45 "${peer_moll:+moll}" gdalwarp
job "little planet" Fo70 "${peer_planet:+planet}" nona
job "square planet" Fo70 "${peer_planet:+square}" nona --canvas 2048x2048

# Scaling of the whole run: the same Mollweide job at 1 and at 8 threads.
one=() eight=()
for ((i = 0; i < runs; i++)); do
  one+=("$(seconds "${run_gyrelle[@]}" "$input" "$work/t1.tif" --set Foky=Fo45 --threads 1)")
  eight+=("$(seconds "${run_gyrelle[@]}" "$input" "$work/t8.tif" --set Foky=Fo45 --threads 8)")
done
t1=$(median $(wall "${one[@]}"))
t8=$(median $(wall "${eight[@]}"))
c1=$(median $(cpu "${one[@]}"))
c8=$(median $(cpu "${eight[@]}"))
printf '%-14s 1 thread %6.2f s (cpu %5.2f s)   8 threads %6.2f s (cpu %5.2f s)   speed-up %s\n' "threads" "$t1" "$c1" \
  "$t8" "$c8" "$(ratio "$t1" "$t8")"
if ! cmp -s "$work/t1.tif" "$work/t8.tif"; then
  echo "peers: the 1- and 8-thread outputs differ" >&2
  exit 1
fi
