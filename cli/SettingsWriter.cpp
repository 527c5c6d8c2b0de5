#include "SettingsWriter.h"

#include <array>
#include <chrono>
#include <functional>
#include <iostream>
#include <thread>

#include "BarcodeStore.h"
#include "CommandTable.h"
#include "FlowCharacters.h"
#include "FontStore.h"
#include "OptionFrame.h"
#include "OptionsStore.h"
#include "PortStore.h"
#include "PrintingStore.h"
#include "TextPositionStore.h"

namespace {

using namespace std::chrono_literals;

constexpr std::array<unsigned, 10> kBaudRates{115200, 57600, 38400, 28800, 19200,
                                              14400,  9600,  4800,  2400,  1200};
constexpr std::array<int, 4> kDotsItems{32, 64, 96, 128};

struct PageRule {
    int group;
    std::function<int(const PrinterSettings& wanted, PrinterSettings& record)> store;
};

const PageRule kPageRules[] = {
    {kGroupPrinting,
     [](const PrinterSettings& wanted, PrinterSettings& record) {
         return StorePrinting(
             {wanted.contrast, wanted.printSpeed,
              kDotsItems[static_cast<std::size_t>(DotsItemIndex(wanted.dotsCount))]},
             record);
     }},
    {kGroupFont,
     [](const PrinterSettings& wanted, PrinterSettings& record) {
         return StoreFont(FontValuesOf(wanted.fontMode), record);
     }},
    {kGroupTextPosition,
     [](const PrinterSettings& wanted, PrinterSettings& record) {
         return StoreTextPosition(TextPositionValuesOf(wanted), record);
     }},
    {kGroupBarcode,
     [](const PrinterSettings& wanted, PrinterSettings& record) {
         return StoreBarcode(BarcodeValuesOf(wanted), record);
     }},
    {kGroupPrinterOptions,
     [](const PrinterSettings& wanted, PrinterSettings& record) {
         return StoreOptions(OptionsValuesOf(wanted), record);
     }},
};

// The connection follows the printer's new port: speed, framing and flow from the record.
ChannelConfig LineFor(ChannelConfig line, const PortValues& port) {
    line.baudRate = kBaudRates[static_cast<std::size_t>(port.baudIndex)];
    line.parity = port.framingIndex / 2;
    line.stopBits = port.framingIndex % 2 == 1 ? 2 : 0;
    line.flowControl = port.flowIndex;
    return line;
}

bool ChangePort(CPrinterSession& session, PrinterSettings& current, const PrinterSettings& wanted) {
    PortValues port = PortValuesOf(wanted);
    // Unlike the page, whose framing box is fixed, the command line can set the framing too.
    port.framingIndex = wanted.portFraming <= 5 ? wanted.portFraming : 0;
    if (StorePort(port, current) == 0) {
        return true;
    }
    session.Save(current, kGroupPrinterPort, 0x01);
    std::this_thread::sleep_for(300ms);
    session.Close();
    std::this_thread::sleep_for(300ms);
    if (!session.Reopen(LineFor(session.Line(), port))) {
        return false;
    }
    std::this_thread::sleep_for(100ms);
    session.Send(CMD_STORE_SETTINGS);
    return true;
}

// One line per value the flow-control rule changed, naming the field and the value stored.
void ReportFlowCharacters(const std::vector<FlowCharacterChange>& changes) {
    for (const FlowCharacterChange& change : changes) {
        std::cerr << FlowFieldName(change.byteIndex) << ": сохранено "
                  << static_cast<int>(change.stored) << " вместо "
                  << static_cast<int>(change.wanted)
                  << " (при управлении потоком Xon/Xoff байты 17 и 19 не передаются)\n";
    }
}

}  // namespace

bool WriteSettings(CPrinterSession& session, PrinterSettings current,
                   const PrinterSettings& wanted) {
    // Also when the change turns the printer's own port to software flow control: the values go
    // out on the old line, before the port changes.
    const bool softwareFlow = UsesSoftwareFlow(session.Line().flowControl, wanted);
    for (const PageRule& rule : kPageRules) {
        int mask = rule.store(wanted, current);
        if (softwareFlow) {
            ReportFlowCharacters(AvoidFlowCharacters(rule.group, current, mask));
        }
        if (mask != 0) {
            session.Save(current, rule.group, mask);
        }
    }
    return ChangePort(session, current, wanted);
}
