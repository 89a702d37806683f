#!/usr/bin/env bash
# Installs what is missing, builds everything into build/ and runs the show.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
redkite_install_packages
redkite_build
exec ./build/redkite "$@"
