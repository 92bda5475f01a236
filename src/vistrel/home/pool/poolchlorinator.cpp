#include "vistrel/home/pool/poolchlorinator.h"

#include <algorithm>
#include <climits>

#include "core/basinsetup.h"
#include "gfx/speed.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/regions/rregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kArrowClass = 17;
constexpr int kCaptionWidth = 150;
constexpr int kArrowWidth = 65;
constexpr int kLeftIcon = 5;
constexpr int kRightIcon = 4;
constexpr COLORREF kArrowIcon = 0x404040;
constexpr int kCentred = 18;
constexpr int kScaleInset = 4;
constexpr double kScaleTint = 0.35;
constexpr double kSaltFillShare = 0.5;
constexpr int kSpaFunction = 1;

constexpr const char* kAlarmTexts[CChlorinatorPage::kAlarms] = {"Low Flow Error", "Low Salt Level",  "Very Low Salt",
                                                                "High Current",   "Clean Salt Cell", "Low Voltage"};

constexpr CChlorinatorPage::SaltRange kSaltRanges[] = {
    {2250, 0x0000FF, "Very Low Salt Level. Chlorinator may not operate.  Add 2 bags of salt."},
    {3000, 0x00C8FF, "Low Salt Level.  Add one bag of salt."},
    {4200, 0x00FF00, "Optimum Salt Level"},
    {INT_MAX, 0x64FF64, "Salt level too high. Drain 1 foot of water out of pool and refill. Repeat as necessary"},
};
// The scale's boxes end at these shares of kSaltSpan (ppm above kSaltBottom).
constexpr int kScaleEnds[] = {450, 1200, 2400, CChlorinatorPage::kSaltSpan};

std::string Percent(int level) { return std::to_string(level) + " %"; }

}  // namespace

const CChlorinatorPage::SaltRange& CChlorinatorPage::SaltRangeOf(int ppm) {
    for (const SaltRange& range : kSaltRanges)
        if (ppm <= range.upTo) return range;
    return kSaltRanges[std::size(kSaltRanges) - 1];
}

std::string CChlorinatorPage::HoursText(int hours, int labelWidth) {
    if (hours <= 0) return "Off";
    if (labelWidth <= kNarrowHoursLabel) return std::to_string(hours);
    return hours == 1 ? "1 Hour" : std::to_string(hours) + " Hours";
}

CChlorinatorPage::CChlorinatorPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model)
    : CSubPanel(parent, rect, kStyleClass, model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const int gap = PickByScreenHeight(600, 2, 5);
    const int statusHeight = PickByScreenHeight(600, 100, 120);
    const int outputHeight = PickByScreenHeight(600, 120, 150);
    BuildStatus(CreateCaptionPanel(this, CZVRect(0, 0, rect.w, statusHeight), "Chlorinator Status", 0));
    m_outputPanel =
        CreateCaptionPanel(this, CZVRect(0, statusHeight + gap, rect.w, outputHeight), "Chlorinator Output", 0);
    BuildOutputs(m_outputPanel);
    const int saltTop = statusHeight + outputHeight + 2 * gap;
    BuildSalt(CreateCaptionPanel(this, CZVRect(0, saltTop, rect.w, rect.h - saltTop), "Salt Level", 0));
    ShowSalt(0, 0);
    ShowSuperChlorination(0);
    SetTimer(kTimerInterval);
}

void CChlorinatorPage::BuildStatus(CRRegion* panel) {
    const int gap = PickByScreenHeight(600, 2, 5);
    CZVRect area;
    panel->GetContentRect(&area);
    const int half = panel->GetHeight() / 2;
    m_statusText = panel->AddLabel(CZVRect(area.x, 0, area.w, half), "Please Wait...", PickByScreenHeight(600, 20, 24));
    m_statusText->SetTextFormat(kCentred);
    const int rowHeight = (area.y + area.h - half - gap) / 2;
    const int width = (area.w - 2 * gap) / 3;
    for (int i = 0; i < kAlarms; ++i) {
        const CZVRect cell(area.x + (i % 3) * (width + gap), half + (i / 3) * (rowHeight + gap), width, rowHeight);
        m_alarms[static_cast<size_t>(i)] = CreatePanelButton(panel, cell, kAlarmTexts[i], 0);
    }
}

