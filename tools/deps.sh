#!/bin/sh
# Installs the Debian 12 packages that building, running and testing need.
# Does nothing when they are all there already.
set -e
PACKAGES="build-essential cmake ninja-build ccache clang libclang-rt-14-dev
qt6-base-dev qt6-serialport-dev qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
qt6-translations-l10n
libquazip1-qt6-dev libxkbcommon-dev libbenchmark-dev libgl-dev
socat xvfb xauth fonts-wqy-microhei imagemagick dbus at-spi2-core python3-pyatspi
python3-xlrd python3-openpyxl libreoffice-calc-nogui
dpkg-dev file desktop-file-utils appstream lintian
qt6-charts-dev libqt6opengl6-dev libmosquitto-dev mosquitto mosquitto-clients
openssl"
missing=""
for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0
SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing:$missing"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends $missing
