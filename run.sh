#!/usr/bin/env bash
# Sets up a fresh Debian machine, builds Velmora and starts it.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$here/tools/setup.sh"
"$here/tools/build.sh"
exe="$here/build/Aldermoor/Velmora/velmora"
if [ -x "$exe" ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ "${QT_QPA_PLATFORM:-}" != "offscreen" ]; then
    echo "No display found: starting Velmora under Xvfb (set DISPLAY to use your desktop)." >&2
    exec xvfb-run -a -s "-screen 0 1280x800x24" "$exe" "$@"
  fi
  exec "$exe" "$@"
fi
cli="$here/build/Aldermoor/Velmora/velmora-cli"
if [ "$#" -gt 0 ]; then
  exec "$cli" "$@"
fi
"$cli" --help
echo
echo "Example: velmora-cli psy 101.325 25 17 0"
"$cli" psy 101.325 25 17 0
