#!/usr/bin/env bash
# Installs the library into a temporary prefix, builds the example C host
# against it with pkg-config only, and runs it; then builds a CMake consumer
# through find_package(torva).
set -euo pipefail
build=$1
src=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -Werror ${HOST_FLAGS:-} -o "$prefix/host" "$src/examples/host.c" \
   $(pkg-config --cflags --libs torva)
LD_LIBRARY_PATH="$prefix/lib" "$prefix/host"
cmake -S "$src/examples/cmake_consumer" -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_C_FLAGS="${HOST_FLAGS:-}" -DCMAKE_EXE_LINKER_FLAGS="${HOST_FLAGS:-}" >/dev/null
cmake --build "$prefix/consumer" >/dev/null
LD_LIBRARY_PATH="$prefix/lib" "$prefix/consumer/consumer"
echo "installed host and CMake consumer ran"
