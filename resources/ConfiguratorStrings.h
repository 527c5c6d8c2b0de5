#pragma once

// The configurator's string table: every text the configurator shows, by its number.
enum ConfigStringId : int {
    IDS_CONNECTION = 1000,
    IDS_PRINTER_SETTINGS = 1001,
    IDS_PRINTING = 1002,
    IDS_FONT = 1003,
    IDS_BARCODE = 1004,
    IDS_SERVICE_INFO = 1005,
    IDS_INTERFACE_LABEL = 1006,
    IDS_PORT_LABEL = 1007,
    IDS_SPEED_LABEL = 1008,
    IDS_FRAMING_LABEL = 1009,
    IDS_DATA_BITS_LABEL = 1010,
    IDS_FLOW_LABEL = 1011,
    IDS_CONNECT = 1012,
    IDS_TEXT_POSITION = 1025,
    IDS_CONTRAST_LABEL = 1038,
    IDS_SPEED_PRINT_LABEL = 1039,
    IDS_DOTS_LABEL = 1040,
    IDS_DOTS_NOTE = 1041,
    IDS_DISCONNECT = 1042,
    IDS_NO_CONNECTION = 1044,
    IDS_CONNECTED = 1045,
    IDS_REPLY_TIMEOUT = 1046,
    IDS_CONNECTING = 1047,
    IDS_RS232 = 1048,
    IDS_SAVE_SETTINGS = 1052,
    IDS_BAD_REPLY = 1057,
    IDS_REQUEST = 1058,
    IDS_TITLE = 1080,
    IDS_ABOUT = 1085,
    IDS_LINE_LOST = 1094,
};

// UTF-8 text of a string; an empty string for a number the table does not hold.
const char* ConfigString(int id);
