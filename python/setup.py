"""Builds the torva extension against an installed TORVA library.

The library is found through pkg-config (torva.pc), or under the prefix
named by TORVA_PREFIX or the first entry of CMAKE_PREFIX_PATH."""

import os
import shlex
import subprocess

from pybind11.setup_helpers import Pybind11Extension
from setuptools import setup


def _torva_flags():
    prefix = os.environ.get("TORVA_PREFIX") or (
        os.environ.get("CMAKE_PREFIX_PATH", "").split(os.pathsep)[0])
    env = dict(os.environ)
    if prefix:
        pc_dirs = [os.path.join(prefix, d, "pkgconfig") for d in ("lib", "lib64", "lib/x86_64-linux-gnu")]
        env["PKG_CONFIG_PATH"] = os.pathsep.join(pc_dirs + [env.get("PKG_CONFIG_PATH", "")])
    try:
        cflags = subprocess.check_output(["pkg-config", "--cflags", "torva"], env=env, text=True)
        libs = subprocess.check_output(["pkg-config", "--libs", "torva"], env=env, text=True)
    except (OSError, subprocess.CalledProcessError):
        if not prefix:
            raise SystemExit("torva not found: install the library, or set TORVA_PREFIX "
                             "(or CMAKE_PREFIX_PATH) to its install prefix")
        cflags = f"-I{prefix}/include"
        libs = f"-L{prefix}/lib -ltorva"
    include = [f[2:] for f in shlex.split(cflags) if f.startswith("-I")]
    libdirs = [f[2:] for f in shlex.split(libs) if f.startswith("-L")]
    return include, libdirs


include_dirs, library_dirs = _torva_flags()

setup(
    ext_modules=[
        Pybind11Extension(
            "torva._torva",
            ["src/_torva.cpp"],
            include_dirs=include_dirs,
            library_dirs=library_dirs,
            libraries=["torva"],
            # The extension finds the library where it was built against.
            runtime_library_dirs=library_dirs,
            cxx_std=17,
        )
    ],
)
