#!/usr/bin/env bash
# Sets up and starts the monitor from its program directory.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
    export QT_QPA_PLATFORM=offscreen
    echo "No display: the monitor runs headless; polling, logging and the relay server work without a screen."
fi
cd "$PROGRAM_DIR"
exec ./treld
