#!/usr/bin/env bash
# Installs what is missing, builds everything into build/ and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
redkite_install_packages
redkite_build -DREDKITE_BUILD_TESTS=ON -DREDKITE_BUILD_BENCH=ON
cd build
ctest --output-on-failure --parallel "$(nproc)"
