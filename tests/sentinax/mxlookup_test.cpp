#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "sentinax/mxlookup.h"

namespace {

// DNS answers built byte by byte, as a server would send them.
class Answer {
public:
    Answer& U16(uint16_t value) {
        bytes.push_back(static_cast<uint8_t>(value >> 8));
        bytes.push_back(static_cast<uint8_t>(value));
        return *this;
    }
    Answer& U32(uint32_t value) { return U16(static_cast<uint16_t>(value >> 16)).U16(static_cast<uint16_t>(value)); }
    Answer& Name(const std::vector<std::string>& labels, int pointer = -1) {
        for (const std::string& label : labels) {
            bytes.push_back(static_cast<uint8_t>(label.size()));
            bytes.insert(bytes.end(), label.begin(), label.end());
        }
        if (pointer >= 0)
            U16(static_cast<uint16_t>(0xC000 | pointer));
        else
            bytes.push_back(0);
        return *this;
    }
    // A record whose owner is the question's name (offset 12).
    Answer& Record(uint16_t type, const std::vector<uint8_t>& data) {
        U16(0xC00C).U16(type).U16(1).U32(300).U16(static_cast<uint16_t>(data.size()));
        bytes.insert(bytes.end(), data.begin(), data.end());
        return *this;
    }
    static std::vector<uint8_t> Mx(uint16_t preference, const Answer& name) {
        std::vector<uint8_t> data = {static_cast<uint8_t>(preference >> 8), static_cast<uint8_t>(preference)};
        data.insert(data.end(), name.bytes.begin(), name.bytes.end());
        return data;
    }

    std::vector<uint8_t> bytes;
};

// Header and question for example.com MX, with `answers` records to follow.
Answer Header(uint16_t answers) {
    Answer answer;
    answer.U16(0x1234).U16(0x8180).U16(1).U16(answers).U16(0).U16(0);
    answer.Name({"example", "com"}).U16(15).U16(1);
    return answer;
}

// Exchangers are tried by preference, as mail is meant to go: the backup
// exchangers only when the preferred ones fail.
TEST(MxAnswer, ExchangersByPreferenceOtherTypesPassedOver) {
    Answer answer = Header(4);
    answer.Record(15, Answer::Mx(20, Answer().Name({"mx1", "example", "com"})));
    answer.Record(5, Answer().Name({"alias", "example", "com"}).bytes);
    answer.Record(15, Answer::Mx(5, Answer().Name({"mx2"}, 12)));
    answer.Record(15, Answer::Mx(20, Answer().Name({"mx3"}, 12)));
    std::vector<std::string> hosts;
    ASSERT_TRUE(ParseMxAnswer(answer.bytes.data(), answer.bytes.size(), hosts));
    EXPECT_EQ(hosts, (std::vector<std::string>{"mx2.example.com", "mx1.example.com", "mx3.example.com"}));
}

TEST(MxAnswer, NoRecordsIsAnAnswerWithoutExchangers) {
    Answer answer = Header(0);
    std::vector<std::string> hosts = {"stale"};
    EXPECT_TRUE(ParseMxAnswer(answer.bytes.data(), answer.bytes.size(), hosts));
    EXPECT_TRUE(hosts.empty());
}

TEST(MxAnswer, DamagedAnswersAreRefused) {
    const Answer good = [] {
        Answer answer = Header(1);
        answer.Record(15, Answer::Mx(10, Answer().Name({"mx", "example", "com"})));
        return answer;
    }();
    std::vector<std::string> hosts;
    for (size_t length : {size_t{0}, size_t{5}, size_t{12}, good.bytes.size() - 1}) {
        EXPECT_FALSE(ParseMxAnswer(good.bytes.data(), length, hosts)) << length;
        EXPECT_TRUE(hosts.empty());
    }
    Answer loop = Header(1);
    // The name points at itself: past the record's fixed part and the preference.
    const size_t at = loop.bytes.size() + 12 + 2;
    loop.Record(15, Answer::Mx(10, Answer().Name({}, static_cast<int>(at))));
    EXPECT_FALSE(ParseMxAnswer(loop.bytes.data(), loop.bytes.size(), hosts));

    Answer tooShort = Header(1);
    tooShort.Record(15, {0, 10});
    EXPECT_FALSE(ParseMxAnswer(tooShort.bytes.data(), tooShort.bytes.size(), hosts));

    Answer beyond = Header(1);
    // The name runs past the record's data into the next bytes.
    beyond.Record(15, {0, 10, 3, 'm', 'x'});
    beyond.bytes.insert(beyond.bytes.end(), {'x', 0});
    EXPECT_FALSE(ParseMxAnswer(beyond.bytes.data(), beyond.bytes.size(), hosts));
    EXPECT_FALSE(ParseMxAnswer(nullptr, 10, hosts));
}

TEST(MxResolver, EmptyNameFailsWithoutAsking) {
    CDnsMxResolver resolver;
    std::vector<std::string> hosts;
    int error = 0;
    EXPECT_FALSE(resolver.QueryMx("", hosts, error));
    EXPECT_NE(error, 0);
}

}  // namespace
