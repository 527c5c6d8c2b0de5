#include "FlowCharacters.h"

#include <array>

#include "ConfiguratorStrings.h"
#include "OptionFrame.h"
#include "TextTranslation.h"

namespace {

constexpr std::uint8_t kXon = 0x11;
constexpr std::uint8_t kXoff = 0x13;

// The fields a page writes whose byte can come to 17 or 19, alone or packed with another value.
struct FlowField {
    int group;
    int maskBit;
    int byteIndex;
    const char* name;
    int labelId;
    int shownBits;  // the part of the byte the page shows under that label
    bool fontBits;  // the font page never sets bit 1 of its byte
};

// Nudging the white-field byte by one changes its left and right part, which its label names.
constexpr std::array<FlowField, 10> kFields{{
    {kGroupPrinting, 0x01, 0, "contrast", 1038, 0xFF, false},
    {kGroupPrinting, 0x02, 2, "printSpeed", 1039, 0xFF, false},
    {kGroupFont, 0x01, 3, "fontMode", 1003, 0xFF, true},
    {kGroupTextPosition, 0x02, 5, "leftIndent", 1027, 0xFF, false},
    {kGroupTextPosition, 0x04, 12, "printFieldWidth", 1028, 0xFF, false},
    {kGroupTextPosition, 0x08, 4, "tabulation", 1026, 0xFF, false},
    {kGroupBarcode, 0x01, 8, "barcodeHeight", 1033, 0xFF, false},
    {kGroupBarcode, 0x02, 11, "barcodeLeftIndent", 1027, 0xFF, false},
    {kGroupBarcode, 0x04, 9, "barcodeWidth", 1034, 0xFF, false},
    {kGroupBarcode, 0x08, 10, "barcodeQuietZone", 1036, 0x07, false},
}};

bool IsFlowCharacter(int value) {
    return value == kXon || value == kXoff;
}

bool CanHold(const FlowField& field, int value) {
    return value >= 0 && value <= 0xFF && !IsFlowCharacter(value) &&
           (!field.fontBits || (value & 0x02) == 0);
}

std::uint8_t NearestAllowed(const FlowField& field, std::uint8_t value) {
    for (int distance = 1;; ++distance) {
        if (CanHold(field, value + distance)) {
            return static_cast<std::uint8_t>(value + distance);
        }
        if (CanHold(field, value - distance)) {
            return static_cast<std::uint8_t>(value - distance);
        }
    }
}

const FlowField* FieldAt(int byteIndex) {
    for (const FlowField& field : kFields) {
        if (field.byteIndex == byteIndex) {
            return &field;
        }
    }
    return nullptr;
}

}  // namespace

bool UsesSoftwareFlow(FlowControl lineFlowControl, const PrinterSettings& record) {
    const int portFlow = (record.portFlowControl >> 4) & 0x03;
    return lineFlowControl == FlowControl::XonXoff || lineFlowControl == FlowControl::Both ||
           portFlow == 2 || portFlow == 3;
}

std::vector<FlowCharacterChange> AvoidFlowCharacters(int group, PrinterSettings& record,
                                                     int& mask) {
    std::vector<FlowCharacterChange> changes;
    auto bytes = record.ToBytes();
    for (const FlowField& field : kFields) {
        std::uint8_t& byte = bytes[static_cast<std::size_t>(field.byteIndex)];
        if (field.group != group || !IsFlowCharacter(byte)) {
            continue;
        }
        const std::uint8_t stored = NearestAllowed(field, byte);
        changes.push_back({field.byteIndex, byte, stored});
        byte = stored;
        mask |= field.maskBit;
    }
    record = PrinterSettings::FromBytes(bytes);
    return changes;
}

std::string FlowFieldName(int byteIndex) {
    const FlowField* field = FieldAt(byteIndex);
    return field != nullptr ? field->name : "";
}

std::string FlowCharacterMessage(const std::vector<FlowCharacterChange>& changes) {
    std::string text = TranslatedText(
        "FlowCharacters",
        "При управлении потоком Xon/Xoff принтер не может передать байты 17 и 19, поэтому "
        "сохранено:");
    for (const FlowCharacterChange& change : changes) {
        const FlowField* field = FieldAt(change.byteIndex);
        if (field == nullptr) {
            continue;
        }
        // Appended piece by piece: "\n" + std::string(...) trips GCC 12's false -Wrestrict at -O3.
        text += '\n';
        text += ConfigString(field->labelId);
        text += ": " + std::to_string(change.stored & field->shownBits);
        text += ' ';
        text += TranslatedText("FlowCharacters", "вместо");
        text += ' ' + std::to_string(change.wanted & field->shownBits);
    }
    return text;
}
