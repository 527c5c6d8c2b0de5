#include <gtest/gtest.h>

#include <vector>

#include "ReplyRule.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

ReplyRule PatternRule(int kind, const Bytes& pattern) {
    ReplyRule rule;
    rule.mode = ReplyMode::Pattern;
    rule.replyKind = kind;
    rule.patternLen = static_cast<int>(pattern.size());
    std::copy(pattern.begin(), pattern.end(), rule.pattern.begin());
    return rule;
}

ReplyRule FixedRule(int length) {
    ReplyRule rule;
    rule.mode = ReplyMode::FixedLength;
    rule.expectedLen = length;
    return rule;
}

struct AssessCase {
    const char* name;
    ReplyRule rule;
    Bytes received;
    ReplyProgress expected;
};

TEST(ReplyRule, RecognisesCompleteReplies) {
    const Bytes terminator{0x0A};
    const Bytes crlf{0x0D, 0x0A};
    const Bytes field{0x02, 0x00, 0x01, 0x00};
    const Bytes fieldWithHeader{0x02, 0x00, 0x01, 0x01};
    const AssessCase cases[] = {
        {"fixed 19, 18 bytes", FixedRule(19), Bytes(18), ReplyProgress::Incomplete},
        {"fixed 19, 19 bytes", FixedRule(19), Bytes(19), ReplyProgress::Complete},
        {"fixed 19, 25 bytes", FixedRule(19), Bytes(25), ReplyProgress::Complete},
        {"LF absent", PatternRule(16, terminator), {0x41, 0x42, 0x43}, ReplyProgress::Incomplete},
        {"LF inside", PatternRule(16, terminator), {0x41, 0x0A, 0x46}, ReplyProgress::Complete},
        {"CR LF apart", PatternRule(16, crlf), {0x0A, 0x0D, 0x41, 0x0A}, ReplyProgress::Incomplete},
        {"CR LF together",
         PatternRule(16, crlf),
         {0x0A, 0x41, 0x0D, 0x0A},
         ReplyProgress::Complete},
        {"field not there yet", PatternRule(17, field), {1, 2}, ReplyProgress::Incomplete},
        {"field 6, 5 bytes", PatternRule(17, field), {1, 2, 6, 4, 5}, ReplyProgress::Incomplete},
        {"field 6, 6 bytes", PatternRule(17, field), {1, 2, 6, 4, 5, 6}, ReplyProgress::Complete},
        {"header, 7 bytes",
         PatternRule(17, fieldWithHeader),
         {1, 2, 6, 4, 5, 6, 7},
         ReplyProgress::Incomplete},
        {"header, 8 bytes",
         PatternRule(17, fieldWithHeader),
         {1, 2, 6, 4, 5, 6, 7, 8},
         ReplyProgress::Complete},
        {"unknown kind", PatternRule(5, terminator), {0x0A}, ReplyProgress::Abandon},
    };
    for (const AssessCase& c : cases) {
        EXPECT_EQ(AssessReply(c.rule, c.received), c.expected) << c.name;
    }
}

TEST(ReplyRule, LengthFieldsTooLargeToArriveNeverComplete) {
    // Width 12: bytes beyond the eighth are set, so the length exceeds anything receivable.
    const Bytes wide{0x01, 0x00, 0x0C, 0x01};
    Bytes received(64, 0xFF);
    EXPECT_EQ(AssessReply(PatternRule(17, wide), received), ReplyProgress::Incomplete);
    // Width 8 of all ones plus a header must not wrap around to a small number.
    const Bytes eight{0x01, 0x00, 0x08, 0x01};
    EXPECT_EQ(AssessReply(PatternRule(17, eight), received), ReplyProgress::Incomplete);
}

struct PatternCase {
    int kind;
    Bytes pattern;
    bool nullPattern;
    bool acceptable;
};

TEST(ReplyRule, RefusesPatternsThatCannotBeAwaited) {
    const PatternCase cases[] = {
        {16, {0x0A}, false, true},
        {16, {}, false, false},
        {16, {0x0A}, true, false},
        {17, {0x02, 0x00, 0x01, 0x00}, false, true},
        {17, {0x00, 0x00, 0x01, 0x00}, false, false},
        {17, {0x00, 0x01, 0x01, 0x00}, false, true},
        {17, {0x02, 0x00, 0x00, 0x00}, false, false},
        {17, {0x02, 0x00, 0x01}, false, false},
        {5, {0x0A}, false, false},
        {16, Bytes(64, 0x0A), false, true},
        {16, Bytes(65, 0x0A), false, false},
    };
    for (const PatternCase& c : cases) {
        const auto* data = c.nullPattern ? nullptr : c.pattern.data();
        EXPECT_EQ(IsAcceptablePattern(c.kind, data, static_cast<int>(c.pattern.size())),
                  c.acceptable)
            << "kind " << c.kind << ", " << c.pattern.size() << " bytes";
    }
}

}  // namespace
