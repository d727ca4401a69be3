#!/usr/bin/env bash
# MIP benchmark: runtorva and CBC side by side on MIPLIB 3 models of the
# shared data, each with the same wall-clock limit and one thread.
#
#   bench/mip/run.sh [-t SECONDS] [-r RUNTORVA] [MODEL ...]
#
# Without models every model of ../shared/data/miplib3 runs (up to two hours
# at the 60 s default). Per model it prints status, objective, nodes, time
# and the gap at the limit of both solvers, then the solved counts and the
# shifted geometric mean of the times (shift 10 s, unsolved counted at the
# limit) with their ratio. A solve counts as solved when the solver proved
# optimality and the objective agrees with objectives.tsv to 1e-6 relative.
set -u
limit=60
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
runtorva=$root/build/app/runtorva
while getopts "t:r:" opt; do
  case $opt in
    t) limit=$OPTARG ;;
    r) runtorva=$OPTARG ;;
    *) echo "usage: $0 [-t SECONDS] [-r RUNTORVA] [MODEL ...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
data=${TORVA_SHARED_DATA:-$root/../shared/data}/miplib3
if [ ! -f "$data/objectives.tsv" ]; then
  echo "MIPLIB data not found in $data; nothing to run" >&2
  exit 0
fi
command -v cbc >/dev/null || { echo "cbc not installed; the peer is missing" >&2; exit 1; }
[ -x "$runtorva" ] || { echo "runtorva not built: $runtorva" >&2; exit 1; }
if [ $# -eq 0 ]; then
  set -- $(awk '!/^#/ {print $1}' "$data/objectives.tsv")
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

ref_of() { awk -v m="$1" '$1 == m {print $5}' "$data/objectives.tsv"; }
# agrees REF VALUE: 0 when VALUE matches REF to 1e-6 relative (absolute at 0).
agrees() {
  awk -v r="$1" -v v="$2" 'BEGIN { d = r - v; if (d < 0) d = -d; s = r < 0 ? -r : r; if (s < 1) s = 1;
                                   exit !(v != "" && v != "nan" && d <= 1e-6 * s) }'
}

printf "%-10s | %-9s %15s %8s %8s %8s | %-9s %15s %8s %8s %8s\n" model torva objective nodes time gap% cbc objective nodes time gap%
for m in "$@"; do
  f=$data/$m.mps.gz
  [ -f "$f" ] || { echo "$m: no file" >&2; continue; }
  ref=$(ref_of "$m")
  # runtorva
  start=$(date +%s.%N)
  timeout $((limit * 2 + 30)) "$runtorva" -q --time-limit "$limit" "$f" > "$tmp/t.out" 2>&1
  end=$(date +%s.%N)
  t_status=$(sed -n 's/^Model status : //p' "$tmp/t.out" | head -1)
  t_obj=$(sed -n 's/^Objective value : //p' "$tmp/t.out" | head -1)
  t_nodes=$(sed -n 's/^Nodes : //p' "$tmp/t.out" | head -1)
  t_gap=$(sed -n 's/^Gap : \(.*\)%/\1/p' "$tmp/t.out" | head -1)
  t_time=$(sed -n 's/^Solve time : //p' "$tmp/t.out" | head -1)
  [ -n "$t_time" ] || t_time=$(echo "$end - $start" | bc)
  t_ok=0
  if [ "$t_status" = "Optimal" ] && agrees "$ref" "$t_obj"; then t_ok=1; fi
  # cbc
  start=$(date +%s.%N)
  timeout $((limit * 2 + 30)) cbc "$f" -sec "$limit" -threads 1 -solve -quit > "$tmp/c.out" 2>&1
  end=$(date +%s.%N)
  c_time=$(echo "$end - $start" | bc)
  c_result=$(sed -n 's/^Result - //p' "$tmp/c.out" | head -1)
  c_obj=$(awk '/^Objective value:/ {print $3; exit}' "$tmp/c.out")
  c_nodes=$(awk '/^Enumerated nodes:/ {print $3; exit}' "$tmp/c.out")
  c_bound=$(awk '/^Lower bound:/ {print $3; exit}' "$tmp/c.out")
  c_gap=$(awk -v o="${c_obj:-nan}" -v b="${c_bound:-}" 'BEGIN { if (b == "" || o == "nan") { print (b == "" ? "0.00" : "nan"); exit }
            d = o - b; if (d < 0) d = -d; s = (o < 0 ? -o : o); t = (b < 0 ? -b : b); if (t > s) s = t; if (s < 1) s = 1; printf "%.2f", 100 * d / s }')
  c_ok=0
  case "$c_result" in Optimal*) agrees "$ref" "$c_obj" && c_ok=1 ;; esac
  [ -n "$c_result" ] || c_result="error"
  printf "%-10s | %-9s %15s %8s %8.2f %8s | %-9s %15s %8s %8.2f %8s\n" "$m" "${t_status:-error}" "${t_obj:-}" \
    "${t_nodes:-}" "$t_time" "${t_gap:-}" "$(echo "$c_result" | cut -c1-9)" "${c_obj:-}" "${c_nodes:-}" "$c_time" "$c_gap"
  echo "$m $t_ok $t_time $c_ok $c_time" >> "$tmp/summary"
done
[ -f "$tmp/summary" ] || exit 0
awk -v lim="$limit" '
  { n++; ts += $2; cs += $4
    tt = $2 ? $3 : lim; ct = $4 ? $5 : lim
    if (tt > lim) tt = lim; if (ct > lim) ct = lim
    tl += log(tt + 10); cl += log(ct + 10)
    if ($4 && !$2) lost = lost " " $1 }
  END {
    tg = exp(tl / n) - 10; cg = exp(cl / n) - 10
    printf "\nmodels %d, limit %d s\n", n, lim
    printf "solved: runtorva %d, cbc %d\n", ts, cs
    printf "shifted geometric mean time (shift 10 s): runtorva %.2f s, cbc %.2f s, ratio %.2f\n", tg, cg, tg / cg
    printf "solved by cbc only:%s\n", lost == "" ? " none" : lost
  }' "$tmp/summary"
