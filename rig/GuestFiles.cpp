#include "GuestFiles.h"

#include <cstdio>

namespace {

void PadToFour(std::vector<std::uint8_t>& out) {
    while (out.size() % 4 != 0) {
        out.push_back(0);
    }
}

void AddEntry(std::vector<std::uint8_t>& out, unsigned inode, const std::string& name,
              unsigned mode, const std::vector<std::uint8_t>& bytes) {
    char header[111];
    std::snprintf(header, sizeof header,
                  "070701%08X%08X%08X%08X%08X%08X%08zX%08X%08X%08X%08X%08zX%08X", inode, mode, 0u,
                  0u, 1u, 0u, bytes.size(), 0u, 0u, 0u, 0u, name.size() + 1, 0u);
    out.insert(out.end(), header, header + 110);
    out.insert(out.end(), name.begin(), name.end());
    out.push_back(0);
    PadToFour(out);
    out.insert(out.end(), bytes.begin(), bytes.end());
    PadToFour(out);
}

}  // namespace

std::vector<std::uint8_t> CpioArchive(const std::vector<GuestFile>& files) {
    std::vector<std::uint8_t> out;
    unsigned inode = 1;
    for (const GuestFile& file : files) {
        AddEntry(out, inode++, "rig/" + file.name, 0100644, file.bytes);
    }
    AddEntry(out, 0, "TRAILER!!!", 0, {});
    return out;
}
