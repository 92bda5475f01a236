#include "core/basinsetup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <mutex>

#include "core/zvoblist.h"
#include "platform/report.h"
#include "pool_fixtures.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

struct Version {
    uint16_t major, minor;
};
constexpr Version kV3{3, 377};
constexpr Version kV3Freeze{3, 378};
constexpr Version kV4{4, 0};
constexpr Version kV4Table11{4, 519};
constexpr Version kV5{5, 1};

class PoolModelTest : public ::testing::Test {
protected:
    // Scripts a whole load for that program and gateway version, then builds the model.
    std::unique_ptr<CBasinSetup> Load(ZVVariant variant, Version version, const ConfigFixture& config = {},
                                      ExtFixture ext = {}) {
        const bool v4 = version.major >= 4;
        link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(config, variant, v4));
        if (ext.tables.empty()) {
            int tables = v4 ? 10 : 9;
            if (variant == ZVVariant::Monitor && v4)
                tables = 12;
            else if (version.major > 4 || (version.major == 4 && version.minor >= 519))
                tables = 11;
            ext.tables = DistinctTables(tables);
        }
        if (variant != ZVVariant::Tablet) ScriptExtended(link, ext);
        return Make(variant, version);
    }

    std::unique_ptr<CBasinSetup> Make(ZVVariant variant, Version version) {
        return std::make_unique<CBasinSetup>(link, variant, 0, version.major, version.minor);
    }

    FakeLink link;
};

// Long form ----------------------------------------------------------------

TEST_F(PoolModelTest, LongFormFromVersion4ReadsEveryField) {
    auto pool = Load(ZVVariant::Config, kV4);
    ASSERT_TRUE(pool->IsLoaded());
    EXPECT_TRUE(pool->IsReady());
    EXPECT_EQ(pool->GetControllerId(), 7);
    EXPECT_EQ(pool->GetControllerName(), "Backyard");
    EXPECT_EQ(pool->GetEquipmentFlags(), 0x2u);
    EXPECT_EQ(pool->GetBody(0)->setPointMin, 40);
    EXPECT_EQ(pool->GetBody(0)->setPointMax, 104);
    EXPECT_EQ(pool->GetBody(1)->setPointMin, 50);
    EXPECT_EQ(pool->GetBody(1)->setPointMax, 102);
    EXPECT_EQ(pool->GetSecondText(), "second");
    EXPECT_EQ(pool->GetTrailingValue(), 42);
    EXPECT_EQ(pool->GetPumpCircuit(0), 6);
    EXPECT_EQ(pool->GetPumpCircuit(7), 255);
    // The extended answer decides type and expansion.
    EXPECT_EQ(pool->GetControllerType(), 2);
    EXPECT_EQ(pool->GetExpansionByte(), 0x40);

    ASSERT_EQ(pool->GetCircuitCount(), 4);
    const CPoolCircuit* aux = pool->GetCircuit(2);
    EXPECT_EQ(aux->circuitId, 502);
    EXPECT_EQ(aux->interface, 4);
    EXPECT_EQ(aux->flags, 2);
    EXPECT_EQ(aux->colorSet, 3);
    EXPECT_EQ(aux->colorPosition, 5);
    EXPECT_EQ(aux->colorStagger, 7);
    EXPECT_EQ(aux->deviceId, 2);
    EXPECT_EQ(aux->runTime, 60);
    EXPECT_EQ(aux->state, -1);
    EXPECT_EQ(aux->recordIndex, 2);
    EXPECT_EQ(pool->GetCircuit(3)->colorSet, 9);
    EXPECT_EQ(pool->GetCircuit(3)->colorPosition, 14);

    ASSERT_EQ(pool->GetColorCount(), 2);
    EXPECT_EQ(pool->GetColor(1)->name, "Red");
    EXPECT_EQ(pool->GetColor(1)->color, 0x0000FFu);
    EXPECT_EQ(pool->GetColor(2), nullptr);

    // Names come from the built-in list, then the custom list.
    EXPECT_EQ(pool->GetCircuit(0)->name, "Spa");
    EXPECT_EQ(pool->GetCircuit(3)->name, "Garden");

    EXPECT_THAT(link.AskedIds(),
                ElementsAre(ZVM_POOL_GETCONFIGQ, ZVM_POOL_GETCUSTOMNAMECOUNTQ, ZVM_POOL_GETCUSTOMNAMESQ,
                            ZVM_POOL_GETSTRINGLISTQ, ZVM_POOL_GETNAMEDITEMSQ, ZVM_POOL_GETEXTCONFIGQ));
    EXPECT_THAT(IntsOf(*link.asked[0].message), ElementsAre(0, 1));
    EXPECT_EQ(link.asked[0].timeout, kDefaultQueryTimeout);
    EXPECT_THAT(IntsOf(*link.asked[2].message), ElementsAre(0, 0, 4));
    EXPECT_THAT(IntsOf(*link.asked[5].message), ElementsAre(0));
}

TEST_F(PoolModelTest, BeforeVersion4TheLegacyTypeByteGivesTheEquipmentFlags) {
    struct Case {
        uint8_t legacyType;
        uint32_t flags;
    };
    for (const Case c : {Case{0, 0}, Case{1, 1}, Case{7, 1}}) {
        SCOPED_TRACE(c.legacyType);
        FakeLink fresh;
        std::swap(link, fresh);
        ConfigFixture config;
        config.legacyType = c.legacyType;
        auto pool = Load(ZVVariant::Config, kV3, config);
        ASSERT_TRUE(pool->IsLoaded());
        EXPECT_EQ(pool->GetEquipmentFlags(), c.flags);
        EXPECT_EQ(pool->GetPumpCircuit(0), 0);  // no pump bytes before 4.0
        EXPECT_EQ(pool->GetTrailingValue(), 42);
        EXPECT_EQ(pool->GetTableCount(10), 0);
    }
}

TEST_F(PoolModelTest, NoAnswerLeavesTheDefaults) {
    auto pool = Make(ZVVariant::Config, kV4);
    EXPECT_FALSE(pool->IsLoaded());
    EXPECT_EQ(pool->GetLinkState(), 0);
    EXPECT_EQ(pool->GetControllerId(), -1);
    EXPECT_EQ(pool->GetControllerName(), "General");
    EXPECT_EQ(pool->GetTrailingValue(), 127);
    EXPECT_EQ(pool->GetCircuitCount(), 0);
    EXPECT_EQ(pool->GetBody0Name(), "Pool");
    EXPECT_EQ(pool->GetBody1Name(), "Spa");
    EXPECT_EQ(pool->GetTriggerName(140), "None");
    EXPECT_EQ(pool->GetFunctionName(0), "Error");
    EXPECT_EQ(link.asked.size(), 1u);
}

TEST_F(PoolModelTest, ConfigurationCutShortIsNotALoad) {
    auto full = ConfigAnswer(ConfigFixture{}, ZVVariant::Config);
    // Cut inside the colour list.
    full->SetLength(full->GetLength() - 16);
    link.Answer(ZVM_POOL_GETCONFIGQ, std::move(full));
    ScriptExtended(link, ExtFixture{});
    auto pool = Make(ZVVariant::Config, kV4);
    EXPECT_FALSE(pool->IsLoaded());
    EXPECT_EQ(link.asked.size(), 1u);
}

