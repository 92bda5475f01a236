// The controls of media devices against the sample house: the source
// information with its one-second notice, the device and zone menus the
// gateway defines, and the device's list with its rows, its settled scroll
// position and the choice; counts from outside are bounded.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/mediamessages.h"
#include "device_fixture.h"
#include "samplegateway/mediadevices.h"
#include "support/golden.h"
#include "vistrel/media/audio/auddata.h"
#include "vistrel/media/audio/audiovalues.h"
#include "vistrel/media/devices/mediabrowsectl.h"
#include "vistrel/media/devices/medialistpage.h"
#include "vistrel/media/devices/videoinfoctl.h"
#include "widgets/buttons/zvbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

using devicetest::DeviceControlTest;

constexpr int kDevice = samplegateway::kMediaRoomDevice;

std::string TextOf(CZVWindow* w) { return w->GetText().GetAnsi(); }

// A message as the gateway would send it: ints, then strings.
void Give(CSocketSink* sink, uint16_t id, std::initializer_list<int32_t> ints,
          std::initializer_list<const char*> strings = {}) {
    CZVMSG message(0, id);
    for (int32_t value : ints) message.WriteInt(value);
    for (const char* text : strings) message.WriteString(text);
    message.ResetPosition();
    sink->OnMessage(&message);
}

class Devices : public DeviceControlTest {
protected:
    ~Devices() override { ResetAudioValues(); }
    template <class Control>
    void Remove(Control* control) {
        page->RemoveChild(control);
        delete control;
    }
};

// ---- the source information

TEST_F(Devices, TheInformationShowsFourLinesAndANoticeForASecond) {
    auto* info = Place(new CVideoInfoCtl(page, CZVRect(0, 0, 400, 120), server, kDevice, 0));
    EXPECT_EQ(IntsOf(Sent(ZVM_MEDIA_REGISTERSOURCE).at(0)), (std::vector<int32_t>{kDevice, info->GetId()}));
    EXPECT_EQ(Sent(ZVM_MEDIA_GETSOURCEINFOQ).at(0).sender, info->GetId());
    // The notice takes the right quarter of the top row.
    EXPECT_EQ(info->GetNotice()->GetX(), 300);
    EXPECT_EQ(info->GetNotice()->GetWidth(), 100);
    EXPECT_EQ(info->GetLine(3)->GetY(), 90);
    // The menu form of the same answer changes nothing.
    EXPECT_EQ(TextOf(info->GetLine(0)), "Media Room");
    EXPECT_EQ(TextOf(info->GetLine(3)), "Chapter 3 of 12");
    EXPECT_EQ(TextOf(info->GetNotice()), "");
    // The device's notice comes every ten seconds and goes a second after it came.
    clock.Advance(1);
    RunPacer();
    clock.Advance(samplegateway::kDeviceNoticeMs);
    RunPacer();
    ASSERT_TRUE(SettleUntil([&] { return TextOf(info->GetNotice()) == "Playing"; }));
    clock.Advance(600);
    window->OnIdle(0);
    // A newer notice within the second starts the second again; one without a notice leaves it.
    Give(info, ZVM_MEDIA_GETSOURCEINFOA, {0}, {"a", "b", "c", "d"});
    Give(info, ZVM_MEDIA_GETSOURCEINFOA, {0, 1}, {});  // cut: nothing changes
    CZVMSG notice(0, ZVM_MEDIA_GETSOURCEINFOA);
    notice.WriteInt(0);
    for (const char* line : {"1", "2", "3", "4"}) notice.WriteString(line);
    notice.WriteInt(1);
    notice.WriteString("Paused");
    notice.ResetPosition();
    info->OnMessage(&notice);
    EXPECT_EQ(TextOf(info->GetLine(1)), "2");
    clock.Advance(600);
    window->OnIdle(0);
    EXPECT_EQ(TextOf(info->GetNotice()), "Paused");
    clock.Advance(500);
    window->OnIdle(0);
    EXPECT_EQ(TextOf(info->GetNotice()), "");
    const int32_t sink = info->GetId();
    Remove(info);
    EXPECT_EQ(IntsOf(Sent(ZVM_MEDIA_UNREGISTERSOURCE).at(0)), (std::vector<int32_t>{kDevice, sink}));
}

// ---- the menus

TEST_F(Devices, TheDeviceMenuIsBuiltFromTheMenuFormOfTheAnswer) {
    auto* menu = Place(
        new CMediaBrowseCtl(page, CZVRect(10, 10, 300, 100), server, 0, CMediaBrowseCtl::kDeviceMenuType, kDevice));
    EXPECT_EQ(IntsOf(Sent(ZVM_MEDIA_REGISTERSOURCE).at(0)), (std::vector<int32_t>{kDevice, menu->GetId()}));
    ASSERT_TRUE(SettleUntil([&] { return menu->GetChildren().GetCount() == 5; }));
    EXPECT_EQ(TextOf(static_cast<CZVWindow*>(menu->GetChildren().GetHead())), "Blu-ray Player");
    // The information form, and a cut answer, leave the menu as it is.
    Give(menu, ZVM_MEDIA_GETSOURCEINFOA, {0}, {"x", "y", "z", "w"});
    Give(menu, ZVM_MEDIA_GETSOURCEINFOA, {});
    EXPECT_EQ(menu->GetChildren().GetCount(), 5);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(menu), "vistrel_device_menu"));
    const int32_t sink = menu->GetId();
    Remove(menu);
    EXPECT_EQ(IntsOf(Sent(ZVM_MEDIA_UNREGISTERSOURCE).at(0)), (std::vector<int32_t>{kDevice, sink}));
}

TEST_F(Devices, AZoneMenuFollowsTheCurrentZoneAndNeverAsksForNoZone) {
    CAudioZone livingRoom(1, "Living Room", 1, 40, 1), patio(2, "Patio", 0, 0x7FFF, 0);
    // Built while no zone is current: nothing is asked, and a show while there is none asks nothing.
    auto* menu =
        Place(new CMediaBrowseCtl(page, CZVRect(10, 10, 300, 100), server, 0, CMediaBrowseCtl::kZoneMenuType, 0));
    menu->Show(0, 1);
    menu->Show(1, 1);
    EXPECT_TRUE(Sent(ZVM_AUDIO_GETMENUQ).empty());
    EXPECT_TRUE(Sent(ZVM_AUDIO_SUBSCRIBEZONE).empty());
    EXPECT_EQ(menu->GetZoneOrDevice(), CMediaBrowseCtl::kNoZone);
    // Once a zone is current, the next show asks for its menu.
    SetCurrentAudioZone(&livingRoom);
    menu->Show(0, 1);
    menu->Show(1, 1);
    EXPECT_EQ(Last(ZVM_AUDIO_GETMENUQ), std::vector<int32_t>{1});
    EXPECT_EQ(Last(ZVM_AUDIO_SUBSCRIBEZONE), (std::vector<int32_t>{1, menu->GetId(), 1}));
    EXPECT_TRUE(Sent(ZVM_AUDIO_UNSUBSCRIBEZONE).empty());
    ASSERT_TRUE(SettleUntil([&] { return menu->GetChildren().GetCount() == 3; }));
    // The same zone again asks nothing more.
    menu->Show(0, 1);
    menu->Show(1, 1);
    EXPECT_EQ(Sent(ZVM_AUDIO_GETMENUQ).size(), 1u);
    // Another zone: the old one is left, the new one asked for; a menu of a zone that is not
    // current any more is not shown.
    SetCurrentAudioZone(&patio);
    Give(menu, ZVM_AUDIO_GETMENUA, {1, 0});
    EXPECT_EQ(menu->GetChildren().GetCount(), 3);
    menu->Show(0, 1);
    menu->Show(1, 1);
    EXPECT_EQ(Last(ZVM_AUDIO_UNSUBSCRIBEZONE), (std::vector<int32_t>{1, menu->GetId()}));
    EXPECT_EQ(Last(ZVM_AUDIO_GETMENUQ), std::vector<int32_t>{2});
    ASSERT_TRUE(SettleUntil([&] { return menu->GetChildren().GetCount() == 2; }));
    EXPECT_EQ(TextOf(static_cast<CZVWindow*>(menu->GetChildren().GetHead())), "Patio");
    const int32_t sink = menu->GetId();
    Remove(menu);
    EXPECT_EQ(Last(ZVM_AUDIO_UNSUBSCRIBEZONE), (std::vector<int32_t>{2, sink}));
    // A menu that never had a zone leaves none when it goes.
    SetCurrentAudioZone(nullptr);
    auto* idle =
        Place(new CMediaBrowseCtl(page, CZVRect(10, 10, 300, 100), server, 0, CMediaBrowseCtl::kZoneMenuType, 0));
    Remove(idle);
    EXPECT_EQ(Sent(ZVM_AUDIO_UNSUBSCRIBEZONE).size(), 2u);
}

// ---- the list

class MediaList : public Devices {
protected:
    CMediaListPage* Make(int visibleRows = 4, CZVRect rect = CZVRect(10, 10, 260, 200)) {
        auto* list = Place(new CMediaListPage(page, rect, server, kDevice, 0, visibleRows));
        return list;
    }
    static std::string Row(CMediaListPage* list, int index) {
        return static_cast<CTextItem*>(list->GetItemAt(index))->GetText().GetAnsi();
    }
};

