#include "core/zvlogin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing::ElementsAre;

class RecordingStatus : public CStatusSink {
public:
    void OnStatus(const std::string& text) override { lines.push_back(text); }
    std::vector<std::string> lines;
};

std::string Answer(const std::string& body) {
    return "HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + body;
}

TEST(SplitField, TakesFieldsAndRepeatsTheLast) {
    std::string text = "10.0.0.5|4500";
    std::string field;
    std::vector<std::string> fields;
    for (int i = 0; i < 4; ++i) {
        SplitField(field, '|', text);
        fields.push_back(field);
    }
    EXPECT_THAT(fields, ElementsAre("10.0.0.5", "4500", "4500", "4500"));
    text = "|x";
    SplitField(field, '|', text);
    EXPECT_EQ(field, "");
    EXPECT_EQ(text, "x");
}

TEST(ClientName, ByTypeAndProgram) {
    struct Case {
        ZVVariant variant;
        int type;
        const char* name;
    };
    const Case cases[] = {
        {ZVVariant::Tablet, -1, "Remote Vistrel 800x600"}, {ZVVariant::Tablet, 0, "Remote Vistrel 800x600"},
        {ZVVariant::Tablet, 1, "Remote Vistrel 240x320"},  {ZVVariant::Config, 3, "Configurator"},
        {ZVVariant::Tablet, 6, "Remote Vistrel 800x480"},  {ZVVariant::Tablet, 8, "Remote Vistrel 240x240"},
        {ZVVariant::Tablet, 7, "Service"},                 {ZVVariant::Tablet, 11, "Service"},
        {ZVVariant::Monitor, 11, "iPhone"},                {ZVVariant::Monitor, 12, "iPhone 3G"},
        {ZVVariant::Monitor, 15, "iPad"},                  {ZVVariant::Monitor, 16, "iPad 3G"},
        {ZVVariant::Monitor, 2, "Service"},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(ZVClientName(c.variant, c.type), c.name) << c.type;
}

TEST(AddressServerRequest, HeaderAndBodyBytes) {
    std::string body = AddressServerBody("POOL7");
    EXPECT_EQ(body, "USERNAME=POOL7");
    EXPECT_EQ(AddressServerHeader("service.example", body.size()),
              "POST /cgi-bin/getaddr.pl HTTP/1.0\r\nUser-Agent: Zavoro\r\nHost: service.example\r\n"
              "Content-Length: 14\r\nCache-Control: no-cache\r\n\r\n");
}

TEST(AddressAnswerComplete, NeedsTheHeadAndTheAnnouncedBody) {
    const std::string head = "HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\n";
    EXPECT_FALSE(AddressAnswerComplete("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n"));
    EXPECT_FALSE(AddressAnswerComplete(head));
    EXPECT_FALSE(AddressAnswerComplete(head + "1|X|"));
    EXPECT_TRUE(AddressAnswerComplete(head + "1|X|y"));
    EXPECT_TRUE(AddressAnswerComplete("HTTP/1.0 200 OK\r\ncontent-length:0\r\n\r\n"));
    // Without a length only the server's close ends the answer.
    EXPECT_FALSE(AddressAnswerComplete("HTTP/1.0 200 OK\r\n\r\n1|X|y"));
    EXPECT_FALSE(AddressAnswerComplete("HTTP/1.0 200 OK\r\nContent-Length: x\r\n\r\n1|X|y"));
}

TEST(ParseAddressAnswer, TakesAddressPortAndChallenge) {
    const std::string body = "17|POOL1|u|10.0.0.5|4500|192.168.1.2|80|Chal";
    ZVSystemLocation location;
    ASSERT_EQ(ParseAddressAnswer(Answer(body), "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.address, "10.0.0.5");
    EXPECT_EQ(location.port, "4500");
    EXPECT_EQ(location.challenge, "Chal");
    ASSERT_EQ(ParseAddressAnswer(Answer(body + "\r\nmore\r\n"), "POOL1", 1, &location, nullptr), 1);
    EXPECT_EQ(location.address, "192.168.1.2");
    EXPECT_EQ(location.port, "80");
    EXPECT_EQ(location.challenge, "Chal");
}

TEST(ParseAddressAnswer, ANumberAbove1000DropsTheChallenge) {
    ZVSystemLocation location;
    ASSERT_EQ(ParseAddressAnswer(Answer("1234|POOL1|u|10.0.0.5|4500|a|b|Chal"), "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.address, "10.0.0.5");
    EXPECT_EQ(location.port, "4500");
    EXPECT_EQ(location.challenge, "");
    ASSERT_EQ(ParseAddressAnswer(Answer("99999999999999999999|POOL1|u|1.2.3.4|5|a|b|C"), "POOL1", 0, &location,
                                 nullptr),
              1);
    EXPECT_EQ(location.challenge, "");
}

TEST(ParseAddressAnswer, MissingFieldsRepeatTheLast) {
    ZVSystemLocation location;
    ASSERT_EQ(ParseAddressAnswer(Answer("\n5|POOL1|u|10.1.2.3\n"), "POOL1", 1, &location, nullptr), 1);
    EXPECT_EQ(location.address, "10.1.2.3");
    EXPECT_EQ(location.port, "10.1.2.3");
    EXPECT_EQ(location.challenge, "10.1.2.3");
}

TEST(ParseAddressAnswer, TheAnnouncedLengthEndsTheBody) {
    ZVSystemLocation location;
    const std::string answer = "HTTP/1.0 200 OK\r\nContent-Length: 29\r\n\r\n1|POOL1|u|10.0.0.5|4500|a|b|CJUNK";
    ASSERT_EQ(ParseAddressAnswer(answer, "POOL1", 0, &location, nullptr), 1);
    EXPECT_EQ(location.challenge, "C");
}

TEST(ParseAddressAnswer, ReportsEachFailure) {
    struct Case {
        std::string answer;
        std::vector<std::string> lines;
    };
    const std::string longRefusal = "HTTP/1.0 404 Not Found\r\nServer: somewhere far away\r\n\r\n";
    const Case cases[] = {
        {longRefusal, {"Error, Returned:", longRefusal.substr(0, 40)}},
        {"HTTP/1.0 500", {"Error, Returned:", "HTTP/1.0 500"}},
        {"", {"Error, Returned:", ""}},
        // "200 OK" only in the body is no success.
        {"HTTP/1.0 403 Forbidden\r\n\r\n200 OK|POOL1", {"Error, Returned:", "HTTP/1.0 403 Forbidden\r\n\r\n200 OK|POOL1"}},
        {"HTTP/1.0 200 OK\r\nContent-Length: 4\r\n", {"Error: Cant find data"}},
        {"HTTP/1.0 200 OK\r\n\r\n", {"Error: Cant find data"}},
        {"HTTP/1.0 200 OK\r\n\r\n\r\n1|POOL1|u|1.2.3.4|5", {"Error: Cant find data"}},
        {Answer("1|POOL2|u|10.0.0.5|4500|a|b|C"), {"Public Port Closed"}},
        {Answer("1|pool1|u|10.0.0.5|4500|a|b|C"), {"Public Port Closed"}},
    };
    for (const Case& c : cases) {
        RecordingStatus status;
        ZVSystemLocation location{"kept", "kept", "kept"};
        EXPECT_EQ(ParseAddressAnswer(c.answer, "POOL1", 0, &location, &status), 0) << c.answer;
        EXPECT_EQ(status.lines, c.lines) << c.answer;
        EXPECT_EQ(location.address, "kept");
        EXPECT_EQ(ParseAddressAnswer(c.answer, "POOL1", 0, &location, nullptr), 0);
    }
}

}  // namespace
