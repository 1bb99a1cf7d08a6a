#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# One command from a fresh Debian 12 machine to a built and passing test suite: the suite as
# built normally, the installed files and the Debian package, the core tests built without
# vector code (as on a processor without SSE2), the same suite under
# AddressSanitizer and UndefinedBehaviorSanitizer, and a minute of fuzzing for each fuzz target.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/install-deps.sh --test

BUILD_DIR=build scripts/build.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j "$(nproc)")
scripts/check-install.sh build

# The portable byte search, which an SSE2 machine never runs otherwise; the core tests suffice.
core_tests=(tst_GpxScanner tst_PoiConverter tst_ConvertCommand tst_CommandRunner tst_DatabaseShell
            tst_Stores tst_RoundTrip)
cmake -S . -B build-portable -G Ninja -DGEOFILL_VECTOR=OFF >/dev/null
cmake --build build-portable -j "$(nproc)" --target "${core_tests[@]}"
(
    cd build-portable
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j "$(nproc)" \
        -R "^($(IFS='|'; echo "${core_tests[*]}"))\$"
)

# Debug builds quickest on two cores; unoptimised, the sanitized suite still takes about a minute.
BUILD_DIR=build-asan scripts/build.sh -DCMAKE_BUILD_TYPE=Debug -DGEOFILL_SANITIZE=ON
(
    cd build-asan
    export ASAN_OPTIONS=halt_on_error=1:detect_leaks=1:print_stacktrace=1
    export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
    export LSAN_OPTIONS=suppressions=$root/tests/support/lsan.supp:print_suppressions=0
    QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j "$(nproc)"
)

scripts/fuzz.sh 60
