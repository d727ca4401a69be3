#!/usr/bin/env bash
# Builds the libFuzzer target of the TORVA text and LP readers with clang
# (address and undefined-behaviour sanitizers) and runs it for a bounded time.
#   scripts/fuzz-text.sh [SECONDS] [torva|lp]     (default 600, both readers)
# With a reader named, only seeds of that reader are used (the fuzzer may
# still flip the option byte, so the other reader is exercised too). Work
# files go to build-fuzz-text-<reader>/: binary, growing corpus, crash inputs.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-600}"
which="${2:-both}"
out="$root/build-fuzz-text-$which"
mkdir -p "$out/corpus"
clang++-14 -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -I"$root" -I"$root/include" \
  "$root/tests/fuzz/fuzz_text_readers.cpp" "$root/io/torva_text_reader.cpp" "$root/io/lp_reader.cpp" \
  "$root/io/text_reader_base.cpp" "$root/io/text_scan.cpp" "$root/io/text_model.cpp" \
  "$root/io/torva_text_writer.cpp" "$root/io/text_io.cpp" "$root/io/name_table.cpp" \
  "$root/base/model_data.cpp" -lz -o "$out/fuzz_text_readers"
cd "$out"
# Seeds get a leading option byte: 0 for TORVA text, 1 for LP.
if [ "$which" != lp ]; then
  for f in "$root"/tests/fuzz/corpus/*.ltx; do printf '\x00' | cat - "$f" > "corpus/seed-0-$(basename "$f")"; done
fi
if [ "$which" != torva ]; then
  for f in "$root"/tests/fuzz/corpus/*.lp; do printf '\x01' | cat - "$f" > "corpus/seed-1-$(basename "$f")"; done
fi
exec ./fuzz_text_readers -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus
