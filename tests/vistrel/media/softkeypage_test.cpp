// The soft-key page: the cable box's keys from the sample house, the key
// codes with the list and page last reported, short answers and "PAGE".
#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "samplegateway/softkeys.h"
#include "support/golden.h"
#include "vistrel/media/audio/sourceselwnd.h"
#include "vistrel/media/softkeys/softkeypage.h"
#include "widgets/regions/rregionradio.h"
#include "widgets/text/zvlabel.h"

namespace {

using audiotest::AudioTest;
using testsupport::Bytes;
using testsupport::PayloadWriter;

constexpr int kCableBoxOption = 4;  // after "Off", the music server, the tuner and the satellite

std::string Text(CZVWindow* w) { return w->GetText().GetAnsi(); }

// A soft-key answer with the title, list, page and captions.
std::unique_ptr<CZVMSG> KeysAnswer(int32_t list, int32_t page, std::initializer_list<const char*> captions) {
    auto message = std::make_unique<CZVMSG>(0, ZVM_AUDIO_GETSOFTKEYSA);
    message->WriteString(std::string("Box"));
    message->WriteInt(list);
    message->WriteInt(page);
    for (const char* caption : captions) message->WriteString(std::string(caption));
    message->ResetPosition();
    return message;
}

class SoftKeyTest : public AudioTest {
protected:
    // A page of its own, with no zones page over it.
    CSoftKeyPage* MakePage() {
        Connect();
        auto* keys = new CSoftKeyPage(window.get(), nullptr, CZVRect(0, 0, 560, 420), 0, "Box");
        window->AddChild(keys);
        return keys;
    }
    // The payload of the last request of the id, once the gateway has seen `count` of them.
    Bytes Last(uint16_t id, size_t count) {
        Bytes payload;
        EXPECT_TRUE(PollUntil([&] {
            const std::vector<Bytes> seen = gateway.PayloadsOf(id);
            if (!seen.empty()) payload = seen.back();
            return seen.size() == count;
        }));
        return payload;
    }
};

TEST_F(SoftKeyTest, TheCableBoxShowsItsKeysAndPagesThroughThem) {
    RegisterSoftKeyPage();
    ConnectToSampleHouse();
    CAudioZonesPage* zones = OpenPage();
    auto* selector = dynamic_cast<CSourceRadioWnd*>(zones->GetSelector());
    ASSERT_NE(selector, nullptr);
    selector->GetRegion()->SetSelection(kCableBoxOption, 0);
    selector->OnCommand(CSourceSelWnd::kOptionChosen);
    CSoftKeyPage* keys = nullptr;
    ASSERT_TRUE(SettleUntil([&] {
        keys = dynamic_cast<CSoftKeyPage*>(zones->GetSourcePage());
        return keys && Text(keys->GetCaption(0)) == "Guide";
    }));
    EXPECT_EQ(Text(keys->GetTitle()), "Cable Box");
    EXPECT_EQ(Text(keys->GetPageLabel()), "Page 1");
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(keys), "softkeys_cable_box"));

    keys->OnCommand(CSoftKeyPage::kFirstKey + 9);
    EXPECT_EQ(Last(ZVM_AUDIO_SOURCECOMMAND, 1),
              Bytes(PayloadWriter().Int(1).Int(5029).Int(samplegateway::kCableBoxKeyList).Int(0)));

    // The last page names three keys; the others keep the second page's captions.
    keys->OnCommand(CSoftKeyPage::kPageButton);
    ASSERT_TRUE(SettleUntil([&] { return Text(keys->GetCaption(0)) == "Red"; }));
    keys->OnCommand(CSoftKeyPage::kPageButton);
    ASSERT_TRUE(SettleUntil([&] { return Text(keys->GetCaption(0)) == "Pay Per View"; }));
    EXPECT_EQ(Text(keys->GetCaption(2)), "Reset");
    EXPECT_EQ(Text(keys->GetCaption(3)), "Blue");
    EXPECT_EQ(Text(keys->GetCaption(9)), "Photos");
    EXPECT_EQ(Text(keys->GetPageLabel()), "Page 3");
}

TEST_F(SoftKeyTest, KeysSendTheirCodesWithTheListAndPageLastReported) {
    CSoftKeyPage* keys = MakePage();
    EXPECT_EQ(Last(ZVM_AUDIO_GETSOFTKEYSQ, 1), Bytes(PayloadWriter().Int(-1).Int(5038).Int(0)));
    keys->OnSourceMessage(KeysAnswer(12, 1, {"A"}).get(), 0);
    const struct {
        int id;
        int code;
    } cases[] = {{1001, 5020}, {1005, 5024}, {1010, 5029}, {1015, 5034}, {1016, 5035}};
    size_t sent = 0;
    for (const auto& c : cases) {
        keys->OnCommand(c.id);
        EXPECT_EQ(Last(ZVM_AUDIO_SOURCECOMMAND, ++sent), Bytes(PayloadWriter().Int(-1).Int(c.code).Int(12).Int(1)))
            << c.id;
    }
    // "PAGE" moves the page the keys send at once, and sends no key itself.
    keys->OnCommand(CSoftKeyPage::kPageButton);
    EXPECT_EQ(Last(ZVM_AUDIO_GETSOFTKEYSQ, 2), Bytes(PayloadWriter().Int(-1).Int(12).Int(2)));
    keys->OnCommand(1001);
    EXPECT_EQ(Last(ZVM_AUDIO_SOURCECOMMAND, sent + 1), Bytes(PayloadWriter().Int(-1).Int(5020).Int(12).Int(2)));
}

TEST_F(SoftKeyTest, AShortAnswerChangesOnlyTheKeysItNames) {
    CSoftKeyPage* keys = MakePage();
    keys->OnSourceMessage(KeysAnswer(12, 2, {"One", "Two", "Three"}).get(), 0);
    EXPECT_EQ(Text(keys->GetTitle()), "Box");
    EXPECT_EQ(Text(keys->GetCaption(2)), "Three");
    EXPECT_EQ(Text(keys->GetCaption(3)), "TEST4");
    EXPECT_EQ(Text(keys->GetCaption(9)), "TEST0");
    EXPECT_EQ(Text(keys->GetPageLabel()), "Page 3");

    keys->OnCommand(CSoftKeyPage::kPageButton);
    EXPECT_EQ(Last(ZVM_AUDIO_GETSOFTKEYSQ, 2), Bytes(PayloadWriter().Int(-1).Int(12).Int(3)));
    keys->OnSourceMessage(KeysAnswer(12, 3, {}).get(), 0);
    EXPECT_EQ(Text(keys->GetPageLabel()), "Page 4");

    // Without its page number the answer changes nothing.
    auto cut = std::make_unique<CZVMSG>(0, ZVM_AUDIO_GETSOFTKEYSA);
    cut->WriteString(std::string("Other"));
    cut->WriteInt(13);
    cut->ResetPosition();
    keys->OnSourceMessage(cut.get(), 0);
    EXPECT_EQ(Text(keys->GetTitle()), "Box");
    EXPECT_EQ(keys->GetListId(), 12);

    // A new source in the zone asks for the first page of the first list again.
    keys->OnSourceMessage(audiotest::ZoneState(14, 3102, 0).get(), 0);
    EXPECT_EQ(Last(ZVM_AUDIO_GETSOFTKEYSQ, 3), Bytes(PayloadWriter().Int(-1).Int(5038).Int(0)));
}

}  // namespace
