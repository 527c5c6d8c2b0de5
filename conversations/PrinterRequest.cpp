#include "PrinterRequest.h"

#include "CommandTable.h"

#include <utility>

PrinterRequest RequestWithoutReply(int command) {
    return {command, {}, {}};
}

PrinterRequest RequestFixedReply(int command, std::vector<std::uint8_t> parameters, int length) {
    PrinterRequest request{command, std::move(parameters), {}};
    request.reply.mode = ReplyMode::FixedLength;
    request.reply.expectedLen = length;
    return request;
}

PrinterRequest RequestUntilTerminator(int command, std::vector<std::uint8_t> parameters,
                                      std::uint8_t terminator) {
    PrinterRequest request{command, std::move(parameters), {}};
    request.reply.mode = ReplyMode::Pattern;
    request.reply.replyKind = kReplyKindTerminator;
    request.reply.patternLen = 1;
    request.reply.pattern[0] = terminator;
    return request;
}

PrinterRequest StatusRequest() {
    return RequestFixedReply(CMD_GET_STATUS, {0}, 1);
}

bool SendRequest(CMiniPrinter& printer, const PrinterRequest& request) {
    const std::uint8_t* parameters =
        request.parameters.empty() ? nullptr : request.parameters.data();
    const int count = static_cast<int>(request.parameters.size());
    switch (request.reply.mode) {
        case ReplyMode::FixedLength:
            return printer.SendCommand(request.command, parameters, count, true,
                                       request.reply.expectedLen);
        case ReplyMode::Pattern:
            return printer.SendCommandWithTerminator(
                request.command, parameters, count, request.reply.replyKind,
                request.reply.pattern.data(), request.reply.patternLen);
        case ReplyMode::Idle:
        case ReplyMode::Stream:
            break;
    }
    return printer.SendCommand(request.command, parameters, count, false, 0);
}
