#!/usr/bin/env bash
# One command from a fresh Debian 12 machine to a built and passing test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh --test
BUILD_DIR=build scripts/build.sh
cd build
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --no-tests=error -j "$(nproc)"
