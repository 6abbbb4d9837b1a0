#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need (only what is missing).
set -euo pipefail
packages=(
  cmake g++ make pkg-config
  libgtest-dev libgmock-dev nlohmann-json3-dev
  qt6-base-dev qt6-svg-dev libqcustomplot-dev libqcustomplot2.1-qt6 libjpeg-dev
  xvfb xauth
  locales
  # the package test: cpack's dependency list, the desktop validators, the MIME lookup
  dpkg-dev file desktop-file-utils appstream shared-mime-info xdg-utils libfile-mimeinfo-perl
  groff-base
  # the fuzz targets: clang with libFuzzer and the sanitizer runtimes
  clang libclang-rt-14-dev
  # the formatting check of the test command
  clang-format
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The ephemeris texts follow the locale's decimal separator; their test needs one with a comma.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi
