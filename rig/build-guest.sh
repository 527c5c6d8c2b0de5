#!/usr/bin/env bash
# Builds the rig's guest: Debian's kernel (downloaded once, kept under OUT/kernel) and an
# initramfs with busybox, tq20 and its libraries, the USB serial modules and the guest's
# control shell. Usage: build-guest.sh OUT TQ20
set -euo pipefail
out=$(realpath -m "$1")
tq20=$2
here=$(dirname "$(realpath "$0")")
# The USB serial stack in load order (the 16550 driver is built into Debian's kernel).
modules=(usb-common usbcore xhci-hcd xhci-pci usbserial ftdi_sio)

fetch_kernel() {
  local package
  package=$(apt-cache depends linux-image-amd64 |
    awk '/Depends: linux-image-[0-9]/ { print $2; exit }')
  [ -n "$package" ] || { echo "no kernel package behind linux-image-amd64" >&2; exit 1; }
  if [ -f "$out/kernel/package" ] && [ "$(cat "$out/kernel/package")" = "$package" ]; then
    return
  fi
  local scratch
  scratch=$(mktemp -d)
  (cd "$scratch" && apt-get download -qq -o APT::Sandbox::User=root "$package")
  dpkg -x "$scratch"/*.deb "$scratch/root"
  rm -rf "$out/kernel"
  mkdir -p "$out/kernel/modules"
  cp "$scratch"/root/boot/vmlinuz-* "$out/kernel/vmlinuz"
  for module in "${modules[@]}"; do
    local file
    file=$(find "$scratch/root/lib/modules" -name "$module.ko*" | head -n 1)
    [ -n "$file" ] || { echo "module $module missing from $package" >&2; exit 1; }
    case "$file" in
      *.xz) xz -dc "$file" >"$out/kernel/modules/$module.ko" ;;
      *.zst) zstd -qdc "$file" >"$out/kernel/modules/$module.ko" ;;
      *) cp "$file" "$out/kernel/modules/$module.ko" ;;
    esac
  done
  rm -rf "$scratch"
  echo "$package" >"$out/kernel/package"
}

# Copies a program and every shared library it loads, at the same paths.
copy_with_libraries() {
  local program=$1 target=$2
  install -D -m 755 "$program" "$root$target"
  strip --strip-debug "$root$target"
  ldd "$program" | grep -o '/[^ ]*' | while read -r library; do
    [ -e "$root$library" ] || install -D "$library" "$root$library"
  done
}

build_initramfs() {
  root=$(mktemp -d)
  mkdir -p "$root"/{bin,dev,proc,sys,tmp,rig,lib/modules}
  install -m 755 /bin/busybox "$root/bin/busybox"
  install -m 755 "$here/guest-init.sh" "$root/init"
  install -m 755 "$here/guest-serve.sh" "$root/rig/serve"
  copy_with_libraries "$tq20" /bin/tq20
  printf '%s\n' "${modules[@]}" >"$root/lib/modules/order"
  cp "$out"/kernel/modules/*.ko "$root/lib/modules/"
  (cd "$root" && find . | cpio -o -H newc --quiet) >"$out/guest.cpio.new"
  mv "$out/guest.cpio.new" "$out/guest.cpio"
  rm -rf "$root"
}

mkdir -p "$out"
fetch_kernel
build_initramfs
