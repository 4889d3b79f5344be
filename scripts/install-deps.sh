#!/usr/bin/env bash
# Installs the Debian packages the build needs (the window: Qt 6, Qt's Chinese translation and a CJK font; cpack's package
# dependencies: dpkg-dev); does nothing when they are all present.
set -euo pipefail
packages=(g++ cmake make pkg-config ca-certificates
          libjpeg62-turbo-dev libpng-dev libsqlcipher-dev zlib1g-dev
          nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-translations-l10n fonts-wqy-microhei dpkg-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
