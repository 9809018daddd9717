#!/usr/bin/env bash
# Sets up and runs the whole test suite.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$ROOT"
ctest --preset default
