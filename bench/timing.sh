# SPDX-License-Identifier: GPL-3.0-or-later
# Timing shared by the benchmark scripts; they set $runs before sourcing this file.

# Best wall-clock time of $runs runs, in seconds; the command's output goes to /dev/null.
best() {
    local best_ns="" t0 t1
    for ((i = 0; i < runs; i++)); do
        [[ -n "${BEFORE_EACH:-}" ]] && eval "$BEFORE_EACH"
        t0=$(date +%s%N)
        "$@" >/dev/null
        t1=$(date +%s%N)
        if [[ -z "$best_ns" || $((t1 - t0)) -lt $best_ns ]]; then best_ns=$((t1 - t0)); fi
    done
    awk -v ns="$best_ns" 'BEGIN { printf "%.4f", ns / 1e9 }'
}
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
