#!/usr/bin/env bash
# Configures and builds Velmora in build/ with every core.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cmake -S "$here" -B "$here/build" -DCMAKE_BUILD_TYPE="${CMAKE_BUILD_TYPE:-RelWithDebInfo}" >/dev/null
cmake --build "$here/build" -j "$(nproc)"
