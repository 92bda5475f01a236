#include "vistrel/media/phone/phonepage.h"

#include "vistrel/media/messaging/messagingsummary.h"
#include "vistrel/media/phone/answersettings.h"
#include "vistrel/media/phone/calllogpage.h"
#include "vistrel/media/phone/voicemailpage.h"

CPhonePage::CPhonePage(CZVWindow* parent, CZVRect rect, int styleClass, COLORREF backColour, int32_t mailbox,
                       CZVServer& server)
    : CTRRegion(parent, rect, styleClass, backColour), m_mailbox(mailbox), m_server(server) {
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Voice Mail", kVoiceMailTab, nullptr));
    descriptors.AddTail(new CTabDescriptor("Incoming Calls", kCallsTab, nullptr));
    descriptors.AddTail(new CTabDescriptor("Greeting", kGreetingTab, nullptr));
    SetTabCount(3, 0, &descriptors);
    GetTabs()->Select(0, 0);
    ShowTab(kVoiceMailTab, 0);
}

CPhonePage::~CPhonePage() { SetContent(nullptr, 0); }

int CPhonePage::OnCommand(int id) {
    ShowTab(id, 1);
    return id;
}

void CPhonePage::ShowTab(int command, int redraw) {
    if (command < kVoiceMailTab || command > kGreetingTab) return;
    CZVRect area;
    GetContentRect(&area);
    GetTabs()->Select(command - kVoiceMailTab, redraw);
    SetContent(MakeTabPage(command, area), redraw);
}

CZVWindow* CPhonePage::MakeTabPage(int command, CZVRect area) {
    switch (command) {
    case kVoiceMailTab: return new CVoiceMailPage(this, area, GetStyleClass(), m_mailbox, m_server);
    case kCallsTab: return new CCallLogPage(this, area, GetStyleClass(), m_server);
    case kGreetingTab: return new CAnswerSettingsPage(this, area, GetStyleClass(), m_mailbox, m_server);
    default: return nullptr;
    }
}

void CPhonePage::SetContent(CZVWindow* window, int redraw) {
    if (m_content) {
        RemoveChild(m_content);
        delete m_content;
    }
    m_content = window;
    if (!window) return;
    AddChild(window);
    if (redraw) window->RedrawBuffered();
}

void CPhonePage::GetAreaRect(CZVRect* out, CZVWindow* page, int area) {
    CZVRect client;
    page->GetClientRect(&client);
    CZVRect rest = client;
    CZVRect top = rest.CutTop(67, 2);
    const CZVRect volume = top.CutRight(150, 2);
    const CZVRect level = rest.CutTop(12, 2);
    switch (area) {
    case kInfoArea: *out = top; break;
    case kVolumeArea: *out = volume; break;
    case kLevelArea: *out = level; break;
    case kMainArea: *out = rest; break;
    default: *out = client; break;
    }
}

void ResubscribeMessaging(CZVWindow* window) {
    for (CZVWindow* w = window; w; w = w->GetParent()) {
        if (auto* page = dynamic_cast<CMessagingSummaryPage*>(w)) {
            page->Subscribe();
            return;
        }
    }
}
