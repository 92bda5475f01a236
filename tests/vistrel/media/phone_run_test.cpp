// The whole tablet against the sample house's answering machine: Messages
// opens on Voice Mail, Play All plays the new messages into the sound
// system, the Greeting tab records two seconds from the microphone, uploads
// them and plays them back, and Incoming Calls shows the caller of a call
// the house puts through.
#include <gtest/gtest.h>

#include "core/messages/mediamessages.h"
#include "samplegateway/phone.h"
#include "support/golden.h"
#include "support/null_wave.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/messaging/messagingsummary.h"
#include "vistrel/media/phone/answersettings.h"
#include "vistrel/media/phone/calllogpage.h"
#include "vistrel/media/phone/phonelists.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/media/phone/voicemailpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/tabs/tabbutton.h"

namespace {

constexpr uint32_t kStepMs = 40;  // one chunk of the house's streams, one input buffer

class PhoneRun : public vistreltest::SampleHouseRun {
protected:
    PhoneRun() { RegisterMediaPages(); }
    ~PhoneRun() override { SetPageVariable(CMessagingSummaryPage::kTabVariable, 0); }

    template <class Page>
    static Page* Shown(CMainWnd& window) {
        auto* summary = dynamic_cast<CMessagingSummaryPage*>(window.GetCurrentPage());
        auto* phone = summary ? dynamic_cast<CPhonePage*>(summary->GetContent()) : nullptr;
        return phone ? dynamic_cast<Page*>(phone->GetContent()) : nullptr;
    }
    static CPhonePage* Phone(CMainWnd& window) {
        auto* summary = dynamic_cast<CMessagingSummaryPage*>(window.GetCurrentPage());
        return summary ? dynamic_cast<CPhonePage*>(summary->GetContent()) : nullptr;
    }
    // The clock moves a step and the house sends what is due by then.
    void Pace() {
        clock.Advance(kStepMs);
        RunPacer();
    }

    testsupport::NullWaveBackend backend;
};

TEST_F(PhoneRun, PlaysTheVoiceMailRecordsAGreetingAndShowsACaller) {
    enum Step {
        kWaitForHome,
        kWaitForVoiceMail,
        kPlayAll,
        kWaitForPlayAll,
        kPressGreeting,
        kWaitForGreeting,
        kRecord,
        kWaitForRecording,
        kWaitForUpload,
        kPlayBack,
        kWaitForPlayBack,
        kPressCalls,
        kWaitForCalls,
        kWaitForCaller,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 voiceMail, greeting, caller;
    size_t playedByVoiceMail = 0;
    bool rang = false;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = vistreltest::AnswersIn(gateway, server);
        auto* mail = Shown<CVoiceMailPage>(window);
        auto* settings = Shown<CAnswerSettingsPage>(window);
        auto* calls = Shown<CCallLogPage>(window);
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Messages")) step = kWaitForVoiceMail;
            break;
        case kWaitForVoiceMail:
            if (!mail || mail->GetList()->GetCount() != 5 || !answered) break;
            voiceMail = Picture(window, host);
            step = kPlayAll;
            break;
        case kPlayAll:
            Touch(mail->GetButton(CVoiceMailPage::kPlayAll));
            step = kWaitForPlayAll;
            break;
        case kWaitForPlayAll:
            if (!answered) break;
            if (mail->GetState() != 0) {
                Pace();
                break;
            }
            playedByVoiceMail = backend.Played().size();
            step = kPressGreeting;
            break;
        case kPressGreeting:
            Touch(TabNamed(Phone(window)->GetTabs(), "Greeting"));
            step = kWaitForGreeting;
            break;
        case kWaitForGreeting:
            if (settings && answered && settings->GetPlayButton()->IsEnabled()) step = kRecord;
            break;
        case kRecord:
            Touch(settings->GetRecordButton());
            step = kWaitForRecording;
            break;
        case kWaitForRecording:
            if (!answered) break;
            if (settings->GetRecording()->GetTotalSeconds() < 2.0) {
                clock.Advance(kStepMs);
                break;
            }
            Touch(settings->GetStopButton());
            step = kWaitForUpload;
            break;
        case kWaitForUpload:
            // The house tells of the new greeting; the next tick shows it.
            if (!answered || settings->GetUseDefaultButton()->IsEnabled() == 0) {
                clock.Advance(kStepMs);
                break;
            }
            greeting = Picture(window, host);
            step = kPlayBack;
            break;
        case kPlayBack:
            backend.ClearPlayed();
            Touch(settings->GetPlayButton());
            step = kWaitForPlayBack;
            break;
        case kWaitForPlayBack:
            if (!answered) break;
            if (settings->GetState() != 0) {
                Pace();
                break;
            }
            step = kPressCalls;
            break;
        case kPressCalls:
            Touch(TabNamed(Phone(window)->GetTabs(), "Incoming Calls"));
            step = kWaitForCalls;
            break;
        case kWaitForCalls:
            if (!calls || calls->GetList()->GetCount() != 6 || !answered) break;
            rang = samplegateway::RingPhone(gateway.Engine());
            step = kWaitForCaller;
            break;
        case kWaitForCaller:
            if (!calls) return true;
            if (!(calls->GetState() & CCallLogPage::kCallerShown) || !answered) break;
            caller = Picture(window, host);
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 20000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(rang);
    EXPECT_EQ(RequestsOf(ZVM_PHONE_PLAYVOICEMAILQ), 3u);
    EXPECT_EQ(RequestsOf(ZVM_PHONE_PLAYQ), 2u);
    EXPECT_GT(playedByVoiceMail, 0u);
    EXPECT_EQ(RequestsOf(ZVM_PHONE_GREETINGENDQ), 1u);
    EXPECT_GE(RequestsOf(ZVM_PHONE_GREETINGDATAQ), 50u);
    EXPECT_FALSE(backend.Played().empty());  // the recording, played back
    EXPECT_TRUE(testsupport::MatchesGolden(voiceMail, "vistrel_phone_voicemail"));
    EXPECT_TRUE(testsupport::MatchesGolden(greeting, "vistrel_phone_greeting"));
    EXPECT_TRUE(testsupport::MatchesGolden(caller, "vistrel_phone_caller"));
}

}  // namespace
