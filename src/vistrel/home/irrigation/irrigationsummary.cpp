#include "vistrel/home/irrigation/irrigationsummary.h"

#include <algorithm>
#include <cstdio>

#include "core/messages/irrigationmessages.h"
#include "core/zvquery.h"
#include "vistrel/home/irrigation/irgroupwnd.h"
#include "vistrel/home/irrigation/irrigationsystem.h"
#include "vistrel/shell/mainwnd.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/buttons/zvradio.h"
#include "widgets/regions/rregion.h"
#include "widgets/tabs/tabbutton.h"
#include "widgets/text/zvlabel.h"

namespace {

constexpr int kRowHeight = 50;
constexpr int kRowInset = 2;
constexpr int kCaptionWidth = 150;
constexpr int kCaptionGap = 5;
constexpr int kCaptionFont = 22;
constexpr int kCaptionFormat = 17;
constexpr int kStatusFormat = 18;
constexpr int kPanelClass = 8;
constexpr double kPanelShade = 0.9;
constexpr const char* kModeTexts[] = {"Run Program", "Manual", "Off"};

CTabContainer* Tabs(CZVWindow* tabs) { return dynamic_cast<CTabContainer*>(tabs); }

}  // namespace

std::string IrrigationStatusText(const CIrrigationStatus& status) {
    if (status.secondsRemaining > 0) {
        char text[256];
        std::snprintf(text, sizeof text, "%s Watering %s Remaining", status.zone.c_str(),
                      FormatDuration(status.secondsRemaining).c_str());
        return text;
    }
    return status.rain ? "All Zones Off, Rain Sensor Active" : "All Zones Off";
}

int IrrigationModeOption(int32_t mode) {
    switch (mode) {
    case kIrrigationOff: return 2;
    case kIrrigationRunProgram: return 0;
    case kIrrigationManual: return 1;
    default: return -1;
    }
}

CIrrigationSummaryPage::CIrrigationSummaryPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CPageBase(parent, rect), CSocketSink(server), m_seasonal(server) {
    SetPageId(kPageId);
    SetHasSideList(1);
    const int loaded = LoadGroups(server);
    CTabContainer* side = Tabs(CreateSideList());
    side->AddTab("System", kSystemId);
    side->Select(-1, 0);
    if (!loaded) {
        SetTabControl(CreateLoadingTabs());
        RequestRebuild(1);
    }
    server.RegisterSink(this);
    SendStatusQuery();
    SetTimer(kStatusPeriod);
    LoadPrograms(server);
    Rebuild();
    OnShow(1);
}

CIrrigationSummaryPage::~CIrrigationSummaryPage() {
    RemoveContent();
    CZVServer* server = GetServer();
    for (const auto& group : m_groups)
        if (server && group->dirty) IrrigationQuery(*server, ZVM_IRRIGATION_SETWATERDAYSQ, {group->id, group->rule});
    if (server) server->UnregisterSink(this);
}

int CIrrigationSummaryPage::LoadGroups(CZVServer& server) {
    CZVQuery query(server, 1);
    CZVMSG request(0, ZVM_IRRIGATION_GETGROUPSQ);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request) || !answer) return 0;
    answer->ResetPosition();
    std::vector<CPlantGroup> groups;
    ReadPlantGroups(*answer, &groups);
    if (static_cast<int>(groups.size()) > kLastTab - kFirstTab + 1) groups.resize(kLastTab - kFirstTab + 1);
    CTabContainer* tabs = Tabs(CreateTabs(static_cast<int>(groups.size()), "Plant\nGroups"));
    SetTabControl(tabs);
    for (size_t i = 0; i < groups.size(); ++i) {
        if (tabs) tabs->AddTab(groups[i].name.c_str(), kFirstTab + static_cast<int>(i));
        m_groups.push_back(std::make_unique<CPlantGroup>(std::move(groups[i])));
    }
    return 1;
}

void CIrrigationSummaryPage::LoadPrograms(CZVServer& server) {
    CZVQuery query(server, 1);
    CZVMSG request(0, ZVM_IRRIGATION_GETSUMMARYQ);
    CZVMSG* answer = nullptr;
    if (!query.Query(&answer, &request) || !answer) return;
    answer->ResetPosition();
    std::vector<CIrrigationProgramRecord> programs;
    ReadIrrigationPrograms(*answer, &programs);
    for (size_t i = 0; i < programs.size(); ++i)
        m_programs.push_back(std::make_unique<CIrrigationProgram>(programs[i], static_cast<int32_t>(i), &server));
}

CPlantGroup* CIrrigationSummaryPage::GetGroup(int index) const {
    return index >= 0 && index < GetGroupCount() ? m_groups[static_cast<size_t>(index)].get() : nullptr;
}

void CIrrigationSummaryPage::Rebuild() {
    RemoveContent();
    DeleteContent();
    m_modeRadio = nullptr;
    m_statusLabel = nullptr;
    GetContentRect(&m_contentRect, GetTabControl());
    BuildStatusBand(m_contentRect.CutTop(kBandHeight, 0));
    ShowGroup(GetPageVariable(kIrrigationTabVariable), 0);
}

