#!/usr/bin/env bash
# Sets up what is missing, builds, and starts Velorance Studio on the demo workspace, with
# the stand-in simulator toolchain first on PATH so every road can be walked on this machine.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${VELORANCE_BUILD_DIR:-$here/build}"
standin="$here/tools/simulator-standin"
export PATH="$standin:$PATH"
# The interface is German; a machine without a locale of its own shows names in German too.
case "${LC_ALL:-${LANG:-C}}" in C|C.*|POSIX) export LANG=de_DE.UTF-8; unset LC_ALL ;; esac
export VELORANCE_TOOL_XCRUN="$standin/xcrun"
export VELORANCE_TOOL_XCODE_SELECT="$standin/xcode-select"
export VELORANCE_TOOL_OPEN="$standin/open"
exec "$build/app/velorance-studio" --demo "$@"
