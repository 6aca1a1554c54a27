#!/bin/sh
# Installs what is missing, builds, starts the simulated BMS on a virtual serial
# line mapped as COM1, and starts the program. Pick COM1 on the "serial setting"
# page and press "Open serial port" (打开串口) to watch the simulated pack.
set -e
cd "$(dirname "$0")/.."
sh tools/deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target cellvane cellvane-sim
PORTS="${XDG_CONFIG_HOME:-$HOME/.config}/cellvane/ports"
mkdir -p "$PORTS"
./build/cellvane-sim --link "$PORTS/com1" &
SIM=$!
trap 'kill $SIM 2>/dev/null' EXIT INT TERM
sleep 1
./build/cellvane "$@"
