// The internet radio's Now Playing page: the quality table and the meters,
// statuses whose kind word carries feature bits, the listener fed while the
// page is hidden, Pause and Stop, and the Patio's radio from the sample house.
#include <gtest/gtest.h>

#include "audio_fixture.h"
#include "samplegateway/radio.h"
#include "support/golden.h"
#include "vistrel/media/audio/sourcepages.h"
#include "vistrel/media/music/musiclists.h"
#include "vistrel/media/radio/radionowplaying.h"
#include "widgets/gauges/lampmeter.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/text/zvlabel.h"

namespace {

using audiotest::AudioTest;
using testsupport::Bytes;
using testsupport::PayloadWriter;

std::string Text(CZVWindow* w) { return w->GetText().GetAnsi(); }

struct StatusFields {
    int32_t kind = 3001;
    int32_t stream = 128000;
    int32_t incoming = 64000;
    int32_t level = 40;
};

std::unique_ptr<CZVMSG> Status(const StatusFields& f, uint16_t id = ZVM_AUDIO_SOURCESTATUSCHANGED) {
    auto message = std::make_unique<CZVMSG>(0, id);
    PayloadWriter out;
    out.Int(f.kind).String("Station One").String("Track").String("Artist").String("Buffer");
    out.Int(f.stream).Int(f.incoming).Int(22050).Int(f.level).Int(0).Int(0x80).Int(0xFF).Int(0);
    const Bytes bytes = out;
    message->WriteBytes(bytes.data(), static_cast<int32_t>(bytes.size()));
    message->ResetPosition();
    return message;
}

class Listener : public CListenProgressListener {
public:
    void OnListenText(const std::string&) override {}
    void ShowListenProgress(int level, const std::string& text, COLORREF fill) override {
        heard.push_back({level, text, fill});
    }
    struct Heard {
        int level;
        std::string text;
        COLORREF fill;
    };
    std::vector<Heard> heard;
};

class RadioTest : public AudioTest {
protected:
    CRadioNowPlayingPage* MakePage(CAudioSourceOwner* owner = nullptr) {
        auto* radio = new CRadioNowPlayingPage(window.get(), owner, CZVRect(0, 0, 560, 420), 0);
        window->AddChild(radio);
        return radio;
    }
};

TEST(RadioQuality, TheBitRateGivesTheQualityAndTheReception) {
    const struct {
        int bitRate;
        int level;
        const char* text;
    } cases[] = {{128001, 7, "CD Quality"},     {128000, 6, "CD Quality"}, {127999, 5, "Near CD"},
                 {96000, 5, "Near CD"},         {56000, 4, "FM Radio"},    {24000, 3, "AM Radio"},
                 {10000, 2, "Shortwave Radio"}, {9999, 1, "Telephone"}};
    for (const auto& c : cases) {
        EXPECT_EQ(QualityOfBitRate(c.bitRate).level, c.level) << c.bitRate;
        EXPECT_STREQ(QualityOfBitRate(c.bitRate).text, c.text) << c.bitRate;
    }
    EXPECT_EQ(ReceptionLamps(64000, 128000), 4);
    EXPECT_EQ(ReceptionLamps(128000, 128000), 8);
    EXPECT_EQ(ReceptionLamps(64000, 0), 0);
    // A gateway's wild values light no more than the meter has, and nothing below none.
    EXPECT_EQ(ReceptionLamps(0x7FFFFFFF, 1), CRadioNowPlayingPage::kMeterLamps);
    EXPECT_EQ(ReceptionLamps(-64000, 128000), 0);
}

TEST_F(RadioTest, AStatusWithFeatureBitsFillsThePage) {
    CRadioNowPlayingPage* radio = MakePage();
    StatusFields fields;
    fields.kind = 3001 | 0x40000000;
    radio->OnSourceMessage(Status(fields).get(), 1);
    EXPECT_EQ(Text(radio->GetStation()), "Station One");
    EXPECT_EQ(Text(radio->GetIncoming()), "64 kbps");
    EXPECT_EQ(Text(radio->GetFrequency()), "22050 Hz");
    EXPECT_EQ(Text(radio->GetQuality()), "128 kbps\n(CD Quality)");
    EXPECT_EQ(radio->GetQualityMeter()->GetValue(), 12);
    EXPECT_EQ(radio->GetReceptionMeter()->GetValue(), 4);
    EXPECT_EQ(radio->GetLevelBar()->GetLevel(), 40);

    // The music server's status and a cut one change nothing.
    fields.kind = 3000;
    fields.incoming = 128000;
    radio->OnSourceMessage(Status(fields).get(), 1);
    auto cut = std::make_unique<CZVMSG>(0, ZVM_AUDIO_GETSOURCESTATUSA);
    cut->WriteInt(3001);
    cut->WriteString(std::string("Cut"));
    cut->ResetPosition();
    radio->OnSourceMessage(cut.get(), 1);
    EXPECT_EQ(Text(radio->GetStation()), "Station One");
    EXPECT_EQ(radio->GetReceptionMeter()->GetValue(), 4);
}

TEST_F(RadioTest, AHiddenPageOnlyFeedsTheListener) {
    Connect();
    CAudioZonesPage* zones = OpenPage();
    Listener listener;
    zones->SetSourceListener(static_cast<CListenProgressListener*>(&listener));
    CRadioNowPlayingPage* radio = MakePage(zones);
    radio->Show(0, 1);
    StatusFields fields;
    fields.level = 70;
    radio->OnSourceMessage(Status(fields).get(), 1);
    ASSERT_EQ(listener.heard.size(), 1u);
    EXPECT_EQ(listener.heard[0].level, 70);
    EXPECT_EQ(listener.heard[0].text, "Buffer");
    EXPECT_EQ(listener.heard[0].fill, COLORREF{0xFF8000});
    EXPECT_EQ(radio->GetQualityMeter()->GetValue(), 0);
    EXPECT_EQ(Text(radio->GetStation()), "Station One");

    radio->Show(1, 1);
    radio->OnSourceMessage(Status(fields).get(), 1);
    EXPECT_EQ(listener.heard.size(), 1u);
    EXPECT_EQ(radio->GetQualityMeter()->GetValue(), 12);
    zones->SetSourceListener(nullptr);
}

TEST_F(RadioTest, PauseAndStopGoToTheGateway) {
    Connect();
    CRadioNowPlayingPage* radio = MakePage();
    radio->OnCommand(CRadioNowPlayingPage::kStop);
    radio->OnCommand(CRadioNowPlayingPage::kPause);
    std::vector<Bytes> sent;
    ASSERT_TRUE(PollUntil([&] {
        sent = gateway.PayloadsOf(ZVM_AUDIO_SOURCECOMMAND);
        return sent.size() == 2;
    }));
    EXPECT_EQ(sent[0], Bytes(PayloadWriter().Int(-1).Int(5006).Int(0).Int(0)));
    EXPECT_EQ(sent[1], Bytes(PayloadWriter().Int(-1).Int(5007).Int(0).Int(0)));
}

// The radio page within the window's subtree, or null.
CRadioNowPlayingPage* RadioPageIn(CZVWindow* window) {
    if (auto* radio = dynamic_cast<CRadioNowPlayingPage*>(window)) return radio;
    CRadioNowPlayingPage* found = nullptr;
    if (window)
        ForEachChild(window->GetChildren(), [&found](CZVWindow* child) {
            if (!found) found = RadioPageIn(child);
        });
    return found;
}

TEST_F(RadioTest, ThePatioPlaysItsInternetRadio) {
    ConnectToSampleHouse();
    CAudioZonesPage* zones = OpenPage();
    zones->OnCommand(4002);  // the Patio
    CRadioNowPlayingPage* radio = nullptr;
    ASSERT_TRUE(SettleUntil([&] {
        // Internet radio's Now Playing tab of the music source page.
        radio = RadioPageIn(zones->GetSourcePage());
        return radio && Text(radio->GetStation()) == samplegateway::kRadioStation;
    }));
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(radio), "radio_now_playing"));
}

}  // namespace