TEST_F(PoolModelTest, HostileCircuitCountStopsAtTheEndOfTheMessage) {
    for (int32_t count : {0x7FFFFFFF, -5, 5}) {
        SCOPED_TRACE(count);
        MsgBuilder m(ZVM_POOL_GETCONFIGA);
        m.Int(7).Bytes({40, 104, 40, 104, 0, 0, 0, 0}).Int(0).String("X").Int(count);
        m.Int(500).Bytes({1, 2, 0, 0, 0, 1}).Short(720);  // one record of the count
        link.Answer(ZVM_POOL_GETCONFIGQ, m.Take());
        auto pool = Make(ZVVariant::Config, kV4);
        EXPECT_FALSE(pool->IsLoaded());
        EXPECT_LE(pool->GetCircuitCount(), 1);
    }
}

// Short form and program variants -------------------------------------------

TEST_F(PoolModelTest, TabletReadsTheShortFormWithoutExtendedLoad) {
    auto pool = Load(ZVVariant::Tablet, Version{0, 0});
    ASSERT_TRUE(pool->IsLoaded());
    EXPECT_TRUE(pool->IsReady());
    EXPECT_THAT(link.AskedIds(), ElementsAre(ZVM_POOL_GETCONFIGQ));
    EXPECT_THAT(IntsOf(*link.asked[0].message), ElementsAre(0, 0));
    EXPECT_EQ(link.asked[0].timeout, 30000u);
    // No version: the flags and pumps are read all the same.
    EXPECT_EQ(pool->GetEquipmentFlags(), 0x2u);
    EXPECT_EQ(pool->GetPumpCircuit(0), 6);
    EXPECT_EQ(pool->GetTrailingValue(), 42);
    ASSERT_EQ(pool->GetCircuitCount(), 4);
    const CPoolCircuit* garden = pool->GetCircuit(3);
    EXPECT_EQ(garden->name, "Garden");
    EXPECT_EQ(garden->colorSet, 9);
    EXPECT_EQ(garden->colorPosition, 14);
    EXPECT_EQ(garden->colorStagger, 2);
    EXPECT_EQ(garden->deviceId, 3);
    EXPECT_EQ(garden->runTime, 120);
    EXPECT_EQ(pool->GetColor(0)->name, "White");
}

TEST_F(PoolModelTest, MonitorKeepsItsExtraFieldsAndLoadsWithoutTheExtendedPart) {
    link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(ConfigFixture{}, ZVVariant::Monitor));
    auto bare = Make(ZVVariant::Monitor, kV4);
    EXPECT_TRUE(bare->IsLoaded());
    EXPECT_TRUE(bare->IsReady());
    EXPECT_EQ(bare->GetControllerType(), 2);
    EXPECT_EQ(bare->GetControllerSubType(), 9);
    EXPECT_EQ(bare->GetExpansionByte(), 0x40);
    EXPECT_EQ(bare->GetFurtherConfigValue(), 99);

    ExtFixture ext;
    ext.type = 0x0305;
    auto pool = Load(ZVVariant::Monitor, kV4, ConfigFixture{}, ext);
    ASSERT_TRUE(pool->IsLoaded());
    EXPECT_EQ(pool->GetControllerType(), 5);
    EXPECT_EQ(pool->GetControllerSubType(), 3);
    EXPECT_EQ(pool->GetTableCount(12), 14);
    EXPECT_EQ(pool->GetFirmwareVersion(), 2150);
}

TEST_F(PoolModelTest, ConfigurationProgramStaysUnloadedWhenTheExtendedLoadFails) {
    link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(ConfigFixture{}, ZVVariant::Config));
    link.Answer(ZVM_POOL_GETCUSTOMNAMECOUNTQ, MsgBuilder(ZVM_POOL_GETCUSTOMNAMECOUNTQ + 1).Take());
    auto pool = Make(ZVVariant::Config, kV4);
    EXPECT_FALSE(pool->IsLoaded());
    EXPECT_EQ(pool->GetCircuitCount(), 4);  // what was read stays
    EXPECT_THAT(link.AskedIds(), ElementsAre(ZVM_POOL_GETCONFIGQ, ZVM_POOL_GETCUSTOMNAMECOUNTQ));
}

// Extended load -------------------------------------------------------------

TEST_F(PoolModelTest, TablesArriveByVersion) {
    struct Case {
        ZVVariant variant;
        Version version;
        int tables;
    };
    const Case cases[] = {
        {ZVVariant::Config, kV3, 9},         {ZVVariant::Config, kV4, 10}, {ZVVariant::Config, {4, 518}, 10},
        {ZVVariant::Config, kV4Table11, 11}, {ZVVariant::Config, kV5, 11}, {ZVVariant::Monitor, kV3, 9},
        {ZVVariant::Monitor, kV4, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.version.major * 1000 + c.version.minor);
        FakeLink fresh;
        std::swap(link, fresh);
        auto pool = Load(c.variant, c.version);
        ASSERT_TRUE(pool->IsLoaded());
        const auto expected = DistinctTables(c.tables);
        for (int t = 1; t <= kPoolTableCount; ++t) {
            if (t <= c.tables) {
                std::vector<uint8_t> got(pool->GetTable(t), pool->GetTable(t) + pool->GetTableCount(t));
                EXPECT_EQ(got, expected[static_cast<size_t>(t - 1)]) << "table " << t;
            } else {
                EXPECT_EQ(pool->GetTableCount(t), 0) << "table " << t;
            }
        }
    }
}

TEST_F(PoolModelTest, ATableThatCannotBeReadFailsTheLoad) {
    struct Case {
        const char* what;
        std::function<void(MsgBuilder&)> table2;
    };
    const Case cases[] = {
        {"count above 1000", [](MsgBuilder& m) { m.Int(1001).Bytes(std::vector<uint8_t>(1001, 1)); }},
        {"negative count", [](MsgBuilder& m) { m.Int(-1); }},
        {"bytes missing",
         [](MsgBuilder& m) {
             m.Int(40).Bytes({1, 2, 3});
         }},
        {"padding missing",
         [](MsgBuilder& m) {
             m.Int(5).Bytes({1, 2, 3, 4, 5, 0});
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeLink fresh;
        std::swap(link, fresh);
        ExtFixture ext;
        link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(ConfigFixture{}, ZVVariant::Config, false));
        ScriptExtended(link, ext);  // its extended answer has no tables; replace it
        MsgBuilder m(ZVM_POOL_GETEXTCONFIGQ + 1);
        m.Int(2).Int(0);
        AppendTable(m, {2, 150});
        c.table2(m);
        auto pool = std::make_unique<CBasinSetup>(link, ZVVariant::Config, 0, 3, 0);
        EXPECT_FALSE(pool->IsLoaded());
        EXPECT_EQ(pool->GetTableCount(2), 0);
        EXPECT_EQ(pool->ReadExtConfig(*m.Take()), 0);
        EXPECT_EQ(pool->GetTableCount(2), 0);
        EXPECT_EQ(pool->GetTableCount(1), 2);
    }
}

TEST_F(PoolModelTest, MonitorKeepsTheFirmwareWhenALaterTableIsDamaged) {
    link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(ConfigFixture{}, ZVVariant::Monitor));
    auto pool = Make(ZVVariant::Monitor, kV4);
    MsgBuilder m(ZVM_POOL_GETEXTCONFIGQ + 1);
    m.Int(2).Int(0);
    AppendTable(m, {2, 150});
    m.Int(-1);  // table 2
    EXPECT_EQ(pool->ReadExtConfig(*m.Take()), 0);
    EXPECT_TRUE(pool->IsLoaded());
    EXPECT_EQ(pool->GetFirmwareVersion(), 2150);
}

