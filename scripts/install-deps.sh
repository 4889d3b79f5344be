#!/usr/bin/env bash
# Installs the Debian packages the build needs (the window: Qt 6, Qt's Chinese translation and a CJK
# font; cpack's Debian package: dpkg-dev and file, which dpkg-shlibdeps runs); does nothing when they
# are all present. Packages named as arguments are installed with them (scripts/lint.sh: clang-format
# clang-tidy). Installing needs root: run as root, or as a user who may use sudo.
set -euo pipefail
packages=(g++ cmake make pkg-config ca-certificates
          libjpeg62-turbo-dev libpng-dev libsqlcipher-dev zlib1g-dev
          nlohmann-json3-dev libcli11-dev
          libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-translations-l10n fonts-wqy-microhei dpkg-dev file "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null 2>&1; then
    echo "These packages are missing and installing them needs root, but sudo is not available." >&2
    echo "Ask someone with root to run, then start this script again:" >&2
    echo "  apt-get update && apt-get install --no-install-recommends ${missing[*]}" >&2
    exit 1
  fi
  sudo_cmd=(sudo)
fi
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
