#!/usr/bin/env bash
# Installs what is missing, builds, and shows the suite at work on a sample sentence.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/install-deps.sh
bash scripts/build.sh build
./build/grade/dorvik -v 漢字の書き順 || true
