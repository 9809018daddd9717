#!/usr/bin/env bash
# Sets up and starts the monitor from its program directory, polling the
# simulated STS (sts-sim playing its demo scenario) on a pseudo-terminal.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"

cd "$PROGRAM_DIR"
line="$PROGRAM_DIR/sts-line"
./sts-sim --link "$line" --scenario scenarios/demo.scn >/dev/null &
simulator=$!
trap 'kill "$simulator" 2>/dev/null' EXIT
for _ in $(seq 50); do [[ -e "$line" ]] && break; sleep 0.1; done
echo "Simulated STS on $line (COM1); program directory $PROGRAM_DIR"
TRELD_COM1="$line" ./treld
