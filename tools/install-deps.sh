#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the system needs.
# Non-interactive and idempotent: packages already present are left as they are.
set -euo pipefail

packages=(
  # toolchain
  build-essential cmake ninja-build pkg-config clang libclang-rt-14-dev clang-format clang-tidy
  # GUI, printing and tests
  qt6-base-dev qt6-base-dev-tools libqt6svg6 libgl-dev qt6-translations-l10n
  libgtest-dev libgmock-dev libbenchmark-dev
  # codecs and stores
  libjpeg62-turbo-dev libjpeg-turbo-progs libpng-dev libtiff-dev libtiff-tools
  libgraphicsmagick++1-dev graphicsmagick libsqlite3-dev
  # colour profiles: Little CMS, and the standard CMYK profile (SWOP) for CMYK JPEGs without one
  liblcms2-dev libgs-common
  # camera data (EXIF) in the tests' photographs
  libimage-exiftool-perl
  # Japanese fonts (metric-compatible with the fonts the settings name)
  fontconfig fonts-ipafont-gothic fonts-ipafont-mincho
  # desktop integration: opener, trash, the installer's MIME types and menu caches
  xdg-utils shared-mime-info desktop-file-utils
  # headless runs of the main program and its GUI tests
  xvfb xauth xdotool x11-apps
  # real printing and checking of printed pages
  python3 libcups2-dev cups cups-client cups-bsd printer-driver-cups-pdf poppler-utils time
  # sample photographs, the benchmark corpus and the peers it is measured against
  mate-backgrounds imagemagick libvips-tools hyperfine
  # sample HEIC/AVIF pictures for the viewer's tests
  libheif-examples
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if ((${#missing[@]})); then
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -q
  $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The fonts the settings name ("ＭＳ Ｐゴシック" ...) map to the metric-compatible IPA fonts.
here=$(cd "$(dirname "$0")" && pwd)
alias_conf=/etc/fonts/conf.d/60-tav-fonts.conf
if ! cmp -s "$here/fontconfig/60-tav-fonts.conf" "$alias_conf"; then
  ${SUDO:-$([ "$(id -u)" -eq 0 ] || echo sudo)} install -m 644 "$here/fontconfig/60-tav-fonts.conf" "$alias_conf"
  fc-cache -f >/dev/null 2>&1 || true
fi
