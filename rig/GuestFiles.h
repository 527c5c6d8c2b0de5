#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A file the guest finds at /rig/NAME.
struct GuestFile {
    std::string name;
    std::vector<std::uint8_t> bytes;
};

// The files as a "newc" cpio archive; the kernel unpacks it after the base initramfs when the
// two are joined.
std::vector<std::uint8_t> CpioArchive(const std::vector<GuestFile>& files);
