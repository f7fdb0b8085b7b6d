#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building, previewing and testing need.
# Idempotent and quick when nothing is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins qt6-l10n-tools qt6-tools-dev qt6-translations-l10n libqt6svg6
  libicu-dev libarchive-dev libminizip-dev zlib1g-dev
  libgtest-dev libbenchmark-dev
  adwaita-icon-theme hicolor-icon-theme
  libarchive-tools unzip zip gzip p7zip-full python3
  dbus-daemon dbus-bin
  help2man dpkg-dev file lintian desktop-file-utils appstream
  xdg-utils libglib2.0-bin
)

# More packages for one command alone (the fuzzer's clang, say).
packages+=("$@")

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}" >&2
if [ "$(id -u)" -ne 0 ]; then
  sudo=sudo
else
  sudo=
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q "${missing[@]}"
