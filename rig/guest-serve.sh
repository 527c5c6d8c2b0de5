# The guest's end of the control line: runs every line the host sends and ends its output with
# "@@END <exit code>".
stty raw -echo

# Waits up to 10 s for a device node to appear.
waitfor() {
  i=0
  while [ ! -e "$1" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  [ -e "$1" ]
}

# Waits up to 10 s for a device node to go.
waitgone() {
  i=0
  while [ -e "$1" ] && [ $i -lt 100 ]; do sleep 0.1; i=$((i + 1)); done
  [ ! -e "$1" ]
}

run() {
  "$@" >/tmp/out 2>&1
  rc=$?
  cat /tmp/out
  return $rc
}

# Starts a command in the background, so that the host can pull its line away under it.
start() {
  sh -c '"$@" >/tmp/bg.out 2>&1; echo $? >/tmp/bg.rc; cut -d" " -f16,17 /proc/$$/stat >/tmp/bg.cpu' \
    rig "$@" &
  bg=$!
}

# Clock ticks the running tq20 has used so far: user and system.
cpu() {
  cut -d" " -f14,15 "/proc/$(pidof tq20)/stat"
}

# Waits for the background command; prints its output and the clock ticks it used.
finish() {
  wait $bg
  cat /tmp/bg.out
  echo "@@CPU $(cat /tmp/bg.cpu)"
  return "$(cat /tmp/bg.rc)"
}

waitfor /dev/ttyUSB0 || echo "rig: no USB serial adapter"
echo "@@READY $(cut -d' ' -f1 /proc/uptime)"
while IFS= read -r line; do
  eval "$line"
  echo "@@END $?"
done