TEST_F(PoolModelTest, BuiltInNamesAreAskedInChunksOf25) {
    ExtFixture ext;
    ext.builtIn.clear();
    for (int i = 0; i < 60; ++i) ext.builtIn.push_back("Name " + std::to_string(i));
    auto pool = Load(ZVVariant::Config, kV4, ConfigFixture{}, ext);
    ASSERT_TRUE(pool->IsLoaded());
    EXPECT_EQ(pool->GetBuiltInNameCount(), 60);
    std::vector<std::vector<int32_t>> chunks;
    for (const auto& request : link.asked) {
        if (request.message->GetId() == ZVM_POOL_GETCUSTOMNAMESQ) chunks.push_back(IntsOf(*request.message));
    }
    EXPECT_THAT(chunks, ElementsAre(ElementsAre(0, 0, 25), ElementsAre(0, 25, 25), ElementsAre(0, 50, 10)));
}

TEST_F(PoolModelTest, BuiltInNamesAreAskedOnlyAsFarAsAnIndexReaches) {
    // The gateway announces a huge list and answers every chunk in full; it
    // gives up after 100 requests, so that asking on fails the load.
    link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(ConfigFixture{}, ZVVariant::Config));
    ExtFixture ext;
    ext.builtIn.clear();
    ext.tables = DistinctTables(10);
    ScriptExtended(link, ext);
    link.Forget(ZVM_POOL_GETCUSTOMNAMECOUNTQ);
    link.Answer(ZVM_POOL_GETCUSTOMNAMECOUNTQ, MsgBuilder(ZVM_POOL_GETCUSTOMNAMECOUNTQ + 1).Int(INT32_MAX).Take());
    link.Forget(ZVM_POOL_GETCUSTOMNAMESQ);
    std::vector<std::vector<int32_t>> chunks;
    link.Respond(ZVM_POOL_GETCUSTOMNAMESQ, [&](CZVMSG& request) -> std::unique_ptr<CZVMSG> {
        chunks.push_back(IntsOf(request));
        if (chunks.size() > 100) return nullptr;
        const int32_t start = chunks.back()[1], count = chunks.back()[2];
        std::vector<std::string> names;
        for (int32_t i = start; i < start + count; ++i) names.push_back("Name " + std::to_string(i));
        return StringListAnswer(ZVM_POOL_GETCUSTOMNAMESQ + 1, names);
    });

    auto pool = Make(ZVVariant::Config, kV4);
    ASSERT_TRUE(pool->IsLoaded());
    ASSERT_EQ(chunks.size(), 11u);
    EXPECT_THAT(chunks.front(), ElementsAre(0, 0, 25));
    EXPECT_THAT(chunks.back(), ElementsAre(0, 250, 6));
    ASSERT_EQ(pool->GetBuiltInNameCount(), 256);
    EXPECT_EQ(pool->GetBuiltInNames().back(), "Name 255");
}

TEST_F(PoolModelTest, ShortBuiltInListDoesNotShiftCustomNames) {
    // 30 names announced, only 27 to be had: the second chunk comes back short.
    ExtFixture ext;
    ext.builtIn.clear();
    for (int i = 0; i < 27; ++i) ext.builtIn.push_back("Built " + std::to_string(i));
    ext.announced = 30;
    ConfigFixture config;
    config.circuits = {{500, "", 3, 0, 0, 0, 0, 0, 0, 1, 720},
                       {501, "", 28, 0, 0, 0, 0, 0, 0, 2, 720},
                       {502, "", 30, 0, 0, 0, 0, 0, 0, 3, 720},
                       {503, "", 31, 0, 0, 0, 0, 0, 0, 4, 720},
                       {504, "", 32, 0, 0, 0, 0, 0, 0, 5, 720}};
    auto pool = Load(ZVVariant::Config, kV4, config, ext);
    ASSERT_TRUE(pool->IsLoaded());  // the load goes on after a short chunk
    EXPECT_EQ(pool->GetBuiltInNameCount(), 25);
    EXPECT_EQ(pool->GetCircuit(0)->name, "Built 3");
    EXPECT_EQ(pool->GetCircuit(1)->name, "None");  // announced but never arrived
    EXPECT_EQ(pool->GetCircuit(2)->name, "Garden");
    EXPECT_EQ(pool->GetCircuit(3)->name, "Waterfall");
    EXPECT_EQ(pool->GetCircuit(4)->name, "None");
}

TEST_F(PoolModelTest, FunctionNamesAreOptional) {
    link.Answer(ZVM_POOL_GETCONFIGQ, ConfigAnswer(ConfigFixture{}, ZVVariant::Config));
    ExtFixture ext;
    ext.tables = DistinctTables(10);
    ScriptExtended(link, ext);
    link.Forget(ZVM_POOL_GETNAMEDITEMSQ);
    auto pool = Make(ZVVariant::Config, kV4);
    ASSERT_TRUE(pool->IsLoaded());
    EXPECT_EQ(pool->GetFunctionEntry(0), nullptr);
    EXPECT_EQ(pool->GetFunctionCode(0), -1);
}

TEST_F(PoolModelTest, FunctionNameLookups) {
    auto pool = Load(ZVVariant::Config, kV4);
    EXPECT_EQ(pool->GetFunctionName(1), "Light");
    EXPECT_EQ(pool->GetFunctionCode(1), 7);
    EXPECT_EQ(pool->GetFunctionName(2), "Error");
    EXPECT_EQ(pool->GetFunctionCode(-1), -1);
    EXPECT_EQ(pool->GetFunctionNameByCode(7), "Light");
    EXPECT_EQ(pool->GetFunctionNameByCode(8), "");
}

// Status --------------------------------------------------------------------

