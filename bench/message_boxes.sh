#!/usr/bin/env bash
# Heap the console keeps for each message box it has shown and closed: the
# warning box N times (default 400) on a private X server, the platform the
# soak runs on. Target: under 500 bytes a box after the first tenth.
#   bench/message_boxes.sh [N]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
[ -x "$build/tests/ecu-message-box-bench" ] ||
  cmake --build "$build" --target ecu-message-box-bench >/dev/null
work="$(mktemp -d)"
export XDG_RUNTIME_DIR="$work"
display=":$((50 + RANDOM % 40))"
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
DISPLAY="$display" QT_QPA_PLATFORM=xcb "$build/tests/ecu-message-box-bench" "${1:-400}"
