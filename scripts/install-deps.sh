#!/usr/bin/env bash
# Installs the Debian 12 packages Vantrel needs to build, run and test.
# Idempotent and quiet when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config ccache     # build tools
  clang-format clang-tidy                     # the code style check and the linter
  qt6-base-dev qt6-image-formats-plugins      # widgets, printing, tests; TIFF/TGA/WebP readers
  libmagick++-6.q16-dev                       # legacy picture formats
  ghostscript                                 # Encapsulated PostScript
  libheif-dev                                 # HEIC, HEIF and AVIF pictures
  libheif-examples                            # heif-enc: HEIC and AVIF test fixtures
  libjpeg-dev                                 # the part of a JPEG on screen at 100 %, decoded first
  libraw-dev                                  # camera RAW pictures (LibRaw, in the decoder helper)
  libexiv2-dev                                # picture metadata (Exiv2, in the decoder helper)
  bubblewrap                                  # sandbox for the decoder helper
  libseccomp-dev                              # the helper's system-call filter
  libjpeg-turbo-progs                         # djpeg, the reference in the decode benchmark
  imagemagick                                 # test fixtures and screenshots
  python3                                     # scripts that write the camera RAW test fixtures
  exiv2                                       # camera records on the metadata fuzzing seeds
  xvfb xauth xdotool x11-utils                # end-to-end test under a real X server
  openbox                                     # a window manager for the end-to-end tests
  libxkbcommon-x11-dev libxcb-xkb-dev         # the lock keys' state on X11
  fonts-dejavu-core                           # a font for the offscreen platform
  fonts-freefont-ttf                          # Devanagari and Thai too, for the script tests
  qt6-tools-dev qt6-l10n-tools                # lupdate and lrelease, and their CMake functions
  qt6-translations-l10n                       # Qt's own texts in other languages (qtbase_de.qm)
  debhelper dpkg-dev lintian                  # the Debian package (scripts/package.sh)
  desktop-file-utils appstream                # checks of the desktop file and the metainfo
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
