#include "InfoText.h"

#include <algorithm>
#include <array>

#include "ConfiguratorStrings.h"
#include "Cp1251.h"

namespace {

constexpr std::size_t kLineLimit = 125;  // the line buffer holds 128 bytes with CR LF NUL
constexpr std::array<int, 9> kItemPrefixes{
    IDS_INFO_NAME,         IDS_INFO_CONTROLLER,      IDS_INFO_SERIAL,
    IDS_INFO_FIRMWARE,     IDS_INFO_FIRMWARE_UPDATE, IDS_INFO_CONTROLLER_SERIAL,
    IDS_INFO_BOOT_VERSION, IDS_INFO_BOOT_FIRMWARE,   IDS_INFO_FONT};
constexpr std::array<int, 6> kStateLines{IDS_STATE_NO_PAPER,   IDS_STATE_COVER_OPEN,
                                         IDS_STATE_HEAD_HOT,   IDS_STATE_HEAD_COLD,
                                         IDS_STATE_POWER_HIGH, IDS_STATE_POWER_LOW};

}  // namespace

std::uint8_t InfoTerminator(int item) {
    return item == 1 || item == 9 ? 0x00 : 0x0A;
}

std::string InfoItemLine(int item, std::span<const std::uint8_t> reply) {
    std::string bytes;
    for (std::uint8_t b : reply) {
        if (b == 0x0A || bytes.size() == kLineLimit) {
            break;
        }
        bytes.push_back(static_cast<char>(b == 0x00 ? ' ' : b));
    }
    return ConfigString(kItemPrefixes[static_cast<std::size_t>(item - 1)]) + Cp1251ToUtf8(bytes) +
           "\n";
}

std::string InfoFontLine(std::span<const std::uint8_t> reply) {
    auto end = std::find(reply.begin(), reply.end(), std::uint8_t{0});
    if (end != reply.begin() && *(end - 1) == 0x0A) {
        --end;
    }
    const std::size_t length = std::min<std::size_t>(end - reply.begin(), kLineLimit);
    return ConfigString(IDS_INFO_FONT) + Cp1251ToUtf8(reply.first(length)) + "\n";
}

std::string InfoItemValue(int item, std::span<const std::uint8_t> reply) {
    const auto end = std::find(reply.begin(), reply.end(), InfoTerminator(item));
    std::string text = Cp1251ToUtf8(std::span(reply.begin(), end));
    text.erase(text.find_last_not_of(" \r\n") + 1);
    return text;
}

std::string InfoStateBlock(std::uint8_t state) {
    std::string block = std::string("\n") + ConfigString(IDS_PRINTER_STATE);
    bool any = false;
    for (std::size_t bit = 0; bit < kStateLines.size(); ++bit) {
        if ((state & (1u << bit)) != 0) {
            block += std::string("\n") + ConfigString(kStateLines[bit]);
            any = true;
        }
    }
    return any ? block : block + " OK";
}
