#pragma once

#include <array>
#include <cstdint>
#include <span>

// How the reply to the pending request is recognised.
enum class ReplyMode { Idle = 0, Stream = 1, FixedLength = 2, Pattern = 3 };

inline constexpr int kReplyKindTerminator = 16;   // the reply ends with the pattern bytes
inline constexpr int kReplyKindLengthField = 17;  // the pattern describes a length field
inline constexpr int kPatternCapacity = 64;

struct ReplyRule {
    ReplyMode mode = ReplyMode::Idle;
    int replyKind = 0;
    int expectedLen = 0;
    int patternLen = 0;
    std::array<std::uint8_t, kPatternCapacity> pattern{};
};

// Whether a pattern description can be awaited: kind 16 needs at least one byte; kind 17 needs
// four bytes, an offset that is not zero and a field width that is not zero. Patterns longer than
// the store are refused rather than cut, since a cut terminator would end replies early.
bool IsAcceptablePattern(int replyKind, const std::uint8_t* pattern, int patternLen);

enum class ReplyProgress { Incomplete, Complete, Abandon };

// Whether the bytes collected so far complete a fixed-length or pattern reply.
ReplyProgress AssessReply(const ReplyRule& rule, std::span<const std::uint8_t> received);
