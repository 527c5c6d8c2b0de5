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

// Hands the request to the printer object; false when it refused it.
bool SendRequest(CMiniPrinter& printer, const PrinterRequest& request);
