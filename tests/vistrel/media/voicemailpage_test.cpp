// The Voice Mail tab against the sample house's mailbox: Play All's order,
// rewinding, deleting, Mark New, the empty list, the selection held while a
// message plays, leaving the tab, a reload while playing, a caller shown
// until the call ends, and an upload the gateway cuts short.
#include "vistrel/media/phone/voicemailpage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages/mediamessages.h"
#include "phone_fixture.h"
#include "phone_page_fixture.h"
#include "support/golden.h"
#include "vistrel/media/phone/phonelists.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/text/zvlabel.h"

namespace {

using testsupport::Frame;
using testsupport::PayloadWriter;
using State = CVoiceMailPage::State;

// The sample mailbox, top row first: three new messages over two old ones.
constexpr int32_t kRowIds[] = {105, 104, 103, 102, 101};

class VoiceMail : public phonetest::PhonePageTest {
protected:
    CVoiceMailPage* OpenMail() { return vm = Open<CVoiceMailPage>(0); }
    std::string Line(int line) { return vm->GetInfoLine(line)->GetText().GetAnsi(); }
    void Touch(int row) {
        vm->GetList()->SelectIndex(row, 0);
        vm->OnCommand(CVoiceMailPage::kListChanged);
    }
    // The message ids asked to play, and 0 for each separator, in order.
    std::vector<int32_t> Played() {
        EXPECT_TRUE(Settle());
        std::vector<int32_t> played;
        for (const Frame& f : gateway.Requests()) {
            if (f.id == ZVM_PHONE_PLAYVOICEMAILQ) played.push_back(IntAt(f, 1));
            if (f.id == ZVM_PHONE_PLAYQ) played.push_back(0);
        }
        return played;
    }
    bool Enabled(int command) { return vm->GetButton(command)->IsEnabled() != 0; }
    // Plays out what the house streams now, then gives the page its tick.
    void PlayOut() {
        PaceAll();
        ASSERT_TRUE(Drain());
        vm->OnTimer();
    }

