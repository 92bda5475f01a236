#include "sentinax/system.h"

#include <gtest/gtest.h>

#include "sentinax/statuscode.h"
#include "support/virtual_clock.h"

namespace {

class CSystemTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetRefreshInterval(600000);
        system.adapterName = "Brenvik: 01-23-45";
    }

    testsupport::VirtualClock clock{5000};
    CSystem system;
};

TEST_F(CSystemTest, StartsWithTheDocumentedValues) {
    const CSystem fresh;
    EXPECT_EQ(fresh.neverConnected, 1);
    EXPECT_EQ(fresh.refreshRequested, 1);
    EXPECT_EQ(fresh.firstPoll, 1);
    EXPECT_EQ(fresh.statusText, "Not Connected");
    EXPECT_EQ(fresh.name, "New System");
    EXPECT_EQ(fresh.modelName, "UNKNOWN");
    EXPECT_EQ(fresh.firmwareVersion, "UNKNOWN");
    EXPECT_EQ(fresh.includeDefaultEmail, 1);
    EXPECT_EQ(fresh.lastRefreshTick, 5000u);
    EXPECT_EQ(fresh.lastLookupTick, 5000u);
    EXPECT_EQ(fresh.freezeStartTick, 5000u);
    EXPECT_EQ(fresh.airTemperature, 255);
    EXPECT_EQ(fresh.poolHeatMode, 255);
    EXPECT_EQ(fresh.spaChlorineOutput, 255);
    EXPECT_EQ(fresh.poolHeatModeText, "-");
    EXPECT_EQ(GetRefreshInterval(), 600000u);
}

TEST_F(CSystemTest, IsDueOnRequestOrAfterTheInterval) {
    EXPECT_TRUE(system.IsDue());  // a new system is refreshed at once
    EXPECT_EQ(system.refreshRequested, 0);
    EXPECT_FALSE(system.IsDue());
    clock.Advance(600000);
    EXPECT_FALSE(system.IsDue());  // the interval must be exceeded
    clock.Advance(1);
    EXPECT_TRUE(system.IsDue());
    EXPECT_EQ(system.lastRefreshTick, 605001u);
    system.RequestRefresh();
    EXPECT_TRUE(system.IsDue());
    SetRefreshInterval(1000);
    clock.Advance(1001);
    EXPECT_TRUE(system.IsDue());
}

TEST_F(CSystemTest, IntervalSurvivesTheTickCounterWrap) {
    clock.Set(0xFFFFFF00u);
    CSystem late;
    late.adapterName = "X";
    EXPECT_TRUE(late.IsDue());
    clock.Advance(1000);  // wraps
    EXPECT_FALSE(late.IsDue());
    clock.Advance(600000);
    EXPECT_TRUE(late.IsDue());
}

TEST_F(CSystemTest, WithoutAdapterNameNeverDueNorLookedUp) {
    CSystem unnamed;
    unnamed.RequestRefresh();
    unnamed.RequestLookup();
    clock.Advance(10000000);
    EXPECT_FALSE(unnamed.IsDue());
    EXPECT_FALSE(unnamed.NeedsLookup());
    EXPECT_EQ(unnamed.lastRefreshTick, 5000u);
}

TEST_F(CSystemTest, NeedsLookupRules) {
    system.refreshRequested = 0;
    EXPECT_FALSE(system.NeedsLookup());
    clock.Advance(240001);
    EXPECT_TRUE(system.NeedsLookup());
    EXPECT_EQ(system.lastLookupTick, 245001u);
    EXPECT_FALSE(system.NeedsLookup());
    system.RequestLookup();
    EXPECT_TRUE(system.NeedsLookup());

    system.majorVersion = 4;  // adapters of version 4 are never batched
    EXPECT_FALSE(system.NeedsLookup());
    system.majorVersion = 5;
    system.cachedAddress = "1.2.3.4";
    EXPECT_FALSE(system.NeedsLookup());
}

