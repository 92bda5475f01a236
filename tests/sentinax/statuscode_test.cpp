#include "sentinax/statuscode.h"

#include <gtest/gtest.h>

namespace {

struct StatusCase {
    int code;
    const char* text;
};

TEST(StatusCode, EveryCodeShowsItsText) {
    const StatusCase cases[] = {
        {1, "Not Currently Connected"},
        {2, "Connected OK"},
        {3, "Connected OK (Synchronizing)"},
        {4, "Connected OK (Service Mode)"},
        {5, "Working"},
        {10, "Not Posting"},
        {11, "Relay not found"},
        {12, "Cannot Connect"},
        {13, "Login Refused"},
        {14, "Discovery System Mismatch"},
        {15, "Login Failed"},
        {16, "Error getting Equipment Configuration"},
        {17, "Error getting System Status"},
        {18, "Error getting Chlorinator Status"},
        {19, "Error getting System Warnings"},
    };
    for (const StatusCase& c : cases)
        EXPECT_EQ(GetStatusText(c.code), c.text) << c.code;
}

TEST(StatusCode, CodesWithoutTextShowWorking) {
    for (int code : {0, 6, 7, 9, 20, -1, 255})
        EXPECT_EQ(GetStatusText(code), "Working") << code;
}

TEST(StatusCode, OnlyTheThreeConnectedCodesCountAsReached) {
    for (int code = -1; code < 25; ++code)
        EXPECT_EQ(IsConnectedStatus(code), code >= 2 && code <= 4) << code;
}

}  // namespace