TEST_F(PoolModelTest, StatusFillsBodiesAndCircuits) {
    auto pool = Load(ZVVariant::Config, kV4);
    StatusFixture status;
    status.link = 0x302;  // only the low byte counts
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status)));
    EXPECT_TRUE(pool->IsSynchronizing());
    EXPECT_EQ(pool->GetFreezeMode(), 1);
    EXPECT_EQ(pool->GetFreezeText(), "Yes");
    EXPECT_EQ(pool->GetRemotesEnabled(), 1);
    EXPECT_EQ(pool->GetDelayFlag(1), 1);
    EXPECT_EQ(pool->GetAirTemp(), 80);
    EXPECT_EQ(pool->GetBody(0)->temperature, 78);
    EXPECT_EQ(pool->GetBody(0)->heatStatus, 2);
    EXPECT_EQ(pool->GetBody(0)->setPoint, 82);
    EXPECT_EQ(pool->GetBody(0)->heatMode, 3);
    EXPECT_EQ(pool->GetBody(1)->temperature, 101);
    EXPECT_EQ(pool->GetBody(1)->heatMode, 1);
    EXPECT_EQ(pool->GetCircuit(0)->state, 1);
    const CPoolCircuit* aux = pool->GetCircuit(2);
    EXPECT_EQ(aux->state, 1);
    EXPECT_EQ(aux->colorSet, 4);
    EXPECT_EQ(aux->colorPosition, 6);
    EXPECT_EQ(aux->colorStagger, 8);
    EXPECT_EQ(aux->delay, 1);
    EXPECT_EQ(pool->GetCircuit(1)->state, -1);

    // The notification has the same layout; other ids are not status.
    status.air = 60;
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status, true, false, ZVM_POOL_STATUSCHANGED)));
    EXPECT_EQ(pool->GetAirTemp(), 60);
    status.air = 50;
    EXPECT_FALSE(pool->ReadStatus(*StatusMessage(status, true, false, ZVM_POOL_GETCONFIGA)));
    EXPECT_EQ(pool->GetAirTemp(), 60);
}

TEST_F(PoolModelTest, StatusBeforeVersion3_378HasNoFreezeByte) {
    auto pool = Load(ZVVariant::Config, kV3);
    StatusFixture status;
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status, false)));
    EXPECT_EQ(pool->GetFreezeText(), "No");
    EXPECT_EQ(pool->GetRemotesEnabled(), 1);
    EXPECT_EQ(pool->GetDelayFlag(1), 1);
    EXPECT_EQ(pool->GetAirTemp(), 80);
    EXPECT_EQ(pool->GetBody(1)->temperature, 101);
    EXPECT_EQ(pool->GetCircuit(2)->colorPosition, 6);
}

TEST_F(PoolModelTest, FreezeFlagFollowsTheAirInTheControllersUnit) {
    struct Case {
        Version version;
        uint8_t celsius;
        int32_t air;
        uint8_t freezeByte;
        int flag;
    };
    const Case cases[] = {
        {kV3, 0, 36, 0, 1}, {kV3, 0, 37, 0, 0},       {kV3, 1, 2, 0, 1},        {kV3, 1, 3, 0, 0},
        {kV3, 1, 30, 0, 0}, {kV3Freeze, 0, 20, 0, 0}, {kV3Freeze, 0, 90, 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.version.minor << " celsius " << int(c.celsius) << " air " << c.air);
        FakeLink fresh;
        std::swap(link, fresh);
        ConfigFixture config;
        config.celsius = c.celsius;
        auto pool = Load(ZVVariant::Config, c.version, config);
        StatusFixture status;
        status.air = c.air;
        status.freeze = c.freezeByte;
        ASSERT_TRUE(pool->ReadStatus(*StatusMessage(status, c.version.minor >= 378)));
        EXPECT_EQ(pool->GetFreezeFlag(), c.flag);
    }
}

TEST_F(PoolModelTest, ExtraBodyRecordsAreSkippedNotReadAsCircuits) {
    auto pool = Load(ZVVariant::Config, kV4);
    StatusFixture status;
    status.bodies.push_back({0, 55, 3, 66, 0, 2});
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status)));
    EXPECT_EQ(pool->GetBody(0)->temperature, 78);
    EXPECT_EQ(pool->GetBody(1)->temperature, 101);
    EXPECT_EQ(pool->GetCircuit(0)->state, 1);
    EXPECT_EQ(pool->GetCircuit(2)->colorPosition, 6);
}

TEST_F(PoolModelTest, BodyNumberOutsideTheTwoNeverOverwritesThePool) {
    auto pool = Load(ZVVariant::Config, kV4);
    StatusFixture status;
    status.bodies = {{0, 78, 2, 82, 0, 3}, {7, 11, 1, 12, 0, 0}};
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status)));
    EXPECT_EQ(pool->GetBody(0)->temperature, 78);
    EXPECT_EQ(pool->GetBody(0)->heatMode, 3);
    EXPECT_EQ(pool->GetBody(1)->temperature, 0);
    EXPECT_EQ(pool->GetCircuit(0)->state, 1);
}

TEST_F(PoolModelTest, TabletReportsOddBodiesAndReadsTheFreezeByteAlways) {
    std::mutex lock;
    std::vector<std::string> reports;
    ASSERT_TRUE(platform::InstallReportHook([&](platform::ReportKind, const std::string& text) {
        std::lock_guard<std::mutex> guard(lock);
        reports.push_back(text);
    }));
    auto pool = Load(ZVVariant::Tablet, Version{0, 0});
    StatusFixture status;
    status.bodies = {{0, 78, 2, 82, 0, 3}, {1, 90, 0, 0, 0, 0}, {9, 1, 1, 1, 0, 1}};
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status)));
    status.bodies = {{5, 1, 1, 1, 0, 1}};
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status)));
    platform::RemoveReportHook();
    EXPECT_EQ(pool->GetFreezeMode(), 1);
    EXPECT_EQ(pool->GetBody(0)->temperature, 78);
    EXPECT_EQ(pool->GetBody(1)->temperature, 90);
    ASSERT_EQ(reports.size(), 2u);
    EXPECT_THAT(reports[0], ::testing::StartsWith("basinsetup(line 570"));
    EXPECT_THAT(reports[1], ::testing::StartsWith("basinsetup(line 582"));
}

TEST_F(PoolModelTest, UnknownCircuitIdIsSkippedWithItsBytes) {
    auto pool = Load(ZVVariant::Config, kV4);
    StatusFixture status;
    status.circuits = {{999, 1, 1, 1, 1, 1}, {503, 1, 2, 3, 4, 0}};
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(status)));
    for (int i = 0; i < 3; ++i) EXPECT_EQ(pool->GetCircuit(i)->state, -1);
    EXPECT_EQ(pool->GetCircuit(3)->state, 1);
    EXPECT_EQ(pool->GetCircuit(3)->colorStagger, 4);
}

TEST_F(PoolModelTest, StatusCutShortKeepsWhatDidNotArrive) {
    auto pool = Load(ZVVariant::Config, kV4);
    ASSERT_TRUE(pool->ReadStatus(*StatusMessage(StatusFixture{})));
    StatusFixture second;
    second.air = 61;
    second.bodies = {{0, 70, 0, 71, 0, 0}, {1, 99, 0, 98, 0, 0}};
    second.circuits = {{500, 0, 0, 0, 0, 0}, {502, 0, 0, 0, 0, 0}};
    auto message = StatusMessage(second);
    message->SetLength(message->GetLength() - 20 - 4 - 24);  // the spa and what follows
    EXPECT_FALSE(pool->ReadStatus(*message));
    EXPECT_EQ(pool->GetAirTemp(), 61);
    EXPECT_EQ(pool->GetBody(0)->temperature, 70);
    EXPECT_EQ(pool->GetBody(1)->temperature, 101);
    EXPECT_EQ(pool->GetCircuit(0)->state, 1);

    EXPECT_FALSE(pool->ReadStatus(*MsgBuilder(ZVM_POOL_GETSTATUSA).Take()));
    EXPECT_EQ(pool->GetLinkState(), 0);
    EXPECT_EQ(pool->GetAirTemp(), 61);
}

