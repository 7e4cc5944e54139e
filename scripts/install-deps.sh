#!/usr/bin/env bash
# Installs the Debian packages the project needs, only those that are missing.
# Works as root and through sudo.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config
  qt6-base-dev qt6-translations-l10n libqt6svg6
  libjpeg62-turbo-dev libpng-dev zlib1g-dev libdeflate-dev
  libzip-dev libexpat1-dev
  nlohmann-json3-dev libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick python3-xlwt
  shared-mime-info desktop-file-utils xdg-utils
  dpkg-dev appstream groff-base man-db lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  sudo_cmd=()
else
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
