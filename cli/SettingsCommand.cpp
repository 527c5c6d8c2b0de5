#include "SettingsCommand.h"

#include <iostream>

#include "CMiniPrinter.h"
#include "CommandTable.h"
#include "ConsoleNotifier.h"
#include "ReplyWaiter.h"
#include "SettingsText.h"

const char* const kSettingsExitCodesHelp =
    "Exit codes: 0 done, 3 the port does not open, 4 the printer did not answer in time, "
    "5 the printer's answer has the wrong length.";

int RunSettingsRead(const ChannelConfig& line, bool asJson) {
    CConsoleNotifier notifier;
    CNoPrinterQueues queues;
    CReplyWaiter waiter;
    CMiniPrinter printer(notifier, queues);
    if (!printer.Connect(&waiter, line.portName, line.baudRate, line.parity, line.flowControl,
                         line.stopBits)) {
        return kSettingsPortNotOpened;
    }
    printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, PrinterSettings::kSize);
    // The channel's own watch ends the wait; the margin only guards against a lost notification.
    const auto answer = waiter.Wait(kReplyWatch * 2);
    if (!answer || answer->message == WM_CHANNEL_TIMEOUT) {
        std::cerr << "Истекло время ожидания ответа от принтера\n";
        return kSettingsTimeout;
    }
    if (answer->bytes.size() != PrinterSettings::kSize) {
        std::cerr << "Ошибка связи. Выберите режим Xon/Xoff для управления потоком.\n";
        return kSettingsBadReply;
    }
    const auto settings =
        PrinterSettings::FromBytes(std::span<const std::uint8_t, PrinterSettings::kSize>(
            answer->bytes.data(), PrinterSettings::kSize));
    if (asJson) {
        std::cout << SettingsAsJson(settings).dump(2) << '\n';
    } else {
        std::cout << SettingsAsText(settings);
    }
    return kSettingsDone;
}
