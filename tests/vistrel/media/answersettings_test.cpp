// The Greeting tab against the sample house's answering machine: the rings
// both ways, the layouts of the mailboxes, the upload of a recording, its
// failures, playing the greeting to its end, and notices under the screen
// saver.
#include "vistrel/media/phone/answersettings.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "phone_page_fixture.h"
#include "support/golden.h"
#include "vistrel/media/phone/phoneaudio.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Bytes;
using testsupport::Frame;
using testsupport::PayloadWriter;

class Greeting : public phonetest::PhonePageTest {
protected:
    CAnswerSettingsPage* OpenGreeting(int32_t mailbox = 0) { return gp = Open<CAnswerSettingsPage>(mailbox); }
    std::string Line(int line) { return gp->GetInfoLine(line)->GetText().GetAnsi(); }
    // The bytes of every data message the gateway took, in order.
    static Bytes DataBytes(const std::vector<Frame>& data) {
        Bytes all;
        for (const Frame& f : data) {
            testsupport::PayloadReader in(f.payload);
            int32_t box = 0, length = 0;
            if (!in.Int(&box) || !in.Int(&length)) continue;
            Bytes bytes(static_cast<size_t>(length));
            if (in.Raw(bytes.data(), bytes.size())) all.insert(all.end(), bytes.begin(), bytes.end());
        }
        return all;
    }

    CAnswerSettingsPage* gp = nullptr;
};

TEST_F(Greeting, RingsMapToTheirOptionsAndBack) {
    const struct {
        int32_t rings;
        int option;
    } cases[] = {{1, 0}, {3, 2}, {6, 5}, {24, 6}, {99, 7}, {7, -1}, {0, -1}, {-3, -1}};
    for (const auto& c : cases) {
        EXPECT_EQ(CAnswerSettingsPage::RingsOption(c.rings), c.option) << c.rings;
        if (c.option != -1) EXPECT_EQ(CAnswerSettingsPage::OptionRings(c.option), c.rings) << c.option;
    }
}

TEST_F(Greeting, TheGatewaysRingsAreShownAndAChosenOptionIsSent) {
    for (const auto& [rings, shown] : std::vector<std::pair<int32_t, int>>{{24, 6}, {7, -1}}) {
        gateway.Answer(ZVM_PHONE_GETRINGSQ, PayloadWriter().Int(rings));
        OpenGreeting();
        EXPECT_EQ(gp->GetRingsChoice()->GetSelection(), shown) << rings;
        Close();
    }
    OpenGreeting();
    for (const auto& [option, sent] : std::vector<std::pair<int, int32_t>>{{7, 99}, {2, 3}, {6, 24}}) {
        gp->GetRingsChoice()->OnCommand(CZVRadio::kFirstOptionId + option);
        EXPECT_EQ(gp->GetRingsChoice()->GetSelection(), option);
        EXPECT_EQ(IntAt(Sent(ZVM_PHONE_SETRINGSQ).back(), 0), sent) << option;
    }
}

TEST_F(Greeting, OnlyMailboxesZeroAndOneHaveRingsAndScreening) {
    for (int32_t mailbox : {0, 1, 2, -1}) {
        OpenGreeting(mailbox);
        const bool answering = mailbox == 0 || mailbox == 1;
        EXPECT_EQ(gp->GetRingsChoice() != nullptr, answering) << mailbox;
        EXPECT_EQ(gp->GetScreenCalls() != nullptr, answering) << mailbox;
        EXPECT_NE(gp->GetLevelBar(), nullptr);
        EXPECT_EQ(Line(0), "Default Greeting");
        // Enter plays, and stops what plays.
        gp->OnKeyDown(13, 0);
        EXPECT_EQ(gp->GetState(), CAnswerSettingsPage::kPlaying) << mailbox;
        EXPECT_EQ(IntAt(Sent(ZVM_PHONE_PLAYGREETINGQ).back(), 1), mailbox);
        gp->OnKeyDown(13, 0);
        EXPECT_EQ(gp->GetState(), 0) << mailbox;
        Close();
    }
}

