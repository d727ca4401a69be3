#!/bin/sh
# Writes optimal bases of Netlib models for the LU benchmark (bench_lu): clp
# solves each model with its dual simplex and saves the final basis in MPS
# basis format. The fixture folder is made outside version control.
#
# Usage: scripts/lu-bases.sh [OUTDIR [MODEL...]]
#   OUTDIR defaults to build/bench-bases; MODELs default to the Netlib models
#   of the shared data folder with at least 1000 rows.
set -eu
here=$(cd "$(dirname "$0")/.." && pwd)
data=${TORVA_SHARED_DATA:-$here/../shared/data}/netlib
out=${1:-$here/build/bench-bases}
[ $# -gt 0 ] && shift
command -v clp >/dev/null 2>&1 || { echo "clp not found" >&2; exit 1; }
[ -d "$data" ] || { echo "no Netlib models under $data" >&2; exit 1; }
mkdir -p "$out"
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT INT TERM

# Number of rows of a gzipped MPS file (lines of the ROWS section other than
# the objective's N row).
rows_of() {
  gzip -dc "$1" | awk '/^ROWS/ {on=1; next} /^[A-Z]/ {if (on) exit} on && $1 != "N" {n++} END {print n+0}'
}

if [ $# -gt 0 ]; then
  models="$*"
else
  models=""
  for f in "$data"/*.mps.gz; do
    [ "$(rows_of "$f")" -ge 1000 ] && models="$models $(basename "$f" .mps.gz)"
  done
fi

for m in $models; do
  src="$data/$m.mps.gz"
  [ -f "$src" ] || { echo "$m: not found" >&2; continue; }
  gzip -dc "$src" > "$tmp/$m.mps"
  if timeout 600 clp "$tmp/$m.mps" -dualsimplex -basisOut "$out/$m.bas" > "$tmp/$m.log" 2>&1 \
      && [ -s "$out/$m.bas" ]; then
    echo "$m: $(grep -m1 -i 'objective' "$tmp/$m.log" | tr -s ' ')"
  else
    echo "$m: clp failed (see its log below)" >&2
    tail -5 "$tmp/$m.log" >&2
  fi
  rm -f "$tmp/$m.mps"
done