TEST_F(PoolModelTest, HostileStatusCountsStopAtTheEnd) {
    auto pool = Load(ZVVariant::Config, kV4);
    for (int32_t count : {0x7FFFFFFF, -1}) {
        MsgBuilder bodies(ZVM_POOL_GETSTATUSA);
        bodies.Int(1).Bytes({0, 0, 0, 0, 0, 0, 0, 0}).Int(70).Int(count).Int(0).Int(75).Int(0).Int(0).Int(0);
        EXPECT_FALSE(pool->ReadStatus(*bodies.Take()));
        MsgBuilder circuits(ZVM_POOL_GETSTATUSA);
        circuits.Int(1).Bytes({0, 0, 0, 0, 0, 0, 0, 0}).Int(70).Int(0).Int(count).Int(500).Int(0).Bytes({0, 0, 0, 0});
        EXPECT_FALSE(pool->ReadStatus(*circuits.Take()));
    }
}

TEST_F(PoolModelTest, MonitorStatusFromVersion5_1CarriesChemistry) {
    ExtFixture ext;
    auto pool = Load(ZVVariant::Monitor, kV5, ConfigFixture{}, ext);
    EXPECT_EQ(pool->GetChemistry(2), 255);  // saturation index until read
    EXPECT_TRUE(pool->ReadStatus(*StatusMessage(StatusFixture{}, true, true)));
    EXPECT_EQ(pool->GetBody(0)->extra, 11);
    EXPECT_EQ(pool->GetBody(0)->heatMode, 3);
    EXPECT_EQ(pool->GetBody(1)->extra, 12);
    EXPECT_EQ(pool->GetChemistry(0), 740);
    EXPECT_EQ(pool->GetChemistry(2), 12);
    EXPECT_EQ(pool->GetChemistry(7), 5);
    EXPECT_EQ(pool->GetCircuit(2)->colorPosition, 6);
}

// Lookups -------------------------------------------------------------------

std::vector<int32_t> IdsOf(CZVObList& list) {
    std::vector<int32_t> ids;
    for (ZVPOSITION position = list.GetHeadPosition(); position;)
        ids.push_back(static_cast<CPoolCircuit*>(list.GetNext(position))->circuitId);
    return ids;
}

TEST_F(PoolModelTest, CircuitLookups) {
    auto pool = Load(ZVVariant::Config, kV4);
    EXPECT_EQ(pool->FindCircuitById(502), pool->GetCircuit(2));
    EXPECT_EQ(pool->FindCircuitById(1), nullptr);
    EXPECT_EQ(pool->FindCircuitByDevice(6), pool->GetCircuit(1));
    EXPECT_EQ(pool->FindCircuitByFunction(7), pool->GetCircuit(3));
    EXPECT_TRUE(pool->GetCircuit(0)->IsPoolOrSpa());
    EXPECT_FALSE(pool->GetCircuit(2)->IsPoolOrSpa());

    CZVObList lights;
    pool->GetCircuitsByInterface(lights, 4);
    EXPECT_THAT(IdsOf(lights), ElementsAre(502, 503));
    CBasinSetup::MoveFunctionToFront(lights, 7);
    EXPECT_THAT(IdsOf(lights), ElementsAre(503, 502));
    CBasinSetup::MoveFunctionToFront(lights, 42);
    EXPECT_THAT(IdsOf(lights), ElementsAre(503, 502));

    EXPECT_EQ(pool->NextCircuit(pool->GetCircuit(3)), pool->GetCircuit(0));
    EXPECT_EQ(pool->PrevCircuit(pool->GetCircuit(0)), pool->GetCircuit(3));
    EXPECT_EQ(pool->NextCircuit(pool->GetCircuit(1)), pool->GetCircuit(2));
    CPoolCircuit stranger(pool.get(), 0);
    EXPECT_EQ(pool->NextCircuit(&stranger), nullptr);
    EXPECT_EQ(pool->PrevCircuit(nullptr), nullptr);
}

TEST_F(PoolModelTest, SortCircuitsByColourPositionReversesEqualOnes) {
    ConfigFixture config;
    config.circuits = {{1, "", 0, 0, 4, 0, 0, 3, 0, 1, 720},
                       {2, "", 0, 0, 4, 0, 0, 1, 0, 2, 720},
                       {3, "", 0, 0, 4, 0, 0, 3, 0, 3, 720},
                       {4, "", 0, 0, 4, 0, 0, 0, 0, 4, 720},
                       {5, "", 0, 0, 4, 0, 0, 1, 0, 5, 720}};
    auto pool = Load(ZVVariant::Config, kV4, config);
    CZVObList list;
    pool->GetCircuitsByInterface(list, 4);
    CBasinSetup::SortCircuits(list);
    EXPECT_THAT(IdsOf(list), ElementsAre(4, 5, 2, 3, 1));
}

// Texts ---------------------------------------------------------------------

