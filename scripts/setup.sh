#!/bin/sh
# Installs every Debian package Verdel needs to build, test and run.
# Idempotent: packages already present are left as they are.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config ccache clang-14 libclang-rt-14-dev \
  qt6-base-dev libxkbcommon-dev fonts-dejavu-core \
  libjpeg62-turbo-dev libgif-dev libpng-dev libcli11-dev libassimp-dev assimp-utils nlohmann-json3-dev \
  libgtest-dev libgmock-dev libbenchmark-dev libmuparser-dev \
  python3 python3-ezdxf desktop-file-utils shared-mime-info \
  xvfb xauth imagemagick xdotool x11-apps"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

# Node.js runs the Khronos glTF validator in the tests; a node that is already
# there (from any source) is kept, since Debian's npm would replace it.
if ! command -v node >/dev/null 2>&1 || ! command -v npm >/dev/null 2>&1; then
  missing="$missing nodejs npm"
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
if [ -n "$missing" ]; then
  echo "setup: installing$missing"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
else
  echo "setup: all packages present"
fi

# The glTF validator, outside the source tree where CMake looks for it
# (VERDEL_NODE_PREFIX, default /opt/verdel-node).
NODE_PREFIX="${VERDEL_NODE_PREFIX:-/opt/verdel-node}"
VALIDATOR_VERSION="2.0.0-dev.3.10"
if ! grep -qs "\"version\": \"$VALIDATOR_VERSION\"" "$NODE_PREFIX/node_modules/gltf-validator/package.json"; then
  echo "setup: installing gltf-validator $VALIDATOR_VERSION into $NODE_PREFIX"
  $SUDO mkdir -p "$NODE_PREFIX"
  $SUDO npm install --prefix "$NODE_PREFIX" --no-audit --no-fund --loglevel=error "gltf-validator@$VALIDATOR_VERSION"
fi

# lindenmayer.js, the tests' second opinion on context-sensitive rewriting, in the same folder.
LINDENMAYER_VERSION="1.5.4"
if ! grep -qs "\"version\": \"$LINDENMAYER_VERSION\"" "$NODE_PREFIX/node_modules/lindenmayer/package.json"; then
  echo "setup: installing lindenmayer $LINDENMAYER_VERSION into $NODE_PREFIX"
  $SUDO mkdir -p "$NODE_PREFIX"
  $SUDO npm install --prefix "$NODE_PREFIX" --no-audit --no-fund --loglevel=error "lindenmayer@$LINDENMAYER_VERSION"
fi
