#!/usr/bin/env bash
# Sets up and runs the whole test suite: in the asan build (clang, build/asan),
# a short smoke of every fuzz target and the stop test; then the default suite,
# whose summary ends the output.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
cd "$ROOT"
cmake --preset asan >/dev/null
# Only what those tests run: the fuzz targets, the stop test and the programs it starts.
nice cmake --build --preset asan -j2 --target fuzz_targets stop_e2e_tests
status=0
ctest --preset asan -R '^(fuzz_|Stop\.)' || status=$?
ctest --preset default
exit "$status"