void CIrrigationSummaryPage::BuildStatusBand(CZVRect band) {
    CZVRect rows[2] = {band.CutTop(kRowHeight, 0), band};
    CZVRect captions[2];
    for (int i = 0; i < 2; ++i) {
        rows[i].h = kRowHeight;
        rows[i].Deflate(0, kRowInset);
        captions[i] = rows[i].CutLeft(kCaptionWidth, kCaptionGap);
        CZVLabel* caption = AddLabel(captions[i], i == 0 ? "System Mode" : "Zone Status", kCaptionFont);
        caption->SetTextFormat(kCaptionFormat);
    }
    m_modeRadio = new CZVRadio(this, rows[0], kModeId, 3, 1, 0, m_styleClass, 0, 0, 0);
    for (int i = 0; i < 3; ++i) m_modeRadio->SetOptionText(i, kModeTexts[i]);
    m_modeRadio->Enable(1, 0);
    AddChild(m_modeRadio);
    auto* panel = new CRRegion(this, rows[1], kPanelClass);
    panel->SetFaceColor(ScaleColor(kPanelShade, GetFaceColor()));
    AddChild(panel);
    CZVRect inner;
    panel->GetContentRectWide(&inner);
    m_statusLabel = panel->AddLabel(inner, "", kCaptionFont);
    m_statusLabel->SetTextFormat(kStatusFormat);
    m_statusLabel->SetTextColor(GetTextColor());
}

int CIrrigationSummaryPage::OnCommand(int id) {
    if (id >= kFirstTab && id <= kLastTab) {
        ShowGroup(id - kFirstTab, 1);
    } else if (id == kSystemId) {
        if (CTabContainer* tabs = Tabs(GetTabControl())) tabs->Select(-1, 1);
        RemoveContent();
        SetContent(new CIrrigationPage(this, m_contentRect, &m_seasonal), 1);
    } else if (id == kModeId) {
        SendMode();
    }
    return 1;
}

void CIrrigationSummaryPage::ShowGroup(int index, int redraw) {
    if (CTabContainer* side = Tabs(GetSideList())) side->Select(-1, redraw);
    SetPageVariable(kIrrigationTabVariable, index);
    RemoveContent();
    CPlantGroup* group = GetGroup(index);
    if (!group) return;
    if (CTabContainer* tabs = Tabs(GetTabControl())) tabs->Select(index, 0);
    SetContent(new CIrGroupWnd(this, m_contentRect, group, m_programs, &m_seasonal), redraw);
    SendPageShown();
}

void CIrrigationSummaryPage::SetContent(CZVWindow* content, int redraw) {
    m_content = content;
    AddChild(content);
    if (redraw && IsShown() && !CMainWndBase::InputBlockedFor(this)) content->Redraw(1);
}

void CIrrigationSummaryPage::RemoveContent() {
    if (!m_content) return;
    RemoveChild(m_content);
    delete m_content;
    m_content = nullptr;
}

void CIrrigationSummaryPage::SendMode() {
    CZVServer* server = GetServer();
    const int option = m_modeRadio ? m_modeRadio->GetSelection() : -1;
    if (!server || option < 0) return;
    static constexpr uint16_t kModeMessages[] = {ZVM_IRRIGATION_RUNPROGRAMS, ZVM_IRRIGATION_MANUALRUN,
                                                 ZVM_IRRIGATION_ALLOFF};
    CZVMSG message(0, kModeMessages[option]);
    // The manual system mode is a manual run of no zone.
    if (option == IrrigationModeOption(kIrrigationManual)) {
        message.WriteInt(0);
        message.WriteInt(0);
    }
    server->Send(&message);
}

void CIrrigationSummaryPage::SendStatusQuery() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_IRRIGATION_GETSTATUSQ);
    server->Send(&request);
}

void CIrrigationSummaryPage::OnTimer() { SendStatusQuery(); }

void CIrrigationSummaryPage::OnMessage(CZVMSG* message) {
    if (!message || message->GetId() != ZVM_IRRIGATION_GETSTATUSA || CMainWndBase::InputBlockedFor(this)) return;
    message->ResetPosition();
    CIrrigationStatus status;
    if (!ReadIrrigationStatus(*message, &status)) return;
    ShowStatus(status);
}

void CIrrigationSummaryPage::ShowStatus(const CIrrigationStatus& status) {
    if (m_statusLabel) m_statusLabel->SetText(IrrigationStatusText(status).c_str(), nullptr, 1);
    if (!m_modeRadio) return;
    if (status.mode == kIrrigationNoController) {
        m_modeRadio->Select(IrrigationModeOption(kIrrigationOff), 0);
        m_modeRadio->Enable(0, 1);
        return;
    }
    const int option = IrrigationModeOption(status.mode);
    if (option < 0) return;
    if (!m_modeRadio->IsEnabled()) m_modeRadio->Enable(1, 1);
    if (m_modeRadio->GetSelection() != option) m_modeRadio->Select(option, 1);
}

// ---- registration

namespace {

CZVWindow* MakeIrrigationPage(CZVWindow* parent, int, CZVRect rect) {
    CMainWnd* main = GetTabletMainWnd();
    CZVServer* server = main ? main->GetServer() : nullptr;
    return server ? new CIrrigationSummaryPage(parent, rect, *server) : nullptr;
}

}  // namespace

void RegisterIrrigationPages() {
    static const CPageMakerRow kPages[] = {{CIrrigationSummaryPage::kPageId, MakeIrrigationPage}};
    RegisterPageMakers(kPages);
}