TEST_F(MediaList, TheDevicesRowsFillTheListFromTheTopTheGatewayGives) {
    CMediaListPage* list = Make();
    ASSERT_TRUE(SettleUntil([&] { return list->GetCount() == samplegateway::kDeviceListRows; }));
    EXPECT_EQ(IntsOf(Sent(ZVM_MEDIA_REGISTERSOURCE).at(0)), (std::vector<int32_t>{kDevice, list->GetId()}));
    EXPECT_EQ(Row(list, 0), "Chapter 1");
    EXPECT_EQ(Row(list, 5), "Chapter 6");
    EXPECT_EQ(Row(list, 6), "");
    EXPECT_EQ(list->GetRowButtonCount(), 1);
    // Four rows fill the height exactly.
    EXPECT_EQ(list->GetRowHeight() * 4 + 2 * list->GetBevel(), list->GetHeight());
    EXPECT_GT(list->GetHeight(), 200 - 4);
    EXPECT_EQ(list->GetScrollBarWidth() % 2, 0);
    struct Case {
        int32_t count, top;
        std::vector<const char*> texts;
        int rows;
        std::vector<std::pair<int, std::string>> expected;
    };
    const Case cases[] = {
        // Only the rows that exist take a string.
        {10, 8, {"eight", "nine", "ignored"}, 10, {{7, ""}, {8, "eight"}, {9, "nine"}}},
        // The same count keeps the rows; rows without a string become empty.
        {10, 7, {"seven"}, 10, {{7, "seven"}, {8, ""}, {9, ""}}},
        {10, -3, {"zero", "one", "two"}, 10, {{0, "zero"}, {1, "one"}, {2, "two"}, {3, ""}}},
        {-5, 0, {"none"}, 0, {}},
        {2000000000, 0, {"first"}, CMediaListPage::kMaxRows, {{0, "first"}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.count << " from " << c.top);
        CZVMSG answer(0, ZVM_MEDIA_GETLISTA);
        for (int32_t value : {c.count, c.top, 0}) answer.WriteInt(value);
        for (const char* text : c.texts) answer.WriteString(text);
        list->OnMessage(&answer);  // read from its start, wherever it stands
        ASSERT_EQ(list->GetCount(), c.rows);
        for (const auto& [index, text] : c.expected) EXPECT_EQ(Row(list, index), text);
        EXPECT_EQ(list->GetRowButtonCount(), 1);
    }
}

TEST_F(MediaList, AScrollIsReportedOnce250MsAfterItsLastStepAndTheGatewaysTopIsShown) {
    CMediaListPage* list = Make();
    ASSERT_TRUE(SettleUntil([&] { return list->GetCount() == samplegateway::kDeviceListRows; }));
    ASSERT_TRUE(Settle());
    const int row = list->GetRowHeight();
    {
        CZVDC dc(list);
        list->OnScroll(&dc, 2 * row);
        clock.Advance(100);
        list->OnScroll(&dc, 5 * row);
    }
    clock.Advance(CMediaListPage::kScrollSettleMs);
    window->OnIdle(0);
    EXPECT_TRUE(Sent(ZVM_MEDIA_SETLISTPOSITION).empty());
    clock.Advance(1);
    window->OnIdle(0);
    window->OnIdle(0);
    const std::vector<testsupport::Frame> sent = Sent(ZVM_MEDIA_SETLISTPOSITION);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(IntsOf(sent[0]), (std::vector<int32_t>{kDevice, 5}));
    EXPECT_EQ(list->IsScrollPending(), 0);
    // The device answers with its rows from the new top.
    ASSERT_TRUE(SettleUntil([&] { return Row(list, 10) == "Chapter 11"; }));
    EXPECT_EQ(list->GetFirstVisibleItem(), 5);
    list->SelectIndex(6, 0);
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(list), "vistrel_media_list"));
    // The gateway's own top moves the list there.
    Give(list, ZVM_MEDIA_GETLISTA, {40, 20, 0}, {"a", "b", "c", "d", "e", "f"});
    EXPECT_EQ(list->GetScrollPos(), 20 * row);
    EXPECT_EQ(Row(list, 25), "f");
}

TEST_F(MediaList, ARowPressOrGoTellsTheSelectedRowAndNothingReachesThePage) {
    CMediaListPage* list = Make();
    ASSERT_TRUE(SettleUntil([&] { return list->GetCount() == samplegateway::kDeviceListRows; }));
    list->OnCommand(CMediaListPage::kRowCommand);
    EXPECT_EQ(Last(ZVM_MEDIA_SELECTLISTITEM), (std::vector<int32_t>{kDevice, -1, 0}));
    list->SelectIndex(2, 0);
    list->OnCommand(CMediaListPage::kRowCommand);
    EXPECT_EQ(Last(ZVM_MEDIA_SELECTLISTITEM), (std::vector<int32_t>{kDevice, 2, 0}));
    list->OnCommand(CMediaListPage::kGoCommand);
    EXPECT_EQ(Last(ZVM_MEDIA_SELECTLISTITEM), (std::vector<int32_t>{kDevice, 2, 1}));
    list->OnCommand(1234);
    EXPECT_EQ(Sent(ZVM_MEDIA_SELECTLISTITEM).size(), 3u);
    EXPECT_EQ(CommandsAtThePage(), 0u);
    const int32_t sink = list->GetId();
    Remove(list);
    EXPECT_EQ(IntsOf(Sent(ZVM_MEDIA_UNREGISTERSOURCE).at(0)), (std::vector<int32_t>{kDevice, sink}));
}

}  // namespace
