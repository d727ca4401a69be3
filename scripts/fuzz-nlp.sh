#!/usr/bin/env bash
# Builds the libFuzzer targets of the MPI reader and of the instruction-list
# validator and evaluator with clang (address and undefined-behaviour
# sanitizers) and runs one of them for a bounded time on one core.
#   scripts/fuzz-nlp.sh mpi|instruct [SECONDS]     (default 900)
# Work files go to build-fuzz/<target>/: the binary, the growing corpus and
# any crash inputs. The MPI seed corpus is tests/fuzz/corpus_mpi.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
target="${1:?mpi or instruct}"
seconds="${2:-900}"
out="$root/build-fuzz/$target"
mkdir -p "$out/corpus"
flags=(-std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root" -I"$root/include")
case "$target" in
  mpi)
    clang++-14 "${flags[@]}" "$root/tests/fuzz/fuzz_mpi_reader.cpp" "$root/io/mpi_reader.cpp" \
      "$root/io/mpi_writer.cpp" "$root/io/text_io.cpp" "$root/nlp/opcodes.cpp" "$root/nlp/validate.cpp" \
      -lz -o "$out/fuzz"
    cp "$root"/tests/fuzz/corpus_mpi/* "$out/corpus/" ;;
  instruct)
    clang++-14 "${flags[@]}" "$root/tests/fuzz/fuzz_instruct.cpp" "$root/nlp/opcodes.cpp" \
      "$root/nlp/validate.cpp" "$root/nlp/compile.cpp" "$root/nlp/sweep.cpp" "$root/nlp/ops.cpp" \
      "$root/nlp/ops_math.cpp" "$root/nlp/ops_exact.cpp" "$root/stoc/distributions.cpp" "$root/stoc/stable.cpp" -o "$out/fuzz" ;;
  *) echo "unknown target $target" >&2; exit 2 ;;
esac
cd "$out"
exec ./fuzz -max_total_time="$seconds" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus
