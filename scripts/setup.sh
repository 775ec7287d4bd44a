#!/bin/sh
# Installs every Debian package Verdel needs to build, test and run.
# Idempotent: packages already present are left as they are.
set -eu

PACKAGES="cmake ninja-build g++ pkg-config ccache clang-14 libclang-rt-14-dev \
  qt6-base-dev libxkbcommon-dev fonts-dejavu-core \
  libjpeg62-turbo-dev libgif-dev libcli11-dev libassimp-dev assimp-utils \
  libgtest-dev libgmock-dev libbenchmark-dev \
  python3 python3-ezdxf desktop-file-utils shared-mime-info \
  xvfb xauth imagemagick xdotool x11-apps"

missing=""
for p in $PACKAGES; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done

if [ -z "$missing" ]; then
  echo "setup: all packages present"
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "setup: installing$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
