#include "LoadMessages.h"

#include "Cp1251.h"

std::string LoadMessageText(LoadMessage message, const std::string& model, bool program) {
    switch (message) {
        case LM_TIMEOUT:
            return LoadString(IDS_TIMEOUT);
        case LM_BAD_CONTROLLER:
            return FormatString(IDS_BAD_CONTROLLER, Cp1251ToUtf8(model));
        case LM_MODEL_MISMATCH:
            return FormatString(IDS_MODEL_MISMATCH, Cp1251ToUtf8(model));
        case LM_BAD_PACKET:
            return LoadString(IDS_BAD_PACKET);
        case LM_BAD_COMMAND:
            return LoadString(IDS_BAD_COMMAND);
        case LM_BAD_BOOT_REPLY:
            return std::string(LoadString(IDS_BAD_COMMAND)) + "\n" + LoadString(IDS_SPEED_HINT);
        case LM_BAD_ADDRESS:
            return LoadString(IDS_BAD_ADDRESS);
        case LM_BAD_SIZE:
            return LoadString(IDS_BAD_SIZE);
        case LM_INTEGRITY:
            return LoadString(IDS_INTEGRITY);
        case LM_NO_DATA:
            return LoadString(IDS_NO_DATA);
        case LM_BAD_BLOCK_CRC:
            return LoadString(IDS_BAD_BLOCK_CRC);
        case LM_BAD_ECHO:
            return LoadString(IDS_BAD_ECHO);
        case LM_DONE:
            return LoadString(program ? IDS_PROGRAM_LOADED : IDS_FONT_LOADED);
        case LM_LINE_LOST:
            return LoadString(IDS_LINE_LOST);
        case LM_NO_ROOM:
            return LoadString(IDS_NO_ROOM);
        case LM_STATUS:
        case LM_STEP:
            break;
    }
    return {};
}

// The first lines are the ones the loader has always shown; the last one says what to do.
std::string LoadPortNotOpenedText(const OpenFailure& failure) {
    const std::string cause = DescribeOpenFailure(failure);
    return LoadString(IDS_PORT_NOT_OPENED) + (cause.empty() ? "" : "\n" + cause);
}

std::string LoadStatusText(const std::string& model, bool program) {
    return FormatString(program ? IDS_LOADING_PROGRAM : IDS_LOADING_FONT, Cp1251ToUtf8(model));
}
