#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian 12 packages that building, running and testing need.
# Usage: deps.sh run|test|bench|art
set -euo pipefail

build=(cmake g++ make qt6-base-dev libgl-dev)
# libqt6svg6 holds the SVG image-format plugin that draws the About window's pictures.
run=(libqt6svg6 fonts-dejavu-core fonts-dejavu-extra)
# python3-ephem is the independent ephemeris the precise method is checked against.
test=(clang-format libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils openbox wmctrl dbus locales tzdata
      clang libclang-rt-14-dev valgrind weston qt6-wayland at-spi2-core python3-pyatspi
      fonts-noto-core fonts-liberation2 fonts-urw-base35
      desktop-file-utils appstream lintian man-db dpkg-dev file
      faketime python3-ephem imagemagick)
bench=(libbenchmark-dev libnova-dev hyperfine time)
# Only to draw the artwork again (ui/resources/draw_artwork.sh) and to take
# the screenshots in docs/ (docs/take_screenshots.sh).
art=(imagemagick python3-fonttools xvfb openbox xdotool qt6-gtk-platformtheme)

case "${1:-test}" in
  run) packages=("${build[@]}" "${run[@]}") ;;
  test) packages=("${build[@]}" "${run[@]}" "${test[@]}") ;;
  bench) packages=("${build[@]}" "${run[@]}" "${test[@]}" "${bench[@]}") ;;
  art) packages=("${art[@]}") ;;
  *) echo "usage: $0 run|test|bench|art" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The tests type coordinates under a French locale, and save a place under a
# Persian one, whose decimal mark lies outside Latin-1; the table tool reads
# Pashto's, two bytes in UTF-8.
if [[ "${1:-test}" != run && "${1:-test}" != art ]]; then
  generate=false
  for name in fr_FR fa_IR ps_AF; do
    locale -a 2>/dev/null | grep -qi "^$name\.utf8\$" && continue
    sed -i "s/^# *\($name.UTF-8 UTF-8\)/\1/" /etc/locale.gen
    grep -q "^$name.UTF-8 UTF-8" /etc/locale.gen || echo "$name.UTF-8 UTF-8" >> /etc/locale.gen
    generate=true
  done
  if $generate; then locale-gen; fi
fi
