// The whole tablet against the sample house: "Messages" opens on the
// answering machine's tab; the Email tab lists the box, a message with a
// picture opens with its body, and Check Now brings a new message while the
// opened one stays selected.
#include <gtest/gtest.h>

#include <string>

#include "core/messages/mediamessages.h"
#include "support/golden.h"
#include "vistrel/media/mediapages.h"
#include "vistrel/media/messaging/messageviewer.h"
#include "vistrel/media/messaging/messagingsummary.h"
#include "vistrel/media/phone/phonelists.h"
#include "vistrel/media/phone/phonepage.h"
#include "vistrel/media/phone/voicemailpage.h"
#include "vistrel/shell_fixture.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/lists/scrollpanel.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/tabs/tabbutton.h"

namespace {

class MessagingRun : public vistreltest::SampleHouseRun {
protected:
    MessagingRun() { RegisterMediaPages(); }
    ~MessagingRun() override { SetPageVariable(CMessagingSummaryPage::kTabVariable, 0); }

    // The phone tab with its voice mail listed.
    static bool VoiceMailShown(CMessagingSummaryPage* page) {
        auto* phone = dynamic_cast<CPhonePage*>(page->GetContent());
        auto* mail = phone ? dynamic_cast<CVoiceMailPage*>(phone->GetContent()) : nullptr;
        return mail && mail->GetList()->GetCount() > 0;
    }
    static bool PictureShown(CMessageViewerCtl* viewer) {
        CScrollPanel* body = viewer ? viewer->GetBody() : nullptr;
        if (!body) return false;
        for (ZVPOSITION pos = body->GetChildren().GetHeadPosition(); pos;)
            if (dynamic_cast<CDibWnd*>(static_cast<CZVWindow*>(body->GetChildren().GetNext(pos)))) return true;
        return false;
    }
    void TouchRow(CMessageList* list, int row) {
        CZVRect cell;
        list->GetItemRectAt(&cell, row);
        clock.Advance(1000);
        const int x = list->ToRootX(cell.x + cell.w / 2), y = list->ToRootY(cell.y + cell.h / 2);
        list->OnLButtonDown(x, y, 0);
        list->OnLButtonUp(x, y, 0);
    }
};

TEST_F(MessagingRun, OpensTheMessagesTabsAndAMessageWithItsPicture) {
    enum Step {
        kWaitForHome,
        kWaitForPhone,
        kPressEmail,
        kWaitForEmail,
        kOpenMessage,
        kWaitForBody,
        kCheckNow,
        kWaitForNewMessage,
        kDone
    } step = kWaitForHome;
    testsupport::Image565 phone, email, opened, checked;
    std::string openedSubject, keptSubject;
    CMessagingSummaryPage* page = nullptr;
    CMessageViewerCtl* viewer = nullptr;
    vistreltest::TestHost host(environment.Folder(), 800, 600, [&](CMainWnd& window, CZVServer& server, int pass) {
        const bool answered = AnsweredAndStill(window, server, "Messages");
        switch (step) {
        case kWaitForHome:
            if (TouchEntryWhenAnswered(window, server, "Messages")) step = kWaitForPhone;
            break;
        case kWaitForPhone:
            page = dynamic_cast<CMessagingSummaryPage*>(window.GetCurrentPage());
            if (!page || !VoiceMailShown(page) || !answered) break;
            phone = Picture(window, host);
            step = kPressEmail;
            break;
        case kPressEmail: {
            CZVButton* tab = TabNamed(dynamic_cast<CTabContainer*>(page->GetTabControl()), "Email");
            if (!tab) return true;
            Touch(tab);
            step = kWaitForEmail;
            break;
        }
        case kWaitForEmail:
            viewer = dynamic_cast<CMessageViewerCtl*>(page->GetContent());
            if (!viewer || viewer->GetList()->GetCount() != 8 || !answered) break;
            email = Picture(window, host);
            step = kOpenMessage;
            break;
        case kOpenMessage:
            TouchRow(viewer->GetList(), 1);
            step = kWaitForBody;
            break;
        case kWaitForBody:
            if (!PictureShown(viewer) || !answered) break;
            opened = Picture(window, host);
            openedSubject = viewer->GetList()->GetKey(viewer->GetList()->GetSelectedIndex()).subject;
            step = kCheckNow;
            break;
        case kCheckNow:
            Touch(viewer->GetCheckNowButton());
            step = kWaitForNewMessage;
            break;
        case kWaitForNewMessage:
            if (viewer->GetList()->GetCount() != 9 || !PictureShown(viewer) || !answered) break;
            checked = Picture(window, host);
            keptSubject = viewer->GetList()->GetKey(viewer->GetList()->GetSelectedIndex()).subject;
            step = kDone;
            break;
        case kDone: break;
        }
        return step == kDone || pass == 3000;
    });
    EXPECT_EQ(TabletMain(Arguments(), host), 0);
    ASSERT_EQ(step, kDone);
    EXPECT_TRUE(GatewaySaw(ZVM_MESSAGES_SUBSCRIBEQ));
    EXPECT_EQ(openedSubject, "Your booking");
    EXPECT_EQ(keptSubject, "Your booking");
    EXPECT_TRUE(testsupport::MatchesGolden(phone, "vistrel_messages_phone"));
    EXPECT_TRUE(testsupport::MatchesGolden(email, "vistrel_messages_email"));
    EXPECT_TRUE(testsupport::MatchesGolden(opened, "vistrel_messages_opened"));
    EXPECT_TRUE(testsupport::MatchesGolden(checked, "vistrel_messages_checked"));
}

}  // namespace
