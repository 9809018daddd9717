#!/usr/bin/env bash
# Sets up and runs the whole test suite: first a short smoke of every fuzz
# target (build/fuzz), then the default suite, whose summary ends the output.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$ROOT"
cmake --preset fuzz >/dev/null
nice cmake --build --preset fuzz -j2
fuzz_status=0
ctest --preset fuzz || fuzz_status=$?
ctest --preset default
exit "$fuzz_status"
