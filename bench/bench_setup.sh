# Sourced by the whole-run benchmarks: checks that BUILD holds gyrelle and
# the plug-in and that ImageMagick is there, then makes the work folder
# ($work, removed at exit unless KEEP is 1) and keeps the user's cached
# settings out of the runs. Usage: bench_setup NAME BUILD KEEP
bench_setup() {
  local name=$1 build=$2 keep=$3
  gyrelle="$build/gyrelle"
  if [ ! -x "$gyrelle" ] || [ ! -f "$build/Gyrelle2.so" ]; then
    echo "$name: no gyrelle and Gyrelle2.so in $build (build first, or pass -b DIR)" >&2
    exit 2
  fi
  if ! command -v convert >/dev/null; then
    echo "$name: ImageMagick's convert is missing (Debian package imagemagick)" >&2
    exit 2
  fi
  work=$(mktemp -d "${TMPDIR:-/tmp}/gyrelle-$name.XXXXXX")
  if [ "$keep" = 1 ]; then echo "$name: work folder $work"; else trap 'rm -rf "$work"' EXIT; fi
  # No settings cached from the user's own dialog.
  export XDG_CONFIG_HOME="$work/config"
}