TEST_F(PoolModelTest, HeatTexts) {
    struct Case {
        ZVVariant variant;
        uint32_t flags;
        std::vector<std::string> modes;   // modes 0 to 5
        std::vector<std::string> status;  // status 0 to 4
        const char* solar;
    };
    const Case cases[] = {
        {ZVVariant::Config,
         0,
         {"Off", "Solar Only", "Solar Preferred", "Heater", "Don't Change", "Don't Change"},
         {"Off", "Solar On", "Heater On", "Heater/Solar On", "Off"},
         "Solar"},
        {ZVVariant::Config,
         0x2,
         {"Off", "H.Pump Only", "H.Pump Preferred", "Heater", "Don't Change", "Don't Change"},
         {"Off", "H.Pump On", "Heater On", "Heater/H.P. On", "Off"},
         "H.Pump"},
        {ZVVariant::Monitor,
         0,
         {"Off", "Solar Only", "Solar Pref", "Heater", "Don't Change", "Don't Change"},
         {"Off", "Solar On", "Heater On", "Heater/Solar On", "Off"},
         "Solar"},
        {ZVVariant::Monitor,
         0x2,
         {"Off", "H.Pump Only", "H.Pump Pref", "Heater", "Don't Change", "Don't Change"},
         {"Off", "H.Pump On", "Heater On", "Heater/H.P. On", "Off"},
         "H.Pump"},
        {ZVVariant::Monitor,
         0x10000,
         {"Off", "Hybrid", "Gas Only", "H.Pump Only", "Don't Change", "Dual"},
         {"Off", "Solar On", "Heater On", "Heater/Solar On", "Off"},
         "Solar"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        FakeLink fresh;
        std::swap(link, fresh);
        ConfigFixture config;
        config.equipmentFlags = c.flags;
        auto pool = Load(c.variant, kV4, config);
        std::vector<std::string> modes, status;
        for (int i = 0; i < 6; ++i) modes.push_back(pool->GetHeatModeText(i));
        for (int i = 0; i < 5; ++i) status.push_back(pool->GetHeatStatusText(i));
        EXPECT_EQ(modes, c.modes);
        EXPECT_EQ(status, c.status);
        EXPECT_EQ(pool->GetHeatModeText(-1), "Don't Change");
        EXPECT_EQ(pool->GetSolarText(), c.solar);
    }
}

TEST_F(PoolModelTest, TemperatureAndSmallTexts) {
    auto fahrenheit = Load(ZVVariant::Config, kV4);
    EXPECT_EQ(fahrenheit->GetTempText(78), "78 F");
    EXPECT_EQ(fahrenheit->GetTempText(-4), "-4 F");
    EXPECT_EQ(fahrenheit->GetTempText(255), "--");
    EXPECT_EQ(fahrenheit->GetFreezeText(), "No");
    EXPECT_EQ(GetEnabledText(3), "Enabled");
    EXPECT_EQ(GetEnabledText(0), "Disabled");

    ConfigFixture config;
    config.celsius = 1;
    auto celsius = Load(ZVVariant::Config, kV4, config);
    EXPECT_EQ(celsius->GetTempText(25), "25 C");
    EXPECT_EQ(celsius->GetTempText(255), "--");
}

TEST_F(PoolModelTest, BodyNames) {
    struct Case {
        std::string pool, spa, body0, body1;
    };
    const Case cases[] = {
        {"Pool", "Spa", "Pool", "Spa"},
        {"Low Temp", "High Temp", "Low", "High"},
        {"Lap Pool", "Hot Tub", "Lap Pool", "Hot Tub"},
    };
    for (const Case& c : cases) {
        FakeLink fresh;
        std::swap(link, fresh);
        ConfigFixture config;
        config.circuits[0].name = c.spa;
        config.circuits[1].name = c.pool;
        auto pool = Load(ZVVariant::Tablet, Version{0, 0}, config);
        EXPECT_EQ(pool->GetBody0Name(), c.body0);
        EXPECT_EQ(pool->GetBody1Name(), c.body1);
    }
}

TEST_F(PoolModelTest, TriggerNames) {
    ConfigFixture config;
    config.circuits[2].deviceId = 140;
    config.circuits[3].deviceId = 160;
    auto pool = Load(ZVVariant::Config, kV4, config);
    struct Case {
        uint8_t code;
        const char* name;
    };
    const Case cases[] = {
        {128, "Solar Active"},
        {129, "Pool or Spa Heater Active"},
        {130, "Pool Heater Active"},
        {131, "Spa Heater Active"},
        {132, "Freeze Mode Active"},
        {133, "Heat Boost"},
        {134, "Heat Enable"},
        {155, "Pool Heater"},
        {156, "Spa Heater"},
        {157, "Either Heater"},
        {158, "Solar"},
        {159, "Freeze"},
        {140, "Aux 1"},
        {160, "Garden"},
        {6, "Pool"},
        {141, "None"},
        {0, "None"},
        {255, "None"},
    };
    for (const Case& c : cases) EXPECT_EQ(pool->GetTriggerName(c.code), c.name) << int(c.code);
}

// Commands ------------------------------------------------------------------

TEST_F(PoolModelTest, CircuitCommandsAreSentAndStored) {
    auto pool = Load(ZVVariant::Config, kV4);
    CPoolCircuit* aux = pool->GetCircuit(2);

    pool->SetCircuitState(aux, 5);
    pool->SetCircuitState(nullptr, 1);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0]->GetId(), ZVM_POOL_SETCIRCUIT);
    EXPECT_THAT(IntsOf(*link.sent[0]), ElementsAre(0, 502, 1));
    EXPECT_EQ(aux->state, 5);
    pool->SetCircuitState(aux, 0);
    EXPECT_THAT(IntsOf(*link.sent[1]), ElementsAre(0, 502, 0));

    link.sent.clear();
    aux->SetRunTime(3, 60);  // already stored
    aux->SetRunTime(-1, 90);
    EXPECT_TRUE(link.sent.empty());
    EXPECT_EQ(aux->runTime, 90);
    aux->SetRunTime(3, 120);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0]->GetId(), ZVM_POOL_SETRUNTIME);
    EXPECT_THAT(IntsOf(*link.sent[0]), ElementsAre(3, 502, 120));

    link.sent.clear();
    pool->SetColorSet(aux, 11);
    pool->SetColorSet(nullptr, 11);
    ASSERT_EQ(link.sent.size(), 1u);
    EXPECT_EQ(link.sent[0]->GetId(), ZVM_POOL_SETLIGHTCOLOR);
    EXPECT_THAT(IntsOf(*link.sent[0]), ElementsAre(0, 502, 11, 5, 7));
    EXPECT_EQ(aux->colorSet, 11);
}

TEST_F(PoolModelTest, AskedCommandsReportTheAnswer) {
    auto pool = Load(ZVVariant::Config, kV4);
    link.asked.clear();
    EXPECT_FALSE(pool->CancelDelays());
    link.Acknowledge(ZVM_POOL_CANCELDELAYSQ);
    EXPECT_TRUE(pool->CancelDelays());
    link.Acknowledge(ZVM_POOL_SETREMOTESENABLEDQ);
    EXPECT_TRUE(pool->EnableRemotes(1));
    EXPECT_FALSE(pool->EnableRemotes(0));
    ASSERT_EQ(link.asked.size(), 4u);
    EXPECT_THAT(IntsOf(*link.asked[1].message), ElementsAre(0));
    EXPECT_THAT(IntsOf(*link.asked[2].message), ElementsAre(0, 1));
    EXPECT_THAT(IntsOf(*link.asked[3].message), ElementsAre(0, 0));
    EXPECT_EQ(link.asked[3].timeout, kDefaultQueryTimeout);
}

TEST_F(PoolModelTest, LightPositionChangesOnlyWhenAnswered) {
    auto pool = Load(ZVVariant::Config, kV4);
    link.asked.clear();
    CPoolCircuit* aux = pool->GetCircuit(2);
    EXPECT_FALSE(pool->SetLightParamsWait(aux, 9));
    EXPECT_EQ(aux->colorPosition, 5);
    link.Acknowledge(ZVM_POOL_SETLIGHTCOLOR);
    EXPECT_TRUE(pool->SetLightParamsWait(aux, 9));
    EXPECT_EQ(aux->colorPosition, 9);
    EXPECT_THAT(IntsOf(*link.asked[1].message), ElementsAre(0, 502, 3, 9, 7));
    EXPECT_FALSE(pool->SetLightParamsWait(nullptr, 1));
}

TEST_F(PoolModelTest, WriteCircuitSendsItsFieldsAndRenamesIt) {
    auto pool = Load(ZVVariant::Config, kV4);
    link.asked.clear();
    CPoolCircuit* aux = pool->GetCircuit(2);
    aux->nameIndex = 5;  // the second custom name
    EXPECT_FALSE(pool->WriteCircuit(aux));
    EXPECT_EQ(aux->name, "Aux 1");
    link.Acknowledge(ZVM_POOL_SETCIRCUITCONFIGQ);
    EXPECT_TRUE(pool->WriteCircuit(aux));
    EXPECT_EQ(aux->name, "Waterfall");
    EXPECT_EQ(link.asked[1].message->GetId(), ZVM_POOL_SETCIRCUITCONFIGQ);
    // The controller id, not the index, leads this one.
    EXPECT_THAT(IntsOf(*link.asked[1].message), ElementsAre(7, 502, 5, 0, 4, 2, 5));
}