TEST_F(Greeting, TwoSecondsAreSentAsFiftyPiecesAndTheBarReaches98BeforeTheEnd) {
    CAStream stream;
    stream.GetFormat() = RecordingFormat();
    const std::vector<uint8_t> piece(882, 0x11);
    for (int i = 0; i < 50; ++i) stream.AddCopy(piece.data(), static_cast<int32_t>(piece.size()));
    ASSERT_DOUBLE_EQ(stream.GetTotalSeconds(), 2.0);
    std::vector<int> levels;
    std::vector<size_t> endsSeen;
    UploadSteps steps;
    steps.progress = [&](int percent) {
        levels.push_back(percent);
        endsSeen.push_back(Sent(ZVM_PHONE_GREETINGENDQ).size());
    };
    EXPECT_EQ(UploadRecording(server, {ZVM_PHONE_GREETINGBEGINQ, ZVM_PHONE_GREETINGDATAQ, ZVM_PHONE_GREETINGENDQ}, 0,
                              stream, steps),
              UploadResult::kSaved);
    ASSERT_EQ(levels.size(), 50u);
    EXPECT_EQ(levels.back(), 98);
    EXPECT_EQ(endsSeen.back(), 0u);
    EXPECT_EQ(Sent(ZVM_PHONE_GREETINGBEGINQ).size(), 1u);
    const std::vector<Frame> data = Sent(ZVM_PHONE_GREETINGDATAQ);
    ASSERT_EQ(data.size(), 50u);
    for (const Frame& f : data) EXPECT_EQ(IntAt(f, 1), 882);
    EXPECT_EQ(Sent(ZVM_PHONE_GREETINGENDQ).size(), 1u);
}

TEST_F(Greeting, TheRecordedSamplesAreTheUploadedBytes) {
    backend.SetInputSignal([](uint64_t i) { return static_cast<int16_t>(i * 37 % 20000 - 10000); });
    OpenGreeting();
    gp->OnCommand(CAnswerSettingsPage::kRecord);
    EXPECT_EQ(gp->GetTimerInterval(), CAnswerSettingsPage::kRecordingInterval);
    Record(gp->GetRecording(), 2000);
    gp->OnTimer();
    EXPECT_EQ(Line(0), "Recording...");
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(gp), "greeting_recording"));
    gp->OnCommand(CAnswerSettingsPage::kStop);
    const Bytes uploaded = DataBytes(Sent(ZVM_PHONE_GREETINGDATAQ));
    ASSERT_GE(uploaded.size(), 2u * 11025);
    for (size_t i = 0; i < uploaded.size() / 2; ++i) {
        const auto sample = static_cast<int16_t>(uploaded[2 * i] | (uploaded[2 * i + 1] << 8));
        ASSERT_EQ(sample, static_cast<int16_t>(i * 37 % 20000 - 10000)) << i;
    }
    EXPECT_EQ(Sent(ZVM_PHONE_GREETINGENDQ).size(), 1u);
    EXPECT_EQ(gp->GetTimerInterval(), CAnswerSettingsPage::kIdleInterval);
    // The house now has the recording as its custom greeting.
    ASSERT_TRUE(PollUntil([&] { return Settle(); }));
    gp->OnTimer();
    EXPECT_EQ(Line(0), "Custom Greeting");
    EXPECT_TRUE(gp->GetUseDefaultButton()->IsEnabled());
}

TEST_F(Greeting, AnUnansweredPieceStopsTheUploadWithoutTheEnd) {
    int data = 0;
    gateway.On(ZVM_PHONE_GREETINGDATAQ, [&data](const Frame& request) {
        if (++data == 4) return std::vector<Frame>{};
        return std::vector<Frame>{{request.sender, ZVM_PHONE_GREETINGDATAQ + 1, PayloadWriter().Int(1)}};
    });
    OpenGreeting();
    gp->OnCommand(CAnswerSettingsPage::kRecord);
    Record(gp->GetRecording(), 1000);
    gp->OnCommand(CAnswerSettingsPage::kStop);
    EXPECT_EQ(Sent(ZVM_PHONE_GREETINGDATAQ).size(), 4u);
    EXPECT_TRUE(Sent(ZVM_PHONE_GREETINGENDQ).empty());
    EXPECT_TRUE(gp->GetRecording()->IsEmpty());
    EXPECT_EQ(gp->GetState(), 0);
}

