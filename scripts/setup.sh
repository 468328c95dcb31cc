#!/usr/bin/env bash
# Installs what building, testing and running Velorance Studio needs, from Debian's
# packages and the npm registry only. Skips whatever is already there.
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6 qt6-qpa-plugins qt6-translations-l10n
  libicu-dev libgeonames-dev libbenchmark-dev libtree-sitter-dev libc-l10n
  fonts-material-design-icons-iconfont fonts-inter fonts-noto-mono fonts-dejavu-core
  xvfb xauth
)
# npm ships with some Node.js builds and as its own package with others.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ "${#missing[@]}" -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "== Installiere: ${missing[*]} =="
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# Natural Earth outlines for the offline map (npm package, kept inside the build tree's tools folder).
if [ ! -f "$here/third_party/node_modules/world-atlas/countries-10m.json" ]; then
  echo "== Installiere world-atlas =="
  mkdir -p "$here/third_party"
  (cd "$here/third_party" && npm install --no-audit --no-fund --silent world-atlas@2 >/dev/null)
fi

# The Swift grammar the generated Swift sources are checked with; its C parser is built with
# the tests. Its own folder, so installing world-atlas never runs this package's scripts, and
# --ignore-scripts: a dependency's install script would download a prebuilt binary.
if [ ! -f "$here/third_party/tree-sitter-swift/node_modules/tree-sitter-swift/src/parser.c" ]; then
  echo "== Installiere tree-sitter-swift =="
  mkdir -p "$here/third_party/tree-sitter-swift"
  (cd "$here/third_party/tree-sitter-swift" && npm install --prefix . --no-audit --no-fund --silent --ignore-scripts tree-sitter-swift@0.7.1 >/dev/null)
fi
