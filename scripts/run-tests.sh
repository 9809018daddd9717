#!/usr/bin/env bash
# Sets up and runs the whole test suite: first a short smoke of every fuzz
# target (build/fuzz), then the stop test in the asan build (build/asan), then
# the default suite, whose summary ends the output.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$ROOT"
cmake --preset fuzz >/dev/null
nice cmake --build --preset fuzz -j2
status=0
ctest --preset fuzz || status=$?
# The stop with clients connected, under the sanitizers: only the programs it needs.
cmake --preset asan >/dev/null
nice cmake --build --preset asan -j2 --target stop_e2e_tests
ctest --preset asan -R '^Stop\.' || status=$?
ctest --preset default
exit "$status"
