#!/usr/bin/env bash
# Installs what building, testing and benchmarking the library needs on a
# Debian machine. Safe to run again: only missing packages are fetched.
set -euo pipefail
packages=(
  g++ cmake make pkg-config        # compiler and build
  libgtest-dev                      # tests
  zlib1g-dev libboost-dev           # compressed model files, probability distributions
  clang libclang-rt-14-dev          # fuzzing the readers (clang's libFuzzer)
  glpk-utils coinor-clp coinor-cbc  # peers measured by the benchmarks
  libsuitesparse-dev                # sparse LU peer of the factorisation benchmark
  python3-dev python3-venv python3-setuptools python3-wheel  # the Python package ...
  python3-pybind11 pybind11-dev python3-numpy python3-scipy python3-pytest  # ... and its tests
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
