#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the libFuzzer targets with clang into build-fuzz and runs each for SECONDS (default 60)
# on a fresh copy of its seed corpus. Any crash, leak, hang or broken check fails the run; the
# input that caused it is kept in build-fuzz/fuzz-work/TARGET/findings/.
# Usage: scripts/fuzz.sh [SECONDS] [TARGET...]   (default: every tests/fuzz/fuzz_*.cpp)
# A new target is a tests/fuzz/fuzz_NAME.cpp, its line in tests/fuzz/CMakeLists.txt and a seed
# corpus in tests/fuzz/corpus/fuzz_NAME/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift $(($# > 0 ? 1 : 0))
if [[ $# -gt 0 ]]; then
    targets=("$@")
else
    targets=()
    for source in tests/fuzz/fuzz_*.cpp; do
        targets+=("$(basename "$source" .cpp)")
    done
fi

scripts/install-deps.sh --test
cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DGEOFILL_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:print_stacktrace=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-halt_on_error=1:print_stacktrace=1}
failed=()
for target in "${targets[@]}"; do
    work="build-fuzz/fuzz-work/$target"
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/findings"
    cp tests/fuzz/corpus/"$target"/* "$work/corpus/"
    echo "Fuzzing $target for $seconds s"
    status=0
    "build-fuzz/tests/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/findings/" "$work/corpus" \
        >"$work/log" 2>&1 || status=$?
    # The last status line has the coverage, the final stats the executions.
    grep -E '^#[0-9]+' "$work/log" | tail -n 1 || true
    grep -E '^stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$work/log" || true
    echo "  corpus: $(find "$work/corpus" -type f | wc -l) inputs"
    if [[ $status -ne 0 || -n "$(ls -A "$work/findings")" ]]; then
        echo "$target FAILED (exit $status); log: $work/log" >&2
        tail -n 40 "$work/log" >&2
        failed+=("$target")
    fi
done

if [[ ${#failed[@]} -gt 0 ]]; then
    echo "Fuzzing found faults in: ${failed[*]}" >&2
    exit 1
fi
echo "Fuzzing found nothing."
