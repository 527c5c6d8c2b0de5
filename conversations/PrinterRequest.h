#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "CMiniPrinter.h"
#include "ReplyRule.h"

// One request of a conversation: the command, its parameters and how its reply is known (an
// idle rule: none is awaited).
struct PrinterRequest {
    int command = 0;
    std::vector<std::uint8_t> parameters;
    ReplyRule reply;

    bool AwaitsReply() const { return reply.mode != ReplyMode::Idle; }
};

PrinterRequest RequestWithoutReply(int command);
PrinterRequest RequestFixedReply(int command, std::vector<std::uint8_t> parameters, int length);
PrinterRequest RequestUntilTerminator(int command, std::vector<std::uint8_t> parameters,
                                      std::uint8_t terminator);

// The printer's state: one byte, as the information chain ends with it and a station asks
// whether a printer is there.
PrinterRequest StatusRequest();

// Hands the request to the printer object; false when it refused it.
bool SendRequest(CMiniPrinter& printer, const PrinterRequest& request);
