#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build, run and test hv6.
# Run as root; running it again changes nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite qt6-svg-dev
  libgl-dev
  libcurl4-openssl-dev
  # The date a photo was taken, from its EXIF data (picview6).
  libexif-dev
  fonts-noto-cjk
  libgtest-dev libgmock-dev libcpp-httplib-dev libssl-dev poppler-utils
  # The dial library's tests: a private D-Bus (dbus-daemon) with
  # python3-dbusmock's NetworkManager template as the remote access service.
  dbus-daemon python3-dbusmock
  libbenchmark-dev
  sqlite3
  # Backup files: one tar stream per backup, read and written through
  # libarchive (savedata6, loaddata6, hv6 --backup / --restore).
  libarchive-dev
  # The Debian package (cpack -G DEB) and its test: dpkg-shlibdeps (dpkg-dev)
  # and file find the libraries the programs need; desktop-file-validate
  # checks the menu entry.
  dpkg-dev file desktop-file-utils
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

# The machine-wide folder of hv6 (shared demo data, the one-user-at-a-time
# lock); every user may write there.
common=/var/lib/hv6/common
if [ ! -d "$common" ] && [ "$(id -u)" -eq 0 ]; then
  install -d -m 1777 "$common"
fi

if [ ${#missing[@]} -eq 0 ]; then
  echo "All packages are installed."
  exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run this script as root to install them." >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
