#include "vistrel/home/pool/poolequipment.h"

#include <algorithm>

#include "core/basinsetup.h"
#include "vistrel/home/pool/poolchlorinator.h"
#include "vistrel/home/pool/poolpump.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr uint32_t kChlorinatorBit = 0x4;
constexpr int kFirstPumpBit = 4;
constexpr int kButtonClass = 17;
constexpr int kCancelClass = 18;
constexpr int kButtonShape = 10;  // corner radius and bevel
constexpr int kCancelWidth = 200;
constexpr int kErrorColumns = 2;
constexpr int kTabLines = 2;  // pump tabs name the pump and its circuit

// Room for two lines of tab captions: each the style's font size and its padding.
int TabBandHeight(int styleClass) {
    CSetServer* style = CSetServer::Get();
    return style ? kTabLines * (style->GetStyle(styleClass, 7) + style->GetStyle(styleClass, 5)) : 0;
}

int HasPump(const CBasinSetup& model, int pump) {
    return (model.GetEquipmentFlags() >> (kFirstPumpBit + pump) & 1) != 0;
}

}  // namespace

// ---- CSystemStatusPage

std::vector<CSystemStatusPage::Tab> CSystemStatusPage::TabsFor(const CBasinSetup& model) {
    std::vector<Tab> tabs = {{kStatusTab, "System\nStatus"}};
    if (model.GetEquipmentFlags() & kChlorinatorBit) tabs.push_back({kChlorinatorTab, "Chlorinator"});
    int pumps = 0;
    for (int pump = 0; pump < kPoolPumpCount; ++pump) pumps += HasPump(model, pump);
    for (int pump = 0; pump < kPoolPumpCount; ++pump) {
        if (!HasPump(model, pump)) continue;
        const std::string text = model.GetPumpCircuitText(pump);
        tabs.push_back({kFirstPumpTab + pump,
                        pumps == 1 ? "Vortana\n" + text : "Vortana #" + std::to_string(pump + 1) + "\n" + text});
    }
    return tabs;
}

CSystemStatusPage::CSystemStatusPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model, CZVServer& server)
    : CSubPanel(parent, rect, kStyleClass, model), m_server(server) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    m_tabColumn = new CTRRegion(this, CZVRect(0, 0, rect.w, rect.h), kStyleClass, GetFaceColor());
    if (const int band = TabBandHeight(kStyleClass)) m_tabColumn->SetTabBandHeight(band);
    AddChild(m_tabColumn);
    const std::vector<Tab> tabs = TabsFor(*model);
    CZVObList descriptors;
    for (const Tab& tab : tabs) descriptors.AddTail(new CTabDescriptor(tab.caption.c_str(), tab.id, nullptr));
    m_tabColumn->SetTabCount(static_cast<int>(tabs.size()), 0, &descriptors);
    SelectTab(kStatusTab, 0);
}

void CSystemStatusPage::SelectTab(int id, int redraw) {
    const std::vector<Tab> tabs = TabsFor(*m_model);
    const auto tab = std::find_if(tabs.begin(), tabs.end(), [id](const Tab& t) { return t.id == id; });
    if (tab != tabs.end()) {
        if (m_content) {
            if (redraw) m_tabColumn->EraseChildArea(m_content);
            m_tabColumn->RemoveChild(m_content);
            delete m_content;
            m_content = nullptr;
        }
        CZVRect rect;
        m_tabColumn->GetContentRect(&rect);
        m_content = MakeContent(id, rect);
        m_tabColumn->AddChild(m_content);
        m_tabColumn->GetTabs()->Select(static_cast<int>(tab - tabs.begin()), 0);
        m_selected = id;
        if (redraw) m_content->Redraw(1);
    }
    if (m_parent) m_parent->OnCommand(0);
}

CSubPanel* CSystemStatusPage::MakeContent(int id, CZVRect rect) {
    if (id == kChlorinatorTab) return new CChlorinatorPage(m_tabColumn, rect, m_model);
    if (id >= kFirstPumpTab) return new CPumpPage(m_tabColumn, rect, id - kFirstPumpTab, m_model, m_server);
    return new CSystemDelaysPage(m_tabColumn, rect, m_model);
}

int CSystemStatusPage::OnCommand(int id) {
    if (id < kStatusTab || id > kLastTab) return CSubPanel::OnCommand(id);
    SelectTab(id, 1);
    return 1;
}

void CSystemStatusPage::OnStatusUpdate() {
    if (m_content) m_content->OnStatusUpdate();
}

// ---- CSystemDelaysPage

CSystemDelaysPage::CSystemDelaysPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model)
    : CSubPanel(parent, rect, kStyleClass, model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int gap = PickByScreenHeight(600, 2, 5);
    const int remotesHeight = PickByScreenHeight(600, 50, 120);
    const int delaysHeight = PickByScreenHeight(600, 130, 140);
    const int remotesTop = rect.h - remotesHeight;
    const int delaysTop = remotesTop - gap - delaysHeight;
    m_errorsPanel = CreateCaptionPanel(this, CZVRect(0, 0, rect.w, delaysTop - gap), "System Errors", 0);
    BuildDelays(CreateCaptionPanel(this, CZVRect(0, delaysTop, rect.w, delaysHeight), "System Delays", 0));
    BuildRemotes(CreateCaptionPanel(this, CZVRect(0, remotesTop, rect.w, remotesHeight), "Spa-Side Remotes", 0));
    OnStatusUpdate();
    SetTimer(kPollInterval);
    PollErrors(0);
}

