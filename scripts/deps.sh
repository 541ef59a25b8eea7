#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need.
# Usage: deps.sh run|test|bench
set -euo pipefail

build=(cmake g++ make qt6-base-dev libgl-dev)
run=(fonts-dejavu-core fonts-dejavu-extra)
test=(libgtest-dev libgmock-dev xvfb xauth xdotool x11-utils openbox wmctrl dbus at-spi2-core
      python3-pyatspi locales tzdata
      clang libclang-rt-14-dev valgrind)
bench=(libbenchmark-dev libnova-dev hyperfine time)

case "${1:-test}" in
  run) packages=("${build[@]}" "${run[@]}") ;;
  test) packages=("${build[@]}" "${run[@]}" "${test[@]}") ;;
  bench) packages=("${build[@]}" "${run[@]}" "${test[@]}" "${bench[@]}") ;;
  *) echo "usage: $0 run|test|bench" >&2; exit 2 ;;
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

# The tests type coordinates under a French locale.
if [[ "${1:-test}" != run ]] && ! locale -a 2>/dev/null | grep -qi '^fr_FR\.utf8$'; then
  sed -i 's/^# *\(fr_FR.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^fr_FR.UTF-8 UTF-8' /etc/locale.gen || echo 'fr_FR.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen
fi
