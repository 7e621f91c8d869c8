#!/usr/bin/env bash
# Builds the program and starts it.
#   scripts/run.sh                       against the bundled simulated bus (no hardware needed)
#   scripts/run.sh --port /dev/ttyUSB0   with COM1 on a real RS-485 adapter
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/common.sh

port=""
while [ $# -gt 0 ]; do
    case "$1" in
        --port) port="${2:?--port needs a device}"; shift 2 ;;
        *) echo "usage: $0 [--port DEVICE]" >&2; exit 2 ;;
    esac
done

ensure_packages "${BUILD_PACKAGES[@]}" "${FONT_PACKAGES[@]}"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DOSTRA_TESTS=OFF >/dev/null
cmake --build build

# The program runs from a folder of its own (its program folder), so the settings the operator
# saves and the logger's files survive rebuilds. The settings file is written only once.
prepare_home() {
    mkdir -p "$1"
    for file in talvik.bmp help.chm; do
        if [ -f "build/bin/$file" ]; then cp "build/bin/$file" "$1/"; fi
    done
}

if [ -n "$port" ]; then
    home=build/port-home
    prepare_home "$home"
    # The build's default: COM1, 9600 baud, time-out 50 ms, checksum off.
    if [ ! -f "$home/talvik4333.ini" ]; then cp build/bin/talvik4333.ini "$home/"; fi
    OSTRA_COM1="$port" OSTRA_HOME="$home" exec build/bin/ostra
fi

# No port: serve the bundled bus (sim/default_bus.txt) on a pseudo-terminal as COM1.
home=build/sim-home
prepare_home "$home"
# Read at fixed positions: COM1, 9600 and 19200 ticked (the bus's rates), time-out 50 ms,
# checksum off; 52 bytes.
if [ ! -f "$home/talvik4333.ini" ]; then
    printf 'COM1=0;\r\nBRAUTE=00011000;\r\nTIMEOUT=0;\r\nCHECKSUM=0;\r\0' >"$home/talvik4333.ini"
fi

# The logger's script for the bus, so that RUN > Data Logger runs at once.
if [ ! -f "$home/default.log" ]; then cp sim/default.log "$home/"; fi

coproc MODSIM { exec build/bin/modsim sim/default_bus.txt; }
modsim_pid=$MODSIM_PID
trap 'kill "$modsim_pid" 2>/dev/null || true; wait "$modsim_pid" 2>/dev/null || true' EXIT
if ! read -r -t 10 slave <&"${MODSIM[0]}" || [ -z "$slave" ]; then
    echo "modsim did not start" >&2
    exit 1
fi
echo "Simulated bus on $slave as COM1 (modules: sim/default_bus.txt)"
status=0
OSTRA_COM1="$slave" OSTRA_HOME="$home" build/bin/ostra || status=$?
exit "$status"
