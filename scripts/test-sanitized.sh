#!/usr/bin/env bash
# Builds every library and test once more with AddressSanitizer and UndefinedBehaviorSanitizer
# in a build folder of its own (./build-sanitize) and runs the whole suite there, leak
# detection on. Options given in ASAN_OPTIONS or UBSAN_OPTIONS are added (for readable leak
# traces through Qt: ASAN_OPTIONS=fast_unwind_on_malloc=0).
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${VELORANCE_SANITIZE_BUILD_DIR:-$here/build-sanitize}"
bash "$here/scripts/setup.sh"
start=$SECONDS
# -O1 keeps the instrumented build and its tests quick; line tables are enough for the
# sanitizers' stack traces. The benchmarks are never run here, so they are not built.
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1" -DCMAKE_C_FLAGS_RELWITHDEBINFO="-O1 -g1" \
    -DVELORANCE_SANITIZE=ON -DVELORANCE_BUILD_BENCHMARKS=OFF "$@" >/dev/null
cmake --build "$build" --parallel "$(nproc)"
echo "== Sanitizer-Build: $((SECONDS - start)) s =="
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1${UBSAN_OPTIONS:+:$UBSAN_OPTIONS}"
cd "$build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)" --timeout 600
