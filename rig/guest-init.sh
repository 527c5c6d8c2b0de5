#!/bin/busybox sh
# The rig's guest: mounts what tq20 needs, loads the USB serial stack and hands the second
# UART to the host's control shell.
/bin/busybox --install -s /bin
export PATH=/bin
mount -t proc proc /proc
mount -t sysfs sysfs /sys
mount -t devtmpfs devtmpfs /dev
while read -r module; do
  insmod "/lib/modules/$module.ko" || echo "rig: insmod $module failed"
done </lib/modules/order
# Kernel messages would mix with the replies on the control line.
dmesg -n 1
exec sh /rig/serve </dev/ttyS1 >/dev/ttyS1 2>&1
