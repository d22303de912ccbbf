#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Velmora and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
"$here/tools/build.sh"
cd "$here/build"
export QT_QPA_PLATFORM=offscreen
ctest --output-on-failure -j "$(nproc)" --timeout 600
