#!/usr/bin/env bash
# Builds the tool and starts it with the simulated device on a pseudo-terminal as its default port.
# Pass --port DEVICE to use a real serial port instead of the simulator.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target veg17 devsim
if [ "${1:-}" = "--port" ] && [ -n "${2:-}" ]; then
    exec build/src/app/veg17 --port "$2"
fi
link=$(mktemp -u /tmp/veg17-devsim.XXXXXX)
build/tools/devsim/devsim --link "$link" --baud 9600 &
sim=$!
trap 'kill $sim 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
build/src/app/veg17 --port "$link"
