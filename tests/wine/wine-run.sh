#!/usr/bin/env bash
# Runs a Windows program under Wine with the Linux printer simulator on the other end of COM5
# and on a TCP port of 127.0.0.1 (its paper in TQ20_TEST_PAPER), and a second one on COM6 that
# hangs up the line in the middle of its first reply, as an unplugged adapter does. The Wine
# prefix is made once in the build folder.
# Usage: wine-run.sh SIMULATOR PREFIX PROGRAM.exe [ARGUMENTS...]
set -euo pipefail
sim=$1
export WINEPREFIX
WINEPREFIX=$(realpath -m "$2")
shift 2
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=$(command -v wine64 || command -v wine || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)
# Stable names for the simulators' pseudo-terminals: Wine's own serial-port table maps COM5 and
# COM6 to them, which also puts both into HARDWARE\DEVICEMAP\SERIALCOMM. Wine does not take
# them from a bare dosdevices link.
link=$WINEPREFIX/tq20-com5
hangup_link=$WINEPREFIX/tq20-com6
ready=$WINEPREFIX/.tq20-com5-com6

prepare_prefix() {
  mkdir -p "$WINEPREFIX"
  # wineboot reports the 32-bit half that this 64-bit-only Wine lacks; the prefix is made.
  "$wine" wineboot -i >/dev/null 2>&1 || true
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM5 /d "$link" /f >/dev/null 2>&1
  "$wine" reg add 'HKLM\Software\Wine\Ports' /v COM6 /d "$hangup_link" /f >/dev/null 2>&1
  "$wineserver" -w
  [ -f "$WINEPREFIX/system.reg" ] || { echo "wine-run: no Wine prefix in $WINEPREFIX" >&2; exit 1; }
  touch "$ready"
}

[ -f "$ready" ] || prepare_prefix

# Started here so that its dump of objects on exit does not land in the program's output. The
# previous test's server may still be there for its last two seconds; then that one serves.
"$wineserver" -p2 2>/dev/null || true

out=$(mktemp)
paper=$(mktemp -d)
"$sim" --link "$link" --tcp 0 --paper "$paper" >"$out" &
sim_pid=$!
"$sim" --link "$hangup_link" --fault hangup >/dev/null &
hangup_pid=$!
trap 'kill "$sim_pid" "$hangup_pid" 2>/dev/null; wait 2>/dev/null; rm -rf "$out" "$paper"' EXIT
for _ in $(seq 100); do
  grep -q '^tcp: ' "$out" && break
  sleep 0.05
done
for _ in $(seq 100); do
  [ -e "$hangup_link" ] && break
  sleep 0.05
done
export TQ20_TEST_COM=COM5 TQ20_TEST_HANGUP_COM=COM6
# What COM5's printer prints, as Wine sees the folder.
export TQ20_TEST_PAPER="Z:${paper//\//\\}"
TQ20_TEST_TCP=$(sed -n 's/^tcp: //p' "$out")
export TQ20_TEST_TCP
"$wine" "$@"