void CChlorinatorPage::BuildOutputs(CRRegion* panel) {
    const CZVRect area = CaptionPanelBody(panel);
    auto* rows = new CCommandRelay(panel, area, this);
    const int rowHeight = rows->GetHeight() / 3;
    m_poolOutput = BuildOutputRow(rows, CZVRect(0, 0, area.w, rowHeight), m_model->GetBody0Name() + " Output",
                                  kPoolUpId, kPoolDownId);
    if (m_model->FindCircuitByFunction(kSpaFunction))
        m_spaOutput = BuildOutputRow(rows, CZVRect(0, rowHeight, area.w, rowHeight),
                                     m_model->GetBody1Name() + " Output", kSpaUpId, kSpaDownId);
    BuildSuperRow(rows, CZVRect(0, 2 * rowHeight, area.w, rowHeight));
}

CZV3DButton* CChlorinatorPage::AddArrow(CZVWindow* row, CZVRect rect, int id, int releaseId, int iconKind) {
    CZV3DButton* arrow = row->AddImageButton(rect, id, kArrowClass, iconKind, kArrowIcon);
    SetupRepeatButton(arrow, id, releaseId);
    const int slot = id <= kSpaDownId ? id - kPoolUpId : id - kHoursDownId + 4;
    m_arrows[static_cast<size_t>(slot)] = arrow;
    return arrow;
}

CZVLevelBar* CChlorinatorPage::BuildOutputRow(CZVWindow* row, CZVRect rect, const std::string& caption, int upId,
                                              int downId) {
    const int gap = PickByScreenHeight(600, 2, 5);
    CZVLabel* name =
        row->AddLabel(CZVRect(rect.x, rect.y, kCaptionWidth, rect.h), caption.c_str(), PickByScreenHeight(600, 20, 22));
    name->SetTextFormat(kCentred);
    int x = rect.x + kCaptionWidth;
    AddArrow(row, CZVRect(x, rect.y + gap, kArrowWidth, rect.h - 2 * gap), downId, kOutputReleaseId, kLeftIcon);
    x += kArrowWidth + gap;
    const int barWidth = rect.x + rect.w - x - kArrowWidth - 2 * gap;
    auto* bar = new CZVLevelBar(row, CZVRect(x, rect.y + gap, barWidth, rect.h - 2 * gap), 0, 0);
    row->AddChild(bar);
    ShowOutput(bar, 0, 0);
    AddArrow(row, CZVRect(x + barWidth + gap, rect.y + gap, kArrowWidth, rect.h - 2 * gap), upId, kOutputReleaseId,
             kRightIcon);
    return bar;
}

void CChlorinatorPage::BuildSuperRow(CZVWindow* row, CZVRect rect) {
    const int gap = PickByScreenHeight(600, 2, 5);
    CZVLabel* name = row->AddLabel(CZVRect(rect.x, rect.y, kCaptionWidth, rect.h), "Super Chlorinate",
                                   PickByScreenHeight(600, 20, 22));
    name->SetTextFormat(kCentred);
    const int left = rect.x + kCaptionWidth;
    const int half = (rect.x + rect.w - left) / 2;
    const int top = rect.y + gap;
    const int height = rect.h - 2 * gap;
    AddArrow(row, CZVRect(left, top, kArrowWidth, height), kHoursDownId, kHoursReleaseId, kLeftIcon);
    m_hoursText = row->AddLabel(CZVRect(left + kArrowWidth + gap, top, half - 2 * (kArrowWidth + gap), height), "Off",
                                PickByScreenHeight(600, 20, 22));
    m_hoursText->SetTextFormat(kCentred);
    AddArrow(row, CZVRect(left + half - kArrowWidth - gap, top, kArrowWidth, height), kHoursUpId, kHoursReleaseId,
             kRightIcon);
    const int buttonWidth = (half - 3 * gap) / 2;
    m_stop = row->AddButton(CZVRect(left + half + gap, top, buttonWidth, height), kStopId, kArrowClass, "Stop");
    m_start = row->AddButton(CZVRect(left + half + 2 * gap + buttonWidth, top, buttonWidth, height), kStartId,
                             kArrowClass, "Start");
    m_stop->MakeRound();
    m_start->MakeRound();
}