TEST_F(Greeting, StopSoonAfterRecordSendsNothing) {
    OpenGreeting();
    gp->OnCommand(CAnswerSettingsPage::kRecord);
    Record(gp->GetRecording(), 300);
    gp->OnCommand(CAnswerSettingsPage::kStop);
    EXPECT_TRUE(Sent(ZVM_PHONE_GREETINGBEGINQ).empty());
    EXPECT_TRUE(Sent(ZVM_PHONE_GREETINGDATAQ).empty());
    EXPECT_EQ(gp->GetState(), 0);
}

TEST_F(Greeting, TheGreetingEndsWithinATickOfThePlayerDraining) {
    OpenGreeting();
    gp->OnCommand(CAnswerSettingsPage::kPlay);
    EXPECT_DOUBLE_EQ(gp->GetGreetingLength(), 3.0);
    EXPECT_FALSE(gp->GetPlayButton()->IsEnabled());
    PaceAll();
    ASSERT_TRUE(Drain());
    EXPECT_FALSE(backend.Played().empty());
    gp->OnTimer();
    EXPECT_EQ(gp->GetState(), 0);
    EXPECT_TRUE(gp->GetPlayButton()->IsEnabled());
}

TEST_F(Greeting, AFormatWithoutAByteRateHasNoLengthAndPlaysNothing) {
    PayloadWriter answer;
    answer.Short(1).Short(1).Int(11025).Int(0).Short(2).Short(16).Short(0).Short(0).Int(44100);
    gateway.Answer(ZVM_PHONE_PLAYGREETINGQ, answer);
    OpenGreeting();
    gp->OnCommand(CAnswerSettingsPage::kPlay);
    EXPECT_EQ(gp->GetGreetingLength(), 0.0);
    EXPECT_FALSE(player.IsOutputOpen());
    gp->OnTimer();
    EXPECT_EQ(gp->GetState(), 0);
}

TEST_F(Greeting, AFailedScreeningQueryDisablesTheCheckAndSendsNothing) {
    gateway.On(ZVM_PHONE_GETSCREENCALLSQ, [](const Frame&) { return std::vector<Frame>{}; });
    OpenGreeting();
    EXPECT_FALSE(gp->GetScreenCalls()->IsEnabled());
    gp->GetScreenCalls()->OnCommand(CZVRadio::kFirstOptionId);
    EXPECT_TRUE(Sent(ZVM_PHONE_SETSCREENCALLSQ).empty());
    EXPECT_FALSE(gp->GetScreenCalls()->IsEnabled());
}

TEST_F(Greeting, ScreeningTogglesAtTheGateway) {
    OpenGreeting();
    EXPECT_EQ(gp->GetScreenCalls()->GetSelection(), -1);
    gp->GetScreenCalls()->OnCommand(CZVRadio::kFirstOptionId);
    EXPECT_EQ(IntAt(Sent(ZVM_PHONE_SETSCREENCALLSQ).back(), 0), 1);
    EXPECT_EQ(gp->GetScreenCalls()->GetSelection(), 0);
    gp->GetScreenCalls()->OnCommand(CZVRadio::kFirstOptionId);
    EXPECT_EQ(IntAt(Sent(ZVM_PHONE_SETSCREENCALLSQ).back(), 0), 0);
    EXPECT_EQ(gp->GetScreenCalls()->GetSelection(), -1);
}

TEST_F(Greeting, ANoticeUnderTheScreenSaverOnlyAsksForTheMenuReload) {
    OpenGreeting();
    const size_t asked = Sent(ZVM_PHONE_GETRINGSQ).size();
    window->SetModal(1);
    gateway.Push(ZVM_PHONE_GREETINGCHANGED, {});
    ASSERT_TRUE(PollUntil([&] { return window->IsMenuReloadPending() != 0; }));
    window->SetModal(0);
    gp->OnTimer();
    EXPECT_EQ(Sent(ZVM_PHONE_GETRINGSQ).size(), asked);
    // Awake, the same notice reloads the page.
    gateway.Push(ZVM_PHONE_GREETINGCHANGED, {});
    ASSERT_TRUE(PollUntil([&] { return Settle(); }));
    gp->OnTimer();
    EXPECT_EQ(Sent(ZVM_PHONE_GETRINGSQ).size(), asked + 1);
}

}  // namespace
