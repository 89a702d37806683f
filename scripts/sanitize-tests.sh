#!/usr/bin/env bash
# Builds the whole test suite with AddressSanitizer and UndefinedBehaviorSanitizer
# (REDKITE_SANITIZE=ON, in build-asan/ unless BUILD_DIR is set) and runs it, all but the packaging
# test. Any sanitizer report fails the test that made it.
#   scripts/sanitize-tests.sh [ctest arguments ...]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh
redkite_install_packages
build="${BUILD_DIR:-build-asan}"

# Reports end the process with an error; leaks are reported at exit. Tests labelled "gl" start
# Mesa's OpenGL driver, which keeps memory until the process ends (allocated from code it has
# unloaded by then, so no suppression can name it): they run with leak detection off.
asan_options="abort_on_error=0:halt_on_error=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

cmake -S . -B "$build" -G Ninja -DREDKITE_SANITIZE=ON -DREDKITE_BUILD_TESTS=ON > /dev/null
cmake --build "$build"
cd "$build"
status=0
ASAN_OPTIONS="detect_leaks=1:$asan_options" ctest --output-on-failure --parallel "$(nproc)" -LE gl "$@" || status=1
ASAN_OPTIONS="detect_leaks=0:$asan_options" ctest --output-on-failure --parallel "$(nproc)" -L gl -LE package "$@" || status=1
exit "$status"