void CChlorinatorPage::BuildSalt(CRRegion* panel) {
    const int gap = PickByScreenHeight(600, 2, 5);
    const CZVRect inner = CaptionPanelBody(panel);
    m_saltBar = new CZVLevelBar(panel, CZVRect(inner.x, inner.y, inner.w, PickByScreenHeight(600, 20, 35)), 0, 0);
    m_saltBar->SetCaptionSizeLimit(PickByScreenHeight(600, 20, 22));
    panel->AddChild(m_saltBar);
    const int top = inner.y + m_saltBar->GetHeight() + gap;
    int start = 0;
    for (size_t i = 0; i < std::size(kScaleEnds); ++i) {
        const int end = inner.w * kScaleEnds[i] / kSaltSpan;
        const CZVRect box(inner.x + start + kScaleInset, top + kScaleInset, end - start - 2 * kScaleInset,
                          inner.y + inner.h - top - 2 * kScaleInset);
        CZVLabel* label = CreatePanelButton(panel, box, kSaltRanges[i].text, PickByScreenHeight(600, 12, 16));
        label->SetFaceColor(MixColors(panel->GetFaceColor(), kSaltRanges[i].colour, kScaleTint));
        label->SetCornerRadius(PickByScreenHeight(600, 5, 10));
        start = end;
    }
}

CZV3DButton* CChlorinatorPage::GetArrow(int id) const {
    if (id >= kPoolUpId && id <= kSpaDownId) return m_arrows[static_cast<size_t>(id - kPoolUpId)];
    if (id == kHoursDownId || id == kHoursUpId) return m_arrows[static_cast<size_t>(id - kHoursDownId + 4)];
    return nullptr;
}

int CChlorinatorPage::OnChildCommand(int id, int count) {
    switch (id) {
    case kPoolUpId:
    case kPoolDownId: StepOutput(m_poolOutput, id == kPoolUpId ? count : -count); break;
    case kSpaUpId:
    case kSpaDownId: StepOutput(m_spaOutput, id == kSpaUpId ? count : -count); break;
    case kOutputReleaseId: SendOutputs(0, 0); break;
    case kStartId:
        if (m_reportedHours == 0 && m_chosenHours >= 1) {
            SendOutputs(1, m_chosenHours);
            Poll(MayRedraw());
        }
        break;
    case kStopId:
        SendOutputs(1, 0);
        Poll(MayRedraw());
        break;
    case kHoursDownId:
    case kHoursUpId:
        m_pacer.Restamp();
        m_chosenHours = std::clamp(m_chosenHours + (id == kHoursUpId ? count : -count), 1, kMaxHours);
        ShowSuperChlorination(1);
        break;
    default: break;
    }
    // Every id is this page's: none reaches the tabs above.
    return 1;
}

void CChlorinatorPage::StepOutput(CZVLevelBar* bar, int delta) {
    if (!bar) return;
    m_pacer.Restamp();
    ShowOutput(bar, std::clamp(bar->GetLevel() + delta, 0, 100), 1);
}

