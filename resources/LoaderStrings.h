#pragma once

#include <string>

// The loader's string table: every text the loader shows, by its number.
enum LoaderString : int {
    IDS_ABOUTBOX = 101,
    IDS_BAD_FILE_DATA = 102,
    IDS_PORT_NOT_OPENED = 103,
    IDS_LOADING_FONT = 104,
    IDS_LOADING_PROGRAM = 105,
    IDS_CANNOT_OPEN_FILE = 106,
    IDS_FILE_FILTER = 107,
    IDS_PROGRAM_LOADED = 108,
    IDS_FONT_LOADED = 109,
    IDS_TIMEOUT = 110,
    IDS_BAD_CONTROLLER = 111,
    IDS_MODEL_MISMATCH = 112,
    IDS_BAD_PACKET = 113,
    IDS_BAD_COMMAND = 114,
    IDS_BAD_ADDRESS = 115,
    IDS_BAD_SIZE = 116,
    IDS_INTEGRITY = 117,
    IDS_BAD_BLOCK_CRC = 118,
    IDS_BAD_ECHO = 119,
    IDS_NO_DATA = 120,
    IDS_LINE_LOST = 121,
    IDS_NO_ROOM = 122,
    IDS_SPEED_HINT = 123,
    IDS_LOAD_STOPPED = 124,
};

// UTF-8 text of a string; an empty string for a number the table does not hold.
const char* LoadString(LoaderString id);
// The text with its one "%s" replaced.
std::string FormatString(LoaderString id, const std::string& argument);
