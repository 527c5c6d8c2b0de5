#include "InfoText.h"

#include <algorithm>
#include <array>

#include "ConfiguratorStrings.h"

namespace {

constexpr std::size_t kLineLimit = 125;  // the line buffer holds 128 bytes with CR LF NUL
constexpr std::array<int, 9> kItemPrefixes{1064, 1065, 1066, 1067, 1068, 1069, 1070, 1071, 1086};
constexpr std::array<int, 6> kStateLines{1081, 1059, 1060, 1061, 1062, 1063};

// Windows-1251 to UTF-8: ASCII as it is, the Cyrillic letters by table, anything else as '?'.
std::string FromCp1251(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::uint8_t b : bytes) {
        unsigned code = b;
        if (b >= 0xC0) {
            code = 0x0410 + (b - 0xC0u);
        } else if (b == 0xA8) {
            code = 0x0401;
        } else if (b == 0xB8) {
            code = 0x0451;
        } else if (b >= 0x80) {
            code = '?';
        }
        if (code < 0x80) {
            text.push_back(static_cast<char>(code));
        } else {
            text.push_back(static_cast<char>(0xC0 | (code >> 6)));
            text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
        }
    }
    return text;
}

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
    const auto* raw = reinterpret_cast<const std::uint8_t*>(bytes.data());
    return ConfigString(kItemPrefixes[static_cast<std::size_t>(item - 1)]) +
           FromCp1251(std::span(raw, bytes.size())) + "\n";
}

std::string InfoFontLine(std::span<const std::uint8_t> reply) {
    auto end = std::find(reply.begin(), reply.end(), std::uint8_t{0});
    if (end != reply.begin() && *(end - 1) == 0x0A) {
        --end;
    }
    const std::size_t length = std::min<std::size_t>(end - reply.begin(), kLineLimit);
    return ConfigString(1086) + FromCp1251(reply.first(length)) + "\n";
}

std::string InfoStateBlock(std::uint8_t state) {
    std::string block = std::string("\n") + ConfigString(1082);
    bool any = false;
    for (std::size_t bit = 0; bit < kStateLines.size(); ++bit) {
        if ((state & (1u << bit)) != 0) {
            block += std::string("\n") + ConfigString(kStateLines[bit]);
            any = true;
        }
    }
    return any ? block : block + " OK";
}
