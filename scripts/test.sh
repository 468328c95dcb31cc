#!/usr/bin/env bash
# Sets up what is missing, builds, and runs every test.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
bash "$here/scripts/setup.sh"
bash "$here/scripts/build.sh"
build="${VELORANCE_BUILD_DIR:-$here/build}"
# Configuring and building again with nothing changed must compile and link nothing: a
# generated file rewritten on every configure would relink every program each time.
cmake -S "$here" -B "$build" >/dev/null
again="$(cmake --build "$build" -- -d explain 2>&1)"
if ! grep -q "ninja: no work to do" <<<"$again"; then
  printf '%s\n' "$again" >&2
  echo "== Ein zweiter Build ohne Änderung hat noch etwas gebaut ==" >&2
  exit 1
fi
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 300
