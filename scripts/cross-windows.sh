#!/usr/bin/env bash
# Cross-compiles the libraries without Qt (the Windows back-ends among them) with mingw-w64,
# so that the Windows code at least builds on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/mingw -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=Release \
  -DTALLYRA_NATIVE_ONLY=ON -DTALLYRA_BUILD_TESTS=OFF -DTALLYRA_BUILD_BENCH=OFF \
  -DCMAKE_COMPILE_WARNING_AS_ERROR=ON >/dev/null
cmake --build build/mingw -j "$(nproc)"
