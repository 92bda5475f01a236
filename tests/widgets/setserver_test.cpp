#include "widgets/style/setserver.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "av/soundclip.h"
#include "support/assert_counter.h"
#include "support/widget_harness.h"

namespace {

// The pieces of a settings answer, changed by each case before it is built.
struct Reply {
    int32_t kind = 1;
    int32_t rows = 2;
    int32_t values = 9;
    int32_t colours = 2;
    int32_t flags = 0x44001;
    bool withTail = true;
    bool cutBeforeLevel = false;

    static uint8_t Value(int row, int index) { return static_cast<uint8_t>(row * 10 + index + 1); }
    static COLORREF Face(int row) { return 0x102030u + row; }

    std::unique_ptr<CZVMSG> Build() const {
        auto msg = std::make_unique<CZVMSG>(0, ZVM_UI_GETSETTINGSA);
        msg->WriteInt(kind);
        msg->WriteInt(rows);
        msg->WriteInt(values);
        msg->WriteInt(colours);
        std::vector<uint8_t> bytes;
        for (int r = 0; r < std::max(rows, 0); ++r)
            for (int i = 0; i < values; ++i) bytes.push_back(Value(r, i));
        bytes.resize((bytes.size() + 3) / 4 * 4, 0);
        if (!bytes.empty()) msg->WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
        for (int r = 0; r < std::max(rows, 0); ++r) {
            msg->WriteInt(static_cast<int32_t>(Face(r)));
            msg->WriteInt(0x000080);
        }
        msg->WriteInt(flags);
        msg->WriteInt(48);
        msg->WriteString("wood.png");
        msg->WriteString("sky.png");
        if (!cutBeforeLevel) msg->WriteInt(12);
        if (withTail) {
            for (const char* name : {"p.wav", "c.wav", "in.wav", "out.wav"}) msg->WriteString(name);
            msg->WriteColor(MakeColor(1, 2, 3));
            msg->WriteColor(MakeColor(4, 5, 6));
            msg->WriteColor(MakeColor(7, 8, 9));
            msg->WriteInt(0);
        }
        msg->ResetPosition();
        return msg;
    }
};

class SetServerTest : public ::testing::Test {
protected:
    bool TablesUnchanged() const {
        return std::memcmp(&style.GetTables(), &CStyleTables::BuiltIn(), sizeof(CStyleTables)) == 0;
    }