TEST_F(CSystemTest, BatchResultSetsAddressAndConnectStatus) {
    struct Case {
        bool present;
        LookupResult result;
        int32_t connectStatus;
    };
    const Case cases[] = {
        {false, {}, kStatusNotPosting},
        {true, {"1.2.3.4", 80, 0, ""}, kStatusNotPosting},
        {true, {"1.2.3.4", 0, 1, ""}, kStatusRelayNotFound},
        {true, {"", 80, 1, ""}, kStatusRelayNotFound},
        {true, {"1.2.3.4", 80, 1, ""}, 0},
    };
    for (const Case& c : cases) {
        CSystem target;
        target.connectStatus = 99;
        clock.Advance(7);
        target.ApplyBatchResult(c.present ? &c.result : nullptr);
        EXPECT_EQ(target.connectStatus, c.connectStatus) << c.result.address << ":" << c.result.port;
        EXPECT_EQ(target.lastLookupTick, clock.TickCount());
        if (c.present) {
            EXPECT_EQ(target.cachedAddress, c.result.address);
            EXPECT_EQ(target.cachedPort, c.result.port);
        }
    }
}

TEST_F(CSystemTest, ChangedAddressRequestsARefresh) {
    const LookupResult result{"10.0.0.1", 8080, 1, ""};
    system.refreshRequested = 0;
    system.ApplyBatchResult(&result);
    EXPECT_EQ(system.refreshRequested, 1);
    system.refreshRequested = 0;
    system.ApplyBatchResult(&result);
    EXPECT_EQ(system.refreshRequested, 0);
    system.ApplyBatchResult(nullptr);  // no answer keeps the cached address
    EXPECT_EQ(system.cachedAddress, "10.0.0.1");
}

TEST_F(CSystemTest, AlarmsGoWhereTheirCategoryIsMailed) {
    struct Case {
        int32_t type;
        int32_t CSystem::*flag;
    };
    const Case cases[] = {
        {0, &CSystem::notifySystemErrors}, {1, &CSystem::notifyChlorinator},
        {2, &CSystem::notifyFreeze},       {3, &CSystem::notifyPumpErrors},
        {10, &CSystem::notifyPumpErrors},  {11, &CSystem::notifyChemistry},
        {12, &CSystem::notifyHeatPump},
    };
    for (const Case& c : cases) {
        for (int32_t on : {0, 1}) {
            CSystem target;
            target.*c.flag = on;
            target.AddAlarm(c.type, 3);
            EXPECT_EQ(target.alarms.size(), on ? 1u : 0u) << c.type;
            EXPECT_EQ(target.warnings.size(), on ? 0u : 1u) << c.type;
        }
    }
    CSystem all;
    for (int32_t CSystem::*flag : {&CSystem::notifyChlorinator, &CSystem::notifyChemistry,
                                   &CSystem::notifyHeatPump})
        all.*flag = 1;
    all.AddAlarm(13, 0);
    all.AddAlarm(-1, 0);
    EXPECT_TRUE(all.alarms.empty());
    EXPECT_EQ(all.CopyWarnings().size(), 2u);
    all.ClearAlarms();
    EXPECT_TRUE(all.CopyWarnings().empty());
}

TEST_F(CSystemTest, AdapterSerialDropsTheBrand) {
    struct Case {
        const char* adapterName;
        const char* serial;
    };
    const Case cases[] = {
        {"brenvik:  01-23-45", "01-23-45"},
        {"Brenvik: AB-CD-EF", "AB-CD-EF"},
        {"BRENVIK::\t 12", "12"},
        {"AB-CD-EF", "AB-CD-EF"},
        {"Brenvi", "Brenvi"},
        {"Brenvik", ""},
        {"Brenvik:", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        system.adapterName = c.adapterName;
        EXPECT_EQ(system.GetAdapterSerial(), c.serial) << c.adapterName;
        EXPECT_EQ(system.GetAdapterName(), c.adapterName);
    }
}

TEST_F(CSystemTest, StatusChangesMarkTheRowForRedraw) {
    system.SetStatus(0);
    system.SetStatusText("Not Connected");
    EXPECT_EQ(system.statusChanged, 0);
    system.SetStatus(kStatusWorking);
    EXPECT_EQ(system.statusChanged, 1);
    system.statusChanged = 0;
    system.SetStatusText("Connecting");
    EXPECT_EQ(system.statusChanged, 1);
    EXPECT_EQ(system.statusText, "Connecting");
}

TEST_F(CSystemTest, EmailListIsReplacedInOrder) {
    system.emailList = {"old@example.com"};
    system.SetEmailList({"a@example.com", "b@example.com"});
    EXPECT_EQ(system.emailList, (std::vector<std::string>{"a@example.com", "b@example.com"}));
}

}  // namespace