TEST_F(PoolModelTest, CustomNameChangesOnlyWhenAnswered) {
    auto pool = Load(ZVVariant::Config, kV4);
    link.asked.clear();
    EXPECT_FALSE(pool->SetCustomName(0, "Fountain"));
    EXPECT_EQ(pool->GetCircuit(3)->name, "Garden");
    link.Acknowledge(ZVM_POOL_SETCUSTOMNAMEQ);
    EXPECT_TRUE(pool->SetCustomName(0, "Fountain"));
    EXPECT_EQ(pool->GetCustomNames()[0], "Fountain");
    EXPECT_EQ(pool->GetCircuit(3)->name, "Fountain");

    CZVMSG& request = *link.asked[1].message;
    request.ResetPosition();
    int32_t index = -1, nameIndex = -1;
    std::string text;
    ASSERT_TRUE(request.ReadInt(index) && request.ReadInt(nameIndex) && request.ReadString(text));
    EXPECT_EQ(index, 0);
    EXPECT_EQ(nameIndex, 0);
    EXPECT_EQ(text, "Fountain");

    link.Acknowledge(ZVM_POOL_SETCUSTOMNAMEQ);
    EXPECT_TRUE(pool->SetCustomName(9, "Beyond"));
    EXPECT_EQ(pool->GetCustomNames().size(), 2u);
}

TEST_F(PoolModelTest, AdjustSensorChangesTheModelOnlyWhenAnswered) {
    auto pool = Load(ZVVariant::Config, kV4);
    ASSERT_TRUE(pool->ReadStatus(*StatusMessage(StatusFixture{})));
    link.asked.clear();

    EXPECT_FALSE(pool->AdjustSensor(1, 3));
    EXPECT_EQ(pool->GetBody(0)->temperature, 78);
    EXPECT_THAT(IntsOf(*link.asked[0].message), ElementsAre(0, 80, 81, 101));

    struct Case {
        int sensor, delta;
        std::vector<int32_t> sent;
    };
    const Case cases[] = {
        {0, -2, {0, 78, 78, 101}},
        {2, 4, {0, 78, 78, 105}},
        {7, 3, {0, 78, 78, 105}},  // any other sensor: the current values
    };
    for (const Case& c : cases) {
        link.Acknowledge(ZVM_POOL_ADJUSTSENSORQ);
        EXPECT_TRUE(pool->AdjustSensor(c.sensor, c.delta));
        EXPECT_THAT(IntsOf(*link.asked.back().message), ElementsAreArray(c.sent));
        EXPECT_EQ(pool->GetAirTemp(), c.sent[1]);
        EXPECT_EQ(pool->GetBody(0)->temperature, c.sent[2]);
        EXPECT_EQ(pool->GetBody(1)->temperature, c.sent[3]);
    }
}

// Byte tables ---------------------------------------------------------------

// Tables 2 onwards of a 0x3118 payload, after its controller index.
std::vector<std::vector<uint8_t>> TablesOf(CZVMSG& message, int32_t& index) {
    message.ResetPosition();
    std::vector<std::vector<uint8_t>> tables;
    EXPECT_TRUE(message.ReadInt(index));
    int32_t count = 0;
    while (message.ReadInt(count)) {
        std::vector<uint8_t> bytes(static_cast<size_t>(count));
        if (count > 0) {
            EXPECT_TRUE(message.ReadBytes(bytes.data(), count));
        }
        tables.push_back(bytes);
    }
    return tables;
}

TEST_F(PoolModelTest, TablesWrittenBackAsRead) {
    struct Case {
        Version version;
        int written;  // tables 2 to this one
    };
    for (const Case c : {Case{kV3, 9}, Case{kV4, 10}, Case{kV4Table11, 10}}) {
        SCOPED_TRACE(c.written);
        FakeLink fresh;
        std::swap(link, fresh);
        auto pool = Load(ZVVariant::Config, c.version);
        link.Acknowledge(ZVM_POOL_SETEXTCONFIGQ);
        ASSERT_TRUE(pool->WriteConfigurationTables());
        CZVMSG& request = *link.asked.back().message;
        EXPECT_EQ(request.GetId(), ZVM_POOL_SETEXTCONFIGQ);
        int32_t index = -1;
        const auto written = TablesOf(request, index);
        EXPECT_EQ(index, 0);
        const auto tables = DistinctTables(c.written);
        EXPECT_EQ(written, std::vector<std::vector<uint8_t>>(tables.begin() + 1, tables.end()));

        // And the model reads its own bytes back unchanged.
        const auto all = DistinctTables(11);
        MsgBuilder echo(ZVM_POOL_GETEXTCONFIGQ + 1);
        echo.Int(2).Int(0x40);
        AppendTable(echo, all[0]);
        echo.Bytes(std::vector<uint8_t>(request.GetData() + 4, request.GetData() + request.GetLength()));
        if (c.version.minor == 519) AppendTable(echo, all[10]);  // read, never written back
        ASSERT_TRUE(pool->ReadExtConfig(*echo.Take()));
        for (int t = 1; t <= c.written; ++t) {
            std::vector<uint8_t> got(pool->GetTable(t), pool->GetTable(t) + pool->GetTableCount(t));
            EXPECT_EQ(got, tables[static_cast<size_t>(t - 1)]);
        }
    }
}

TEST_F(PoolModelTest, FiveByteTableIsPaddedToEight) {
    ExtFixture ext;
    ext.tables = DistinctTables(9);
    ext.tables[1] = {1, 2, 3, 4, 5};
    for (size_t t = 2; t < ext.tables.size(); ++t) ext.tables[t].clear();
    auto pool = Load(ZVVariant::Config, kV3, ConfigFixture{}, ext);
    ASSERT_TRUE(pool->IsLoaded());
    link.Acknowledge(ZVM_POOL_SETEXTCONFIGQ);
    ASSERT_TRUE(pool->WriteConfigurationTables());
    CZVMSG& request = *link.asked.back().message;
    ASSERT_EQ(request.GetLength(), 4 + 12 + 7 * 4);
    const uint8_t expected[] = {5, 0, 0, 0, 1, 2, 3, 4, 5, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::equal(std::begin(expected), std::end(expected), request.GetData() + 4));
}