    testsupport::WidgetHarness harness;
    CSetServer& style = harness.Style();
};

TEST_F(SetServerTest, StartsWithTheBuiltInStyle) {
    EXPECT_TRUE(TablesUnchanged());
    EXPECT_EQ(style.GetFlags(), 0x81);
    EXPECT_EQ(style.IsThemed(), 1);
    EXPECT_EQ(style.IsLoaded(), 0);
    EXPECT_EQ(style.GetTabIconCap(), 32);
    EXPECT_EQ(style.GetSelectionColor(), 0x64FFFFu);
    EXPECT_STREQ(CZVString(style.GetPressSound()).GetAnsi(), "click1.wav");
    // A few rows, checked against the table they were copied from.
    EXPECT_EQ(style.GetStyle(18, kStyleMargin), 2);
    EXPECT_EQ(style.GetStyle(35, kStyleHeight), 35);
    EXPECT_EQ(style.GetStyle(30, kStyleRadius), 20);
    EXPECT_EQ(style.GetStyleColor(30, 0), 0x9E5A41u);
    EXPECT_EQ(style.GetStyleColor(22, 1), 0xFFFFFFu);
    EXPECT_EQ(style.GetStyleColor(37, 0), 0x808080u);
}

TEST_F(SetServerTest, ThemedReplyReplacesTheRowsItCarries) {
    Reply reply;
    auto msg = reply.Build();
    ASSERT_EQ(style.ParseSettings(msg.get()), 1);
    EXPECT_EQ(style.IsLoaded(), 1);
    EXPECT_EQ(style.IsThemed(), 1);
    for (int r = 0; r < 2; ++r) {
        for (int i = 0; i < 9; ++i) EXPECT_EQ(style.GetStyle(r, i), Reply::Value(r, i));
        EXPECT_EQ(style.GetStyleColor(r, 0), Reply::Face(r));
    }
    EXPECT_EQ(style.GetStyle(2, kStyleWidth), 140);  // rows beyond the reply keep their values
    EXPECT_EQ(style.GetFlags(), 0x44001);
    EXPECT_EQ(style.GetShadeCurve(), 5000);
    EXPECT_EQ(style.GetTabIconCap(), 48);
    EXPECT_EQ(style.GetSkinLevel(), 12);
    EXPECT_STREQ(CZVString(style.GetSkinName()).GetAnsi(), "sky.png");
    EXPECT_STREQ(CZVString(style.GetDisconnectSound()).GetAnsi(), "out.wav");
    EXPECT_EQ(style.GetTabPressColor(), MakeColor(7, 8, 9));
    EXPECT_EQ(style.HasSkinTexture(), 1);  // skins at a level above 8
}

TEST_F(SetServerTest, RowsBeyondTheTableAreReadAndSkipped) {
    Reply reply;
    reply.rows = 40;
    auto msg = reply.Build();
    ASSERT_EQ(style.ParseSettings(msg.get()), 1);
    EXPECT_EQ(style.GetStyle(37, 8), Reply::Value(37, 8));
    EXPECT_EQ(style.GetStyleColor(37, 0), Reply::Face(37));
    EXPECT_EQ(style.GetSkinLevel(), 12);  // the fields after the rows are where they belong
}

TEST_F(SetServerTest, MissingTailKeepsTheOldSoundsAndColours) {
    Reply reply;
    reply.withTail = false;
    auto msg = reply.Build();
    ASSERT_EQ(style.ParseSettings(msg.get()), 1);
    EXPECT_STREQ(CZVString(style.GetConnectSound()).GetAnsi(), "connect.wav");
    EXPECT_EQ(style.GetSelectionColor(), 0x64FFFFu);
}

TEST_F(SetServerTest, UnthemedRepliesSwitchToThePlainLook) {
    for (int32_t kind : {2, 4, 0}) {
        Reply reply;
        reply.kind = kind;
        CZVMSG msg(0, ZVM_UI_GETSETTINGSA);
        msg.WriteInt(kind);
        msg.ResetPosition();
        ASSERT_EQ(style.ParseSettings(&msg), 1) << kind;
        EXPECT_EQ(style.IsThemed(), 0);
        EXPECT_EQ(style.IsLoaded(), 1);
        EXPECT_EQ(style.GetFlags(), 0x21100);
        EXPECT_EQ(style.GetTabIconCap(), 40);
        EXPECT_EQ(style.GetStyle(2, kStyleWidth), 100);
        EXPECT_EQ(style.GetStyle(3, kStyleWidth), 140);
    }
    EXPECT_EQ(style.IsSpecial(), 1);
}

struct Malformed {
    const char* name;
    void (*change)(Reply&);
    bool cutLastByte;
};

void PrintTo(const Malformed& malformed, std::ostream* out) { *out << malformed.name; }

class MalformedReplyTest : public SetServerTest, public ::testing::WithParamInterface<Malformed> {};

TEST_P(MalformedReplyTest, IsRefusedWithoutChangingAnything) {
    Reply reply;
    GetParam().change(reply);
    auto msg = reply.Build();
    if (GetParam().cutLastByte) msg->SetLength(msg->GetLength() - 1);
    EXPECT_EQ(style.ParseSettings(msg.get()), 0);
    EXPECT_TRUE(TablesUnchanged());
    EXPECT_EQ(style.IsLoaded(), 0);
    EXPECT_EQ(style.IsThemed(), 1);
    EXPECT_EQ(style.GetFlags(), 0x81);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, MalformedReplyTest,
    ::testing::Values(Malformed{"EightValuesPerRow", [](Reply& r) { r.values = 8; }, false},
                      Malformed{"ThreeColoursPerRow", [](Reply& r) { r.colours = 3; }, false},
                      Malformed{"NegativeRowCount", [](Reply& r) { r.rows = -1; }, false},
                      // The padding of the rows counts: 3 rows of 9 bytes take 28, not 27.
                      Malformed{"RowsWithoutTheirPadding", [](Reply& r) { r.rows = 3; r.withTail = false;
                                                                          r.cutBeforeLevel = true; }, false},
                      Malformed{"CutBeforeTheSkinLevel", [](Reply& r) { r.withTail = false; }, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SetServerTest, HugeRowCountIsNeverLoopedOn) {
    CZVMSG msg(0, ZVM_UI_GETSETTINGSA);
    for (int32_t v : {1, 0x7FFFFFFF, 9, 2}) msg.WriteInt(v);
    msg.ResetPosition();
    EXPECT_EQ(style.ParseSettings(&msg), 0);
}

TEST_F(SetServerTest, PressedShadeDarkensBrightColoursAndLightensDarkOnes) {
    struct Case {
        COLORREF in, out;
    } cases[] = {
        {MakeColor(228, 228, 228), MakeColor(182, 182, 182)},
        {MakeColor(32, 32, 32), MakeColor(40, 40, 40)},
        {MakeColor(64, 0, 0), MakeColor(51, 5, 9)},
        {MakeColor(0, 0, 0), MakeColor(9, 5, 9)},
    };
    for (const Case& c : cases) EXPECT_EQ(CSetServer::GetPressedShade(c.in), c.out) << std::hex << c.in;
}

TEST_F(SetServerTest, OutOfRangeLookupsAreReported) {
    testsupport::AssertCounter asserts;
    EXPECT_EQ(style.GetStyle(38, 0), style.GetStyle(0, 0));
    EXPECT_EQ(style.GetStyle(1, 9), 0);
    EXPECT_EQ(style.GetStyleColor(-1, 0), 0x010101u);
    style.SetStyle(100, 0, 5);  // ignored
    EXPECT_EQ(asserts.Count(), 3);
}

TEST_F(SetServerTest, SoundsAreFoundByNameIgnoringCase) {
    CSoundClip* clip = style.GetSound("Click1.WAV");
    EXPECT_EQ(style.GetSound("click1.wav"), clip);
    EXPECT_EQ(style.FindSound("click2.wav"), nullptr);
    EXPECT_EQ(clip->Play(0), 0);  // nothing to play yet
}

TEST_F(SetServerTest, ConnectMakesTheClipsAndALaterReplyRenamesThem) {
    CZVMSG plain(0, ZVM_UI_GETSETTINGSA);
    plain.WriteInt(2);
    plain.ResetPosition();
    style.ParseSettings(&plain);  // loaded: the connect does not ask again
    style.OnConnect(1);
    ASSERT_NE(style.GetConnectClip(), nullptr);
    EXPECT_STREQ(CZVString(style.GetConnectClip()->GetName()).GetAnsi(), "connect.wav");
    auto msg = Reply().Build();
    style.ParseSettings(msg.get());
    EXPECT_STREQ(CZVString(style.GetConnectClip()->GetName()).GetAnsi(), "in.wav");
    EXPECT_STREQ(CZVString(style.GetDisconnectClip()->GetName()).GetAnsi(), "out.wav");
    style.OnConnect(0);
}

TEST_F(SetServerTest, SettingsNoticesRefreshTheMainWindow) {
    CZVMSG changed(0, ZVM_SYSCONFIG_SETTINGSCHANGED);
    style.OnMessage(&changed);
    EXPECT_EQ(harness.Root().cacheFlushes, 1);
    CZVMSG other(0, 0x1234);
    style.OnMessage(&other);
    EXPECT_EQ(harness.Root().cacheFlushes, 1);
}

TEST_F(SetServerTest, ApplyStyleUsesTheLoadedRows) {
    style.SetStyle(17, kStyleWidth, 77);
    style.SetStyleColor(17, 0, 0x0000FF);
    CZVWindow button(&harness.Root(), CZVRect(0, 0, -1, -1), 17);
    EXPECT_EQ(button.GetWidth(), 77);
    EXPECT_EQ(button.GetFaceColor(), 0x0000FFu);
}

TEST(LayoutType, FollowsTheWindowSize) {
    struct Case {
        int w, h, type;
    } cases[] = {{240, 240, 4}, {240, 320, 1}, {320, 240, 3}, {320, 320, 5},
                 {800, 480, 2}, {800, 600, 0}, {1024, 768, 0}, {1280, 800, 2}};
    for (const Case& c : cases) EXPECT_EQ(LayoutTypeOf(c.w, c.h), c.type) << c.w << "x" << c.h;
}

}  // namespace