void CSystemDelaysPage::BuildDelays(CRRegion* panel) {
    const int gap = PickByScreenHeight(600, 2, 5);
    const CZVRect area = CaptionPanelBody(panel);
    const int top = area.y;
    const int rowHeight = (area.y + area.h - top) / 3 - gap;
    const int labelWidth = area.w - kCancelWidth - 2 * gap;
    const char* captions[] = {"Cleaner On Delay", "Pool Off Delay", "Spa Off Delay"};
    for (int row = 0; row < 3; ++row)
        m_delays[static_cast<size_t>(row)] = CreatePanelButton(
            panel, CZVRect(area.x, top + row * (rowHeight + gap), labelWidth, rowHeight), captions[row], 0);
    CZVButton* cancel =
        panel->AddButton(CZVRect(area.x + area.w - kCancelWidth, top, kCancelWidth, 3 * rowHeight + 2 * gap),
                         kCancelDelaysId, kCancelClass, "Cancel Delays");
    cancel->SetCornerRadius(kButtonShape);
    cancel->SetBevel(kButtonShape);
}

void CSystemDelaysPage::BuildRemotes(CRRegion* panel) {
    const int gap = PickByScreenHeight(600, 2, 5);
    const int band = 2 * PickByScreenHeight(600, 20, 30);
    CZVRect area;
    panel->GetContentRect(&area);
    // Right of the caption, side by side, centred on the panel's height.
    const int middle = panel->GetHeight() / 2;
    const int left = area.x + area.w / 3;
    const int width = (area.x + area.w - left - 2 * gap) / 2;
    const int top = middle - band / 2;
    m_disable = panel->AddCheckButton(CZVRect(left, top, width, band), kDisableId, kButtonClass, "Disable");
    m_enable = panel->AddCheckButton(CZVRect(left + width + gap, top, width, band), kEnableId, kButtonClass, "Enable");
    for (CZVCheckButton* button : {m_disable, m_enable}) {
        button->SetCornerRadius(kButtonShape);
        button->SetBevel(kButtonShape);
    }
}

int CSystemDelaysPage::OnChildCommand(int id, int /*count*/) {
    switch (id) {
    case kCancelDelaysId: m_model->CancelDelays(); return 1;
    case kDisableId:
    case kEnableId: {
        const int enable = id == kEnableId;
        m_model->EnableRemotes(enable);
        ShowRemotes(enable, 1);
        return 1;
    }
    default: return 0;
    }
}

void CSystemDelaysPage::ShowRemotes(int enabled, int redraw) {
    m_disable->SetCheck(!enabled, 0, redraw);
    m_enable->SetCheck(enabled != 0, 0, redraw);
}

int CSystemDelaysPage::MayRedraw() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }

void CSystemDelaysPage::OnStatusUpdate() {
    const int redraw = MayRedraw();
    // The labels' order (cleaner, pool off, spa off) of the status's flags (pool off, spa off, cleaner).
    constexpr int kFlagOfLabel[] = {2, 0, 1};
    for (size_t i = 0; i < m_delays.size(); ++i)
        SetButtonHighlight(m_delays[i], m_model->GetDelayFlag(kFlagOfLabel[i]) != 0, redraw);
    ShowRemotes(m_model->GetRemotesEnabled() != 0, redraw);
}

void CSystemDelaysPage::OnTimer() { PollErrors(MayRedraw()); }

void CSystemDelaysPage::PollErrors(int redraw) {
    if (!m_pacer.IsDue()) return;
    CZVMSG request(0, ZVM_POOL_GETERRORSQ);
    request.WriteInt(m_model->GetControllerIndex());
    std::unique_ptr<CZVMSG> answer = m_model->Link().Ask(request, kDefaultQueryTimeout);
    m_pacer.Polled(answer != nullptr);
    std::vector<CPoolErrorEntry> entries;
    if (answer && ReadPoolErrors(*answer, &entries)) ShowErrors(entries, redraw);
}

void CSystemDelaysPage::ShowErrors(const std::vector<CPoolErrorEntry>& entries, int redraw) {
    const int total = static_cast<int>(entries.size());
    const int count = total > kUnshownErrors ? total - kUnshownErrors : total;
    if (count != GetErrorCount()) RebuildErrorLabels(entries, count, redraw);
    for (int i = 0; i < std::min(total, count); ++i)
        SetButtonHighlight(m_errorLabels[static_cast<size_t>(i)], entries[static_cast<size_t>(i)].flag != 0, redraw);
}

void CSystemDelaysPage::RebuildErrorLabels(const std::vector<CPoolErrorEntry>& entries, int count, int redraw) {
    for (CZVLabel* label : m_errorLabels) {
        if (redraw) m_errorsPanel->EraseChildArea(label);
        m_errorsPanel->RemoveChild(label);
        delete label;
    }
    m_errorLabels.clear();
    if (count <= 0) return;
    const int gap = PickByScreenHeight(600, 2, 5);
    const CZVRect area = CaptionPanelBody(m_errorsPanel);
    const int top = area.y;
    const int rows = (count + kErrorColumns - 1) / kErrorColumns;
    const int rowHeight = (area.h + gap) / rows - gap;
    const int width = (area.w - (kErrorColumns - 1) * gap) / kErrorColumns;
    for (int i = 0; i < count; ++i) {
        const int column = i / rows;
        const int row = i % rows;
        CZVLabel* label = CreatePanelButton(
            m_errorsPanel, CZVRect(area.x + column * (width + gap), top + row * (rowHeight + gap), width, rowHeight),
            entries[static_cast<size_t>(i)].text.c_str(), 0);
        m_errorLabels.push_back(label);
        if (redraw) label->Redraw(1);
    }
}
