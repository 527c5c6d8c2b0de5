#!/usr/bin/env bash
# Runs a Windows program under Wine with the Linux printer simulator on the other end of COM5
# and on a TCP port of 127.0.0.1. The Wine prefix is made once in the build folder.
# Usage: wine-run.sh SIMULATOR PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
sim=$1
export WINEPREFIX
WINEPREFIX=$(realpath -m "$2")
shift 2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# A stable name for the simulator's pseudo-terminal: Wine's own serial-port table maps COM5
# to it, which also puts COM5 into HARDWARE\DEVICEMAP\SERIALCOMM.
link=$WINEPREFIX/tq20-com5

prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  # wineboot reports the 32-bit half that this 64-bit-only Wine lacks; the prefix is made.
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$link" /f >/dev/null 2>&1
  "$wineserver" -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-run: no Wine prefix in $WINEPREFIX" >&2; exit 1; }
  touch "$WINEPREFIX/.tq20-ready"
}

[ -f "$WINEPREFIX/.tq20-ready" ] || prepare_prefix

# Started here so that its dump of objects on exit does not land in the program's output.
"$wineserver" -p2 2>/dev/null

out=$(mktemp)
"$sim" --link "$link" --tcp 0 >"$out" &
sim_pid=$!
trap 'kill "$sim_pid" 2>/dev/null; wait "$sim_pid" 2>/dev/null; rm -f "$out"' EXIT
for _ in $(seq 100); do
  grep -q '^tcp: ' "$out" && break
  sleep 0.05
done
export TQ20_TEST_COM=COM5
TQ20_TEST_TCP=$(sed -n 's/^tcp: //p' "$out")
export TQ20_TEST_TCP
"$wine" "$@"