void CChlorinatorPage::SendOutputs(int superChlorinate, int hours) {
    m_pacer.Restamp();
    CZVMSG message(0, ZVM_POOL_SETCHLORINATOR);
    message.WriteInt(m_model->GetControllerIndex());
    message.WriteInt(m_poolOutput->GetLevel());
    message.WriteInt(m_spaOutput ? m_spaOutput->GetLevel() : 0);
    message.WriteInt(superChlorinate);
    message.WriteInt(hours);
    m_model->Link().Send(message);
}

void CChlorinatorPage::OnTimer() {
    if (m_pacer.IsDue()) Poll(MayRedraw());
}

void CChlorinatorPage::Poll(int redraw) {
    CZVMSG request(0, ZVM_POOL_GETCHLORINATORQ);
    request.WriteInt(m_model->GetControllerIndex());
    std::unique_ptr<CZVMSG> answer = m_model->Link().Ask(request, kDefaultQueryTimeout);
    m_pacer.Polled(answer != nullptr);
    CChlorinatorStatus status;
    if (answer && ReadChlorinatorStatus(*answer, &status)) ShowStatus(status, redraw);
}

void CChlorinatorPage::ShowStatus(const CChlorinatorStatus& status, int redraw) {
    if (!status.installed) {
        if (m_outputPanel->IsEnabled()) m_outputPanel->Enable(0, redraw);
        m_statusText->SetText("Not Installed", nullptr, redraw);
        return;
    }
    if (!m_outputPanel->IsEnabled()) m_outputPanel->Enable(1, redraw);
    int salt = 0, pool = 0, spa = 0, hours = 0;
    if (status.communicationsOk) {
        m_statusText->SetText("Communications OK", nullptr, redraw);
        for (int i = 0; i < kAlarms; ++i)
            SetButtonHighlight(m_alarms[static_cast<size_t>(i)], (status.alarms >> i & 1) != 0, redraw);
        salt = static_cast<int>(std::clamp<int64_t>(int64_t{status.saltLevel} * kSaltUnit, 0, INT_MAX));
        pool = status.poolOutput;
        spa = status.spaOutput;
        hours = status.superHours;
    } else {
        m_statusText->SetText("Communications Error", nullptr, redraw);
    }
    ShowSalt(salt, redraw);
    ShowOutput(m_poolOutput, pool, redraw);
    if (m_spaOutput) ShowOutput(m_spaOutput, spa, redraw);
    m_reportedHours = std::clamp(hours, 0, kMaxHours);
    ShowSuperChlorination(redraw);
}

void CChlorinatorPage::ShowSalt(int ppm, int redraw) {
    const SaltRange& range = SaltRangeOf(ppm);
    m_saltBar->SetFillColor(MixColors(range.colour, m_saltBar->GetBackColor(), kSaltFillShare));
    m_saltBar->SetLevel(SaltLevel(ppm), 0);
    m_saltBar->SetText(("Salt Level: " + std::to_string(ppm) + " ppm").c_str(), nullptr, redraw);
}

void CChlorinatorPage::ShowOutput(CZVLevelBar* bar, int level, int redraw) {
    bar->SetLevel(level, 0);
    bar->SetText(Percent(bar->GetLevel()).c_str(), nullptr, redraw);
}

void CChlorinatorPage::ShowSuperChlorination(int redraw) {
    // While it runs, its time left and "Stop"; else the chosen duration and "Start".
    const int running = m_reportedHours > 0;
    const int hours = running ? m_reportedHours : m_chosenHours;
    m_hoursText->SetText(HoursText(hours, m_hoursText->GetWidth()).c_str(), nullptr, redraw);
    const int panelEnabled = m_outputPanel->IsEnabled();
    m_stop->Enable(panelEnabled && running, redraw);
    m_start->Enable(panelEnabled && !running && m_chosenHours >= 1, redraw);
    for (int id : {kHoursDownId, kHoursUpId}) GetArrow(id)->Enable(panelEnabled && !running, redraw);
}

int CChlorinatorPage::MayRedraw() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }
