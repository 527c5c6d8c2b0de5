#pragma once

#include <string>

#include "ChannelMessages.h"
#include "LoaderStrings.h"
#include "OpenFailure.h"

// How a load reports to its window. Values kept from the window-message design.
enum LoadMessage : unsigned {
    LM_TIMEOUT = kWmUser + 10,
    LM_BAD_CONTROLLER = kWmUser + 11,
    LM_MODEL_MISMATCH = kWmUser + 12,
    LM_BAD_PACKET = kWmUser + 13,
    LM_BAD_COMMAND = kWmUser + 14,
    LM_BAD_ADDRESS = kWmUser + 15,
    LM_BAD_SIZE = kWmUser + 16,
    LM_INTEGRITY = kWmUser + 17,
    LM_NO_DATA = kWmUser + 18,
    LM_BAD_BLOCK_CRC = kWmUser + 19,
    LM_BAD_ECHO = kWmUser + 20,
    LM_DONE = kWmUser + 21,
    LM_STATUS = kWmUser + 22,
    LM_STEP = kWmUser + 23,
    // The line went away in the middle of a load (an unplugged adapter).
    LM_LINE_LOST = kWmUser + 24,
    // A font would run past the top of the printer's memory from where the printer puts it.
    LM_NO_ROOM = kWmUser + 25,
    // The answer to the boot request is no controller code. A printer whose line runs at another
    // speed answers so: every byte reaches it garbled, and its answer reaches us so.
    LM_BAD_BOOT_REPLY = kWmUser + 26,
};

// Every notification but the status refresh and the font step ends the load.
inline bool EndsLoad(LoadMessage message) {
    return message != LM_STATUS && message != LM_STEP;
}

// The text shown for an ending; the model (Windows-1251, as in the file or from the printer)
// fills the "%s" of the controller messages, and the file kind tells which success message
// applies.
std::string LoadMessageText(LoadMessage message, const std::string& model, bool program);
// "Загрузка программы в %s..." or "Загрузка шрифта в %s..." with the model.
std::string LoadStatusText(const std::string& model, bool program);
// "Не удалось открыть порт...", with the cause on a further line when one is known.
std::string LoadPortNotOpenedText(const OpenFailure& failure);

// Receives a load's notifications, on the port's reader thread or the watchdog's thread.
// OnRecordTaken is the progress step of a program load. Implementations must not block on a
// thread that could be deleting the link.
class ILoadOwner {
public:
    virtual ~ILoadOwner() = default;
    virtual void OnLoadMessage(LoadMessage message) = 0;
    virtual void OnRecordTaken() = 0;
};
