#!/usr/bin/env bash
# Installs the library into a temporary prefix, builds the example C host
# against it with pkg-config only, and runs it and the installed runtorva
# without LD_LIBRARY_PATH; then builds the CMake consumer template through
# find_package(torva) from a copy outside the source tree.
set -euo pipefail
build=$1
src=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" >/dev/null
unset LD_LIBRARY_PATH
export PKG_CONFIG_PATH="$prefix/lib/pkgconfig"
# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -Werror ${HOST_FLAGS:-} -o "$prefix/host" "$src/examples/host.c" \
   $(pkg-config --cflags --libs torva) -Wl,-rpath,"$(pkg-config --variable=libdir torva)"
"$prefix/host"
"$prefix/bin/runtorva" --version
"$prefix/bin/runtorva" --no-solve "$src/examples/models/diet.mps" >/dev/null
cp -r "$src/examples/cmake_consumer" "$prefix/consumer-src"
cmake -S "$prefix/consumer-src" -B "$prefix/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_C_FLAGS="${HOST_FLAGS:-}" -DCMAKE_EXE_LINKER_FLAGS="${HOST_FLAGS:-}" >/dev/null
cmake --build "$prefix/consumer" >/dev/null
"$prefix/consumer/consumer"
echo "installed host, runtorva and CMake consumer ran"
