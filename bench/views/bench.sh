#!/usr/bin/env bash
# The window benchmarks of the booking views, offscreen, with figures as "name: value" lines.
#   bench/views/bench.sh [BUILD_DIR]    (default: build)
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build="${1:-build}"
case "$build" in /*) ;; *) build="$root/$build" ;; esac
QT_QPA_PLATFORM=offscreen "$build/bench_fenster"
