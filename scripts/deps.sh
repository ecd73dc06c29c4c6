#!/usr/bin/env bash
# Installs the Debian packages Korvane needs to build, test and run.
# As root it installs what is missing; otherwise it prints the apt-get line.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config make
  libgtest-dev libgmock-dev libbenchmark-dev
  libjpeg-dev libpng-dev
  libwmf-dev fonts-urw-base35 libemf2svg-dev librsvg2-dev
  qt6-base-dev qt6-svg-dev qt6-image-formats-plugins libgl-dev libqscintilla2-qt6-dev
  fonts-dejavu-core xvfb xauth x11-apps imagemagick time
  potrace linuxcnc-uspace
  python3-ezdxf hp2xx librsvg2-bin libxml2-utils
  qt6-translations-l10n
  clang libclang-rt-14-dev python3 ccache
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

line="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "Korvane needs these Debian packages. Please run as root:" >&2
  echo "  $line" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
# Another apt run may hold the lock for a while; wait for it.
for _ in $(seq 1 60); do
  if ! fuser /var/lib/dpkg/lock-frontend >/dev/null 2>&1; then break; fi
  sleep 5
done
apt-get update -qq
DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