TEST_F(PoolModelTest, TableSettersStayInsideTheirTable) {
    auto pool = Load(ZVVariant::Config, kV4);
    link.asked.clear();
    // Table n has n + 2 entries; SetTableByteN edits table N + 1.
    EXPECT_FALSE(pool->SetTableByte1(4, 1));
    EXPECT_FALSE(pool->SetTableByte3(-1, 1, 0));
    EXPECT_FALSE(pool->SetTableByte9(12, 1, 0));
    EXPECT_TRUE(link.asked.empty());

    EXPECT_TRUE(pool->SetTableByte9(11, 77, 0));
    EXPECT_EQ(pool->GetTable(10)[11], 77);
    EXPECT_TRUE(link.asked.empty());
    EXPECT_FALSE(pool->SetTableByte6(0, 66, 1));  // asked, not answered
    EXPECT_EQ(link.asked.size(), 1u);
    link.Acknowledge(ZVM_POOL_SETEXTCONFIGQ);
    EXPECT_TRUE(pool->SetTableByte2(0, 33));
    EXPECT_EQ(pool->GetTable(3)[0], 33);
    EXPECT_EQ(pool->GetTable(7)[0], 66);
    EXPECT_EQ(GetByteAt(pool->GetTable(3), pool->GetTableCount(3), 0), 33);
    EXPECT_EQ(GetByteAt(pool->GetTable(3), pool->GetTableCount(3), 5), 0);
    EXPECT_EQ(GetByteAt(pool->GetTable(3), pool->GetTableCount(3), -1), 0);
}

TEST_F(PoolModelTest, GeneralOptionsTableSetsTheUnit) {
    ExtFixture ext;
    ext.tables = DistinctTables(10);
    ext.tables[4] = {0, 0, 0x01};
    auto pool = Load(ZVVariant::Config, kV4, ConfigFixture{}, ext);
    EXPECT_FALSE(pool->IsCelsius());
    link.Acknowledge(ZVM_POOL_SETEXTCONFIGQ);
    EXPECT_TRUE(pool->SetTableByte4(0, 0xFE, 1));
    EXPECT_TRUE(pool->IsCelsius());
    EXPECT_TRUE(pool->SetTableByte4(2, 0x02, 0));
    EXPECT_FALSE(pool->IsCelsius());

    FakeLink fresh;
    std::swap(link, fresh);
    ext.tables[4] = {1, 1};
    ConfigFixture config;
    config.celsius = 1;
    auto shortTable = Load(ZVVariant::Config, kV4, config, ext);
    EXPECT_TRUE(shortTable->IsCelsius());
    EXPECT_TRUE(shortTable->SetTableByte4(1, 1, 0));
    EXPECT_FALSE(shortTable->IsCelsius());
}

// Slot rules ----------------------------------------------------------------

TEST_F(PoolModelTest, CircuitSlotRules) {
    struct Case {
        int32_t type;
        int32_t expansion;
        int recordIndex;
        uint8_t interface;
        bool groupNamed;  // device ids 11 to 20 all have named circuits
        int allowed;
    };
    const Case cases[] = {
        {0, 0, 6, 4, false, 1},  // shown circuits always are
        {1, 0, 6, 5, false, 1},     {0, 0, 6, 5, false, 0},    {3, 0, 5, 5, false, 1},     {1, 0, 8, 5, false, 0},
        {2, 0, 9, 5, false, 1},     {13, 0, 8, 5, false, 1},   {14, 0, 9, 5, false, 0},    {7, 0, 3, 5, false, 1},
        {0, 0, 45, 5, false, 1},    {13, 0, 45, 5, false, 0},  {7, 0, 45, 5, false, 0},    {7, 0xC0, 45, 5, false, 0},
        {7, 0xC0, 35, 5, false, 1}, {0, 0x40, 25, 5, true, 0}, {0, 0x40, 16, 5, false, 0}, {0, 0x40, 16, 5, true, 1},
        {0, 0x40, 14, 5, false, 1}, {0, 0, 12, 5, true, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " index " << c.recordIndex);
        FakeLink fresh;
        std::swap(link, fresh);
        ConfigFixture config;
        config.circuits.clear();
        for (int i = 0; i < 50; ++i) {
            const uint8_t device = static_cast<uint8_t>(i + 1);
            const uint8_t name = (c.groupNamed || device < 11 || device > 20) ? 3 : (device == 15 ? 0 : 3);
            config.circuits.push_back({1000 + i, "", name, 0,
                                       static_cast<uint8_t>(i == c.recordIndex ? c.interface : 0), 0, 0, 0, 0, device,
                                       720});
        }
        ExtFixture ext;
        ext.type = c.type;
        ext.expansion = c.expansion;
        auto pool = Load(ZVVariant::Config, kV4, config, ext);
        EXPECT_EQ(pool->IsCircuitAllowed(pool->GetCircuit(c.recordIndex)), c.allowed);
        EXPECT_EQ(pool->HasCircuitGroup(0), c.groupNamed ? 1 : 0);
    }
}

TEST_F(PoolModelTest, CircuitGroupNeedsTenNamedDevices) {
    ConfigFixture config;
    config.circuits.clear();
    for (int device = 21; device <= 30; ++device)
        config.circuits.push_back({device, "", 3, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(device), 720});
    auto pool = Load(ZVVariant::Config, kV4, config);
    EXPECT_TRUE(pool->HasCircuitGroup(1));
    pool->GetCircuit(9)->nameIndex = 255;
    EXPECT_FALSE(pool->HasCircuitGroup(1));
    pool->GetCircuit(9)->nameIndex = 0;
    EXPECT_FALSE(pool->HasCircuitGroup(1));
    EXPECT_FALSE(pool->HasCircuitGroup(0));
}

// Tablet additions: pump names and the program limit -----------------------

TEST_F(PoolModelTest, PumpSlotsNameTheirCircuitByDeviceId) {
    ConfigFixture config;
    config.pumps = {6, 1, 255, 99, 0, 0, 0, 0};  // the pool, the spa, VX900, no such device
    auto pool = Load(ZVVariant::Tablet, Version{0, 0}, config);
    struct Case {
        int slot;
        const char* text;
        int vx900;
    } cases[] = {{0, "Pool", 0}, {1, "Spa", 0}, {2, "VX900", 1}, {3, "", 0}, {8, "", 0}, {-1, "", 0}};
    for (const Case& c : cases) {
        EXPECT_EQ(pool->GetPumpCircuitText(c.slot), c.text) << c.slot;
        EXPECT_EQ(pool->IsPumpVX900(c.slot), c.vx900) << c.slot;
    }
}

TEST_F(PoolModelTest, ProgramLimitDependsOnTheControllerType) {
    struct Case {
        uint8_t type;
        int timed;
        int extra;
        int reached;
    } cases[] = {
        {13, 12, 0, 1}, {13, 11, 0, 0}, {13, 11, 1, 1}, {14, 12, 0, 1},
        {9, 12, 0, 0},  {9, 98, 0, 0},  {9, 98, 1, 1},  {9, 99, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << int{c.type} << " timed " << c.timed << " extra " << c.extra);
        FakeLink fresh;
        std::swap(link, fresh);
        ConfigFixture config;
        config.legacyType = c.type;
        config.circuits.clear();
        for (int i = 0; i < c.timed + 3; ++i)  // three without a run time do not count
            config.circuits.push_back({600 + i, "C", 0, 0, 2, 0, 0, 0, 0, static_cast<uint8_t>(i),
                                       static_cast<uint16_t>(i < c.timed ? 60 : 720)});
        auto pool = Load(ZVVariant::Tablet, Version{0, 0}, config);
        ASSERT_EQ(pool->GetControllerType(), c.type);
        EXPECT_EQ(pool->IsProgramLimitReached(c.extra), c.reached);
    }
}

}  // namespace
