#!/usr/bin/env bash
# Builds the Python package against this build of the library and runs its
# tests: installs the library into <build>/python-prefix, makes a virtual
# environment from Debian's interpreter (which sees Debian's numpy, scipy,
# pybind11 and pytest), pip-installs the package into it without any index,
# then runs pytest. Usage: scripts/python-tests.sh <build dir> [pytest args]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:?build directory}" && pwd)"
shift
prefix="$build/python-prefix"
venv="$build/python-venv"
stage="$build/python-src"

cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$venv/bin/python" ] || /usr/bin/python3 -m venv --system-site-packages "$venv"
# pip builds in place; a private copy keeps build products out of the tree.
rm -rf "$stage" && cp -r "$root/python" "$stage"
TORVA_PREFIX="$prefix" "$venv/bin/python" -m pip install --quiet --no-build-isolation \
  --no-deps --no-index --force-reinstall "$stage"
cd "$build"
TORVA_SHARED_DATA="${TORVA_SHARED_DATA:-$root/../shared/data}" \
  exec "$venv/bin/python" -m pytest -q -p no:cacheprovider "$root/python/tests" "$@"
