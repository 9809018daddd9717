#!/usr/bin/env bash
# Builds the fuzz targets (in the asan build) and runs each for the given seconds
# (default 60) over its seed corpus. New corpus entries go to
# build/asan/new-corpus/, never into the repository; crash inputs land in
# build/asan/findings/.
# Usage: scripts/fuzz.sh [seconds] [target...]
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
SECONDS_EACH=${1:-60}
shift || true

cd "$ROOT"
cmake --preset asan >/dev/null
nice cmake --build --preset fuzz -j2

BUILD="$ROOT/build/asan"
FUZZ_DIR="$BUILD/tests/fuzz"
targets=("$@")
if ((${#targets[@]} == 0)); then
    for corpus in "$ROOT"/tests/fuzz/corpus/*/; do
        targets+=("$(basename "$corpus")")
    done
fi

mkdir -p "$BUILD/findings"
failed=()
for target in "${targets[@]}"; do
    scratch="$BUILD/new-corpus/$target"
    mkdir -p "$scratch"
    echo "== $target: ${SECONDS_EACH}s"
    if ! nice "$FUZZ_DIR/${target}_fuzz" -max_total_time="$SECONDS_EACH" -timeout=10 \
        -rss_limit_mb=1024 -print_final_stats=1 \
        -artifact_prefix="$BUILD/findings/${target}-" \
        "$scratch" "$ROOT/tests/fuzz/corpus/$target"; then
        failed+=("$target")
    fi
done

if ((${#failed[@]})); then
    echo "Findings in: ${failed[*]} (inputs in build/asan/findings/)"
    exit 1
fi
echo "All ${#targets[@]} targets ran ${SECONDS_EACH}s each without a finding."
