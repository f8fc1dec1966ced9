#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build and test vmod. Needs root for
# apt-get; as another user it only checks and says what is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  bison gcc-multilib g++-multilib qemu-user
  clang libclang-rt-14-dev
  locales-all
  libcairo2-dev zlib1g-dev fonts-dejavu-core fonts-liberation2
  ghostscript poppler-utils libxml2-utils
  libgdal-dev nlohmann-json3-dev libgraphviz-dev python3-jsonschema
  libcpp-httplib-dev chromium chromium-driver python3-selenium
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages (run as root to install): ${missing[*]}" >&2
  exit 1
fi
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