    CVoiceMailPage* vm = nullptr;
};

TEST_F(VoiceMail, PlayAllPlaysTheNewMessagesBottomUpWithTheSeparatorBetween) {
    OpenMail();
    EXPECT_EQ(Line(0), "3 New Messages");
    EXPECT_EQ(Line(1), "2 Old Messages");
    vm->OnCommand(CVoiceMailPage::kPlayAll);
    EXPECT_EQ(vm->GetCurrent(), 2);
    EXPECT_EQ(vm->GetState(), State::kPlayingAll);
    EXPECT_EQ(Line(0), "Ann Lee (555-0101)");
    for (int step = 0; step < 5; ++step) PlayOut();
    EXPECT_EQ(Played(), (std::vector<int32_t>{103, 0, 104, 0, 105}));
    EXPECT_EQ(vm->GetState(), 0);
    EXPECT_FALSE(backend.Played().empty());
}

TEST_F(VoiceMail, WithoutNewMessagesPlayAllWalksTheOldOnes) {
    gateway.Answer(ZVM_PHONE_GETVOICEMAILSQ,
                   phonetest::Entries({{101, 3, 1, 9, 0, 1, "1", "A", 0x2}, {102, 3, 2, 9, 0, 1, "2", "B", 0x2}}));
    OpenMail();
    vm->OnCommand(CVoiceMailPage::kPlayAll);
    EXPECT_EQ(vm->GetPlayType(), CVoiceMailList::kOld);
    for (int step = 0; step < 3; ++step) PlayOut();
    EXPECT_EQ(Played(), (std::vector<int32_t>{101, 0, 102}));
    EXPECT_EQ(vm->GetState(), 0);
}

TEST_F(VoiceMail, RewindingFromSixtyPercentForHalfASecondRestartsAtForty) {
    OpenMail();
    Touch(1);
    vm->OnCommand(CVoiceMailPage::kPlay);
    vm->GetProgressBar()->SetLevel(60, 0);
    vm->OnCommand(CVoiceMailPage::kRewindPress);
    EXPECT_EQ(vm->GetState(), State::kPlayingOne | State::kRewinding);
    for (int tick = 0; tick < 5; ++tick) vm->OnTimer();
    EXPECT_EQ(vm->GetProgressBar()->GetLevel(), 40);
    vm->OnCommand(CVoiceMailPage::kRewindRelease);
    const std::vector<Frame> asked = Sent(ZVM_PHONE_PLAYVOICEMAILQ);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(IntAt(asked[1], 1), 104);
    EXPECT_EQ(IntAt(asked[1], 2), 40);
    EXPECT_EQ(vm->GetStartPercent(), 40);
    EXPECT_EQ(vm->GetProgressBar()->GetLevel(), 40);
}

TEST_F(VoiceMail, DeletingMakesThePreviousRowCurrentAndWaitsForTheGateway) {
    const struct {
        int row;
        int current;
    } cases[] = {{3, 2}, {1, 0}, {0, -1}};
    for (const auto& c : cases) {
        OpenMail();
        Touch(c.row);
        vm->OnCommand(CVoiceMailPage::kDelete);
        EXPECT_EQ(vm->GetCurrent(), c.current) << c.row;
        EXPECT_EQ(IntAt(Sent(ZVM_PHONE_DELETEVOICEMAILQ).back(), 0), kRowIds[c.row]);
        // The house confirms with a state change, which reloads the list.
        ASSERT_TRUE(PollUntil([&] { return (vm->GetState() & State::kDeleting) == 0; }));
        vm->OnTimer();
        EXPECT_EQ(vm->GetList()->GetCount(), 4) << c.row;
        Close();
        samplegateway::Serve(gateway.Engine(), testsupport::SampleHouse());
    }
}

TEST_F(VoiceMail, ADeleteTheGatewayRefusesOrNeverConfirmsDoesNotFreezeThePage) {
    gateway.On(ZVM_PHONE_DELETEVOICEMAILQ, [](const Frame&) { return std::vector<Frame>{}; });
    OpenMail();
    Touch(1);
    vm->OnCommand(CVoiceMailPage::kDelete);
    EXPECT_EQ(vm->GetState() & State::kDeleting, 0);
    // Acknowledged, but no state change follows: five seconds at most.
    gateway.Answer(ZVM_PHONE_DELETEVOICEMAILQ, PayloadWriter().Int(1));
    vm->OnCommand(CVoiceMailPage::kDelete);
    EXPECT_NE(vm->GetState() & State::kDeleting, 0);
    clock.Advance(CVoiceMailPage::kDeleteWait);
    vm->OnTimer();
    EXPECT_EQ(vm->GetState() & State::kDeleting, 0);
    EXPECT_EQ(Line(0), "3 New Messages");
}

TEST_F(VoiceMail, MarkNewMovesAnOldMessageToTheNewCount) {
    OpenMail();
    Touch(3);
    EXPECT_TRUE(Enabled(CVoiceMailPage::kMarkNew));
    vm->OnCommand(CVoiceMailPage::kMarkNew);
    EXPECT_EQ(vm->GetList()->GetRow(3)->GetText(CVoiceMailList::kStatusColumn).Compare("New"), 0);
    EXPECT_EQ(vm->GetList()->GetNewCount(), 4);
    EXPECT_EQ(vm->GetList()->GetOldCount(), 1);
    EXPECT_EQ(Line(0), "4 New Messages");
    EXPECT_EQ(Line(1), "1 Old Message");
    EXPECT_FALSE(Enabled(CVoiceMailPage::kMarkNew));
    EXPECT_EQ(IntAt(Sent(ZVM_PHONE_MARKNEWQ).back(), 0), 102);
}

TEST_F(VoiceMail, AnEmptyMailboxLeavesOnlyRecordMessage) {
    gateway.Answer(ZVM_PHONE_GETVOICEMAILSQ, PayloadWriter().Int(0));
    OpenMail();
    EXPECT_EQ(Line(0), "No New Messages");
    EXPECT_EQ(Line(1), "No Old Messages");
    for (int command : {CVoiceMailPage::kUp, CVoiceMailPage::kDown, CVoiceMailPage::kPlay, CVoiceMailPage::kPlayAll,
                        CVoiceMailPage::kStop, CVoiceMailPage::kDelete, CVoiceMailPage::kRewind,
                        CVoiceMailPage::kMarkNew, CVoiceMailPage::kRecord, CVoiceMailPage::kStopRecording})
        EXPECT_EQ(Enabled(command), command == CVoiceMailPage::kRecord) << command;
}

TEST_F(VoiceMail, WhileAMessagePlaysTheSelectionSnapsBack) {
    OpenMail();
    Touch(1);
    vm->OnCommand(CVoiceMailPage::kPlay);
    Touch(3);
    EXPECT_EQ(vm->GetList()->GetSelectedIndex(), 1);
    EXPECT_EQ(vm->GetCurrent(), 1);
    Pace(800);  // 21 chunks of 882 bytes
    ASSERT_TRUE(PollUntil([&] {
        player.Poll();
        return player.GetBytesPlayed() == 21 * 882;
    }));
    vm->OnTimer();
    ASSERT_TRUE(Settle());
    EXPECT_TRUE(testsupport::MatchesGolden(PictureOf(vm), "voicemail_playing"));
}

TEST_F(VoiceMail, AReloadWhilePlayingGoesOnFromThePercentReached) {
    OpenMail();
    Touch(2);
    vm->OnCommand(CVoiceMailPage::kPlay);
    Pace(1000);  // half of the two-second message
    ASSERT_TRUE(PollUntil([&] {
        player.Poll();
        return player.GetBytesPlayed() >= 20000;
    }));
    gateway.Push(ZVM_PHONE_STATECHANGED, {});
    ASSERT_TRUE(PollUntil([&] { return Settle(); }));
    vm->OnTimer();
    const std::vector<Frame> asked = Sent(ZVM_PHONE_PLAYVOICEMAILQ);
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(IntAt(asked[1], 1), 103);
    EXPECT_GE(IntAt(asked[1], 2), 45);
    EXPECT_LE(IntAt(asked[1], 2), 60);
}

TEST_F(VoiceMail, LeavingTheTabStopsEverythingAndStartsNothing) {
    enum What { kPlaying, kRecording, kLive };
    for (What what : {kPlaying, kRecording, kLive}) {
        if (what == kLive) {
            PayloadWriter live;
            live.Int(1).Short(1).Short(1).Int(11025).Int(22050).Short(2).Short(16).Short(0).Short(0);
            gateway.Answer(ZVM_PHONE_LISTENLIVEQ, live);
        }
        OpenMail();
        if (what == kPlaying) vm->OnCommand(CVoiceMailPage::kPlay);
        if (what == kRecording) {
            vm->OnCommand(CVoiceMailPage::kRecord);
            Record(vm->GetRecording(), 1000);
        }
        ASSERT_NE(vm->GetState(), 0) << what;
        const size_t listens = Sent(ZVM_PHONE_LISTENLIVEQ).size();
        const size_t stops = Sent(ZVM_PHONE_STOPPLAYQ).size();
        vm->Show(0, 1);
        EXPECT_EQ(vm->GetState(), 0) << what;
        EXPECT_EQ(Sent(ZVM_PHONE_LISTENLIVEQ).size(), listens) << what;
        EXPECT_EQ(Sent(ZVM_PHONE_STOPPLAYQ).size(), stops + (what == kLive ? 1 : 0)) << what;
        EXPECT_TRUE(Sent(ZVM_PHONE_RECORDBEGINQ).empty()) << what;
        EXPECT_FALSE(player.IsInputOpen()) << what;
        if (vm->GetRecording()) EXPECT_TRUE(vm->GetRecording()->IsEmpty()) << what;
        Close();
    }
}

TEST_F(VoiceMail, ACallersNameShowsUntilTheCallEndsWithoutAReload) {
    OpenMail();
    PayloadWriter format;
    format.Int(0).Short(1).Short(1).Int(8000).Int(16000).Short(2).Short(16).Short(0).Short(0);
    gateway.Push(ZVM_PHONE_CALLERID, PayloadWriter().String("555-0199").String("Dee"), vm->GetId());
    gateway.Push(ZVM_PHONE_CALLAUDIO, format, vm->GetId());
    ASSERT_TRUE(PollUntil([&] { return vm->GetState() == (State::kCallerShown | State::kCallAudio); }));
    EXPECT_EQ(Line(0), "Incoming call:");
    EXPECT_EQ(Line(1), "Dee (555-0199)");
    const size_t reloads = Sent(ZVM_PHONE_GETVOICEMAILSQ).size();
    gateway.Push(ZVM_PHONE_CALLENDED, PayloadWriter().Int(0), vm->GetId());
    ASSERT_TRUE(PollUntil([&] { return vm->GetState() == 0; }));
    EXPECT_EQ(Line(0), "3 New Messages");
    vm->OnTimer();
    EXPECT_EQ(Sent(ZVM_PHONE_GETVOICEMAILSQ).size(), reloads);
}

TEST_F(VoiceMail, AnUploadTheGatewayCutsShortIsNotEndedAndSaysSo) {
    int data = 0;
    gateway.On(ZVM_PHONE_RECORDDATAQ, [&data](const Frame& request) {
        if (++data == 3) return std::vector<Frame>{};
        return std::vector<Frame>{{request.sender, ZVM_PHONE_RECORDDATAQ + 1, PayloadWriter().Int(1)}};
    });
    OpenMail();
    vm->OnCommand(CVoiceMailPage::kRecord);
    EXPECT_EQ(Line(0), "Recording...");
    Record(vm->GetRecording(), 1000);
    ASSERT_GT(vm->GetRecording()->GetTotalSeconds(), CVoiceMailPage::kShortestMessage);
    vm->OnCommand(CVoiceMailPage::kStopRecording);
    EXPECT_EQ(Sent(ZVM_PHONE_RECORDBEGINQ).size(), 1u);
    EXPECT_EQ(Sent(ZVM_PHONE_RECORDDATAQ).size(), 3u);
    EXPECT_TRUE(Sent(ZVM_PHONE_RECORDENDQ).empty());
    EXPECT_EQ(Line(1), "Message not saved");
    EXPECT_EQ(vm->GetState(), 0);
}

}  // namespace
