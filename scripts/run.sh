#!/usr/bin/env bash
# Sets up the machine, builds, and opens the window on a sample project. Without a display it
# runs the window on a virtual one.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
bash scripts/build.sh default
sample="${1:-examples/zelva_stvorec.vlp}"
bin=build/default/bin
if [ -x "$bin/vlptrans" ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display: running the window on a virtual X display (xvfb-run)."
    exec xvfb-run -a -s '-screen 0 1280x900x24' "$bin/vlptrans" "$sample"
  fi
  exec "$bin/vlptrans" "$sample"
fi
"$bin/vlptrans-cli" languages
exec "$bin/vlptrans-cli" show "$sample"
