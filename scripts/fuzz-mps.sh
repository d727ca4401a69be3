#!/usr/bin/env bash
# Builds the libFuzzer target of the MPS reader with clang (address and
# undefined-behaviour sanitizers) and runs it for a bounded time on one core.
#   scripts/fuzz-mps.sh [SECONDS]     (default 600)
# Work files go to build-fuzz/: the binary, the growing corpus and any crash
# inputs (crash-*, leak-*, timeout-*). The seed corpus is tests/fuzz/corpus.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
out="$root/build-fuzz"
mkdir -p "$out/corpus"
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" -I"$root/include" \
  "$root/tests/fuzz/fuzz_mps_reader.cpp" "$root/io/mps_reader.cpp" "$root/io/mps_writer.cpp" \
  "$root/io/text_io.cpp" "$root/io/name_table.cpp" -lz -o "$out/fuzz_mps_reader"
cd "$out"
# Each seed gets a leading option byte (the format); both layouts are seeded.
for f in "$root"/tests/fuzz/corpus/*.mps; do
  for b in 0 1 2 3; do
    printf "\\x0$b" | cat - "$f" > "corpus/seed-$b-$(basename "$f")"
  done
done
# Model-mode seeds: option byte 0x10, then three bytes per column.
for k in 0 1 2 3; do
  { printf "\\x10"; head -c 48 /dev/urandom; } > "corpus/seed-model-$k"
done
exec ./fuzz_mps_reader -max_total_time="$seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus
