#!/usr/bin/env bash
# Installs the Debian packages that building, testing and the demo need,
# when any of them is missing. Runs apt-get update once, only if needed.
set -euo pipefail

packages=(g++ cmake make pkg-config libtiff-dev nettle-dev libtiff-tools libgtest-dev libgmock-dev
          libbenchmark-dev nlohmann-json3-dev qt6-base-dev clang libclang-rt-14-dev xvfb xauth time
          librsvg2-bin gzip file man-db dpkg-dev fakeroot lintian desktop-file-utils appstream
          shared-mime-info libqpdf-dev qpdf poppler-utils icc-profiles-free imagemagick netpbm python3-pil
          libtesseract-dev libleptonica-dev tesseract-ocr-eng tesseract-ocr-osd libomp-dev libfreetype-dev fonts-dejavu-core
          slurmctld slurmd slurm-client munge python3-yaml strace libxml2-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq "${missing[@]}" >/dev/null
fi
