#include "ReplyRule.h"

#include <algorithm>
#include <limits>

namespace {

bool ContainsRun(std::span<const std::uint8_t> received, std::span<const std::uint8_t> run) {
    return std::search(received.begin(), received.end(), run.begin(), run.end()) != received.end();
}

constexpr std::uint64_t kUnreachable = std::numeric_limits<std::uint64_t>::max();

// The little-endian value of the length field; a field wider than 64 bits whose high bytes are
// set asks for more bytes than can ever arrive.
std::uint64_t FieldValue(std::span<const std::uint8_t> field) {
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (i >= 8) {
            if (field[i] != 0) {
                return kUnreachable;
            }
            continue;
        }
        value |= std::uint64_t{field[i]} << (8 * i);
    }
    return value;
}

ReplyProgress AssessLengthField(const ReplyRule& rule, std::span<const std::uint8_t> received) {
    const std::uint64_t offset = rule.pattern[0] + 256u * rule.pattern[1];
    const std::uint64_t width = rule.pattern[2];
    const bool withHeader = rule.pattern[3] != 0;
    if (received.size() < offset + width) {
        return ReplyProgress::Incomplete;
    }
    const std::uint64_t value = FieldValue(received.subspan(offset, width));
    const std::uint64_t header = withHeader ? offset + width - 1 : 0;
    if (value > kUnreachable - header || received.size() < value + header) {
        return ReplyProgress::Incomplete;
    }
    return ReplyProgress::Complete;
}

}  // namespace

bool IsAcceptablePattern(int replyKind, const std::uint8_t* pattern, int patternLen) {
    if (pattern == nullptr || patternLen > kPatternCapacity) {
        return false;
    }
    switch (replyKind) {
        case kReplyKindTerminator:
            return patternLen >= 1;
        case kReplyKindLengthField:
            return patternLen >= 4 && pattern[2] != 0 && (pattern[0] != 0 || pattern[1] != 0);
        default:
            return false;
    }
}

ReplyProgress AssessReply(const ReplyRule& rule, std::span<const std::uint8_t> received) {
    if (rule.mode == ReplyMode::FixedLength) {
        return received.size() >= static_cast<std::size_t>(rule.expectedLen)
                   ? ReplyProgress::Complete
                   : ReplyProgress::Incomplete;
    }
    if (rule.mode != ReplyMode::Pattern) {
        return ReplyProgress::Abandon;
    }
    switch (rule.replyKind) {
        case kReplyKindTerminator: {
            const std::span<const std::uint8_t> run(rule.pattern.data(), rule.patternLen);
            return ContainsRun(received, run) ? ReplyProgress::Complete : ReplyProgress::Incomplete;
        }
        case kReplyKindLengthField:
            return AssessLengthField(rule, received);
        default:
            return ReplyProgress::Abandon;
    }
}
