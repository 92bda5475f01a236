#include "vistrel/home/pool/poollights.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/basinsetup.h"
#include "vistrel/home/pool/poollightsetup.h"
#include "vistrel/media/advlbitem/advlbitem.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/gauges/levelbar.h"
#include "widgets/lists/textlist.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/tabs/trregion.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/mainwnd.h"

namespace {

// ---- the Lights tab

constexpr int kRegionClass = 6;
constexpr int kCommandClass = 17;
constexpr int kGlaviroLowerHeight = 157;
constexpr int kPlainLowerHeight = 75;
constexpr int kRegionGap = 4;
constexpr int kBarHeight = 25;
constexpr int kBarGap = 5;
constexpr int kButtonGap = 2;
constexpr int kCaptionWidth = 150;
constexpr int kCaptionGap = 5;
constexpr int kCaptionFontSize = 22;
constexpr int kColorLightsCommands = 5;
constexpr int kFirstShow = 5;
constexpr int kLastShow = 10;
constexpr int kFirstTinted = 13;
constexpr int kFirstActiveCommand = 2;
constexpr COLORREF kTintedText = 0x0A0A0A;
enum : int { kColorSetupFeature = 0x02 };

struct LightCommand {
    const char* caption;
    COLORREF tint;  // 0: none
};

constexpr LightCommand kCommands[CColorLightsPage::kCommandCount] = {
    {"All Off", 0},    {"All On", 0},       {"Color Set", 0},      {"Color Sync", 0},  {"Color Swim", 0},
    {"Party", 0},      {"Romance", 0},      {"Caribbean", 0},      {"American", 0},    {"Sunset", 0},
    {"Royal", 0},      {"Save", 0},         {"Recall", 0},         {"Blue", 0xFF3232}, {"Green", 0x32FF32},
    {"Red", 0x3232FF}, {"White", 0xFFFFFF}, {"Magenta", 0xFF32FF},
};

// ---- the level buttons

constexpr int kListInset = 5;
constexpr int kManyLights = 19;
constexpr int kSmallRow = 28;
constexpr int kLargeRow = 40;
constexpr int kRowFontSize = 18;
constexpr int kLookClass = 16;
constexpr int kLookTop = 2;
constexpr int kLevelWidth = 40;
constexpr int kWideLevelWidth = 72;
constexpr int kSwitchWidth = 180;
constexpr int kLevelFontSize = 14;
constexpr int kSkinnedLooks = 0x40000;
enum : int { kSwitchGroup = 4, kColorGroup = 3 };
enum : int { kDimmerFunction = 8, kQuarterDimmerFunction = 18 };
constexpr int kQuarterWidth = 72;

struct LevelButton {
    const char* caption;
    int id;
};

constexpr LevelButton kDimmerButtons[] = {{"100%", 1010}, {"90%", 1009}, {"80%", 1008}, {"70%", 1007}, {"60%", 1006},
                                          {"50%", 1005},  {"40%", 1004}, {"30%", 1003}, {"Off", 1000}};
constexpr LevelButton kQuarterButtons[] = {{"100%", 1010}, {"75%", 1012}, {"50%", 1005}, {"25%", 1011}, {"Off", 1000}};
constexpr LevelButton kSwitchButtons[] = {{"On", 1001}, {"Off", 1000}};

}  // namespace

// ---- CPoolDimmerPopup

CPoolDimmerPopup::CPoolDimmerPopup(CZVWindow* parent, CZVRect rect, CBasinSetup* model)
    : CSubPanel(parent, rect, 0, model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    CZVObList lights;
    model->GetCircuitsByInterface(lights, kSwitchGroup);
    model->GetCircuitsByInterface(lights, kColorGroup);
    const int rowHeight = lights.GetCount() > kManyLights ? kSmallRow : kLargeRow;
    m_list = new CTextList(this, CZVRect(kListInset, kListInset, rect.w - 9, rect.h - 9), kNoCommand);
    m_list->SetUniformRowHeight(1);
    m_list->SetRowHeight(rowHeight);
    m_list->SetSelectedRowHeight(rowHeight);
    m_list->SetRowFontSize(kRowFontSize);
    AddChild(m_list);
    MakeLooks(rowHeight);
    for (ZVPOSITION pos = lights.GetHeadPosition(); pos;) AddLightRow(static_cast<CPoolCircuit*>(lights.GetNext(pos)));
}

CPoolDimmerPopup::~CPoolDimmerPopup() = default;

void CPoolDimmerPopup::MakeLooks(int rowHeight) {
    const int levelWidth = (m_model->GetEquipmentFlags() & kPoolWideDimmerButtons) ? kWideLevelWidth : kLevelWidth;
    const int height = rowHeight - 4;
    m_levelLook =
        std::make_unique<CZVCheckButton>(this, CZVRect(0, kLookTop, levelWidth, height), kNoCommand, kLookClass);
    m_switchLook =
        std::make_unique<CZVCheckButton>(this, CZVRect(0, kLookTop, kSwitchWidth, height), kNoCommand, kLookClass);
    CSetServer* style = CSetServer::Get();
    const int skinned = style && (style->GetFlags() & kSkinnedLooks);
    for (CZVCheckButton* look : {m_levelLook.get(), m_switchLook.get()}) {
        if (skinned) {
            look->SetMargin(0);
            look->SetCornerRadius(0);
        }
        look->SetBackColor(m_list->GetBackColor());
    }
    CCaptionFitter fitter(this);
    fitter.AddCaption("8", CZVRect(0, 0, levelWidth, height));
    fitter.AddCaption("Off", CZVRect(0, 0, kSwitchWidth, height));
    m_switchLook->SetFontSize(fitter.FindFontSize(1, 1, m_switchLook->GetFontSize()));
    m_levelLook->SetFontSize(kLevelFontSize);
}

void CPoolDimmerPopup::AddLightRow(CPoolCircuit* circuit) {
    const char* name = circuit->name.c_str();
    auto row = std::make_unique<CAdvLBItem>(m_list->GetCount(), name, static_cast<int>(std::strlen(name)), circuit);
    auto add = [&row](const auto& buttons, int width, CZV3DButton* look) {
        for (const LevelButton& button : buttons) row->AddSubItem(width, button.id, button.caption, look);
    };
    if (circuit->function == kDimmerFunction)
        add(kDimmerButtons, m_levelLook->GetWidth(), m_levelLook.get());
    else if (circuit->function == kQuarterDimmerFunction)
        add(kQuarterButtons, kQuarterWidth, m_levelLook.get());
    else
        add(kSwitchButtons, kSwitchWidth, m_switchLook.get());
    m_list->AddItem(std::move(row));
}

CAdvLBItem* CPoolDimmerPopup::GetRow(int index) const { return static_cast<CAdvLBItem*>(m_list->GetItemAt(index)); }

int CPoolDimmerPopup::LevelOf(int id) {
    if (id >= 1003 && id <= 1010) return id * 10 - 10000;
    switch (id) {
    case kOffId: return 0;
    case kOnId: return 1;
    case 1011: return 25;
    case 1012: return 75;
    default: return -1;
    }
}

int CPoolDimmerPopup::MarkedIndex(int function, int state) {
    if (function == kDimmerFunction) {
        const int index = state == 0 ? 8 : (100 - state) / 10;
        return state <= 100 ? index : -1;
    }
    if (function == kQuarterDimmerFunction) {
        switch (state) {
        case 100: return 0;
        case 75: return 1;
        case 50: return 2;
        case 25: return 3;
        default: return 4;
        }
    }
    return state != 0 ? 0 : 1;
}

int CPoolDimmerPopup::OnCommand(int id) {
    const int level = LevelOf(id);
    if (level < 0) return CSubPanel::OnCommand(id);
    if (auto* circuit = static_cast<CPoolCircuit*>(m_list->GetSelectedData())) {
        m_model->SetCircuitLevel(circuit, level);
        OnStatusUpdate();
    }
    return 1;
}

void CPoolDimmerPopup::OnStatusUpdate() {
    for (int i = 0; i < m_list->GetCount(); ++i) {
        CAdvLBItem* row = GetRow(i);
        const auto* circuit = static_cast<const CPoolCircuit*>(row->m_data);
        row->SelectSubItem(MarkedIndex(circuit->function, circuit->state));
    }
    if (m_list->IsShown()) m_list->Redraw(1);
}

// ---- CColorLightsPage

CColorLightsPage::CColorLightsPage(CZVWindow* parent, CZVRect rect, CBasinSetup* model)
    : CSubPanel(parent, rect, kStyleClass, model) {
    if (parent) SetFaceColor(parent->GetFaceColor());
    const uint32_t equipment = model->GetEquipmentFlags();
    const int lowerHeight = (equipment & kPoolGlaviroLights) ? kGlaviroLowerHeight : kPlainLowerHeight;
    BuildUpper(CZVRect(0, 0, rect.w, rect.h - lowerHeight - kRegionGap));
    if (!(equipment & kPoolNoLightCommands)) {
        BuildLower(CZVRect(0, rect.h - lowerHeight, rect.w, lowerHeight));
        ShowCommandPage(0, 0);
    }
    CCaptionFitter fitter(this);
    fitter.AddChildren(this, kCommandClass, -1);
    HandleCommand(kLightsPanel, 0);
}

CColorLightsPage::~CColorLightsPage() = default;

void CColorLightsPage::BuildUpper(CZVRect rect) {
    m_upper = new CTRRegion(this, rect, kRegionClass, 0);
    m_upper->SetBackColor(m_upper->GetFaceColor());
    AddChild(m_upper);
    CZVObList descriptors;
    descriptors.AddTail(new CTabDescriptor("Lights", kLightsPanel, nullptr));
    int count = 1;
    if (m_model->GetTrailingValue() & kColorSetupFeature) {
        descriptors.AddTail(new CTabDescriptor("Configure\nColor Set", kColorSetPanel, nullptr));
        descriptors.AddTail(new CTabDescriptor("Configure\nSwimming Colors", kSwimPanel, nullptr));
        count = 3;
    }
    m_upper->SetTabCount(count, 1, &descriptors);
    CTabContainer* tabs = m_upper->GetTabs();
    const int limit = std::max((tabs->GetHeight() - m_upper->GetBevel()) / 2, 1);
    for (int i = 0; i < tabs->GetTabCount(); ++i)
        if (CZVWindow* tab = tabs->GetTab(i)) tab->SetFontSize(std::min(tab->GetFontSize(), limit));
}

void CColorLightsPage::BuildLower(CZVRect rect) {
    const int glaviro = (m_model->GetEquipmentFlags() & kPoolGlaviroLights) != 0;
    if (glaviro) {
        auto* region = new CTRRegion(this, rect, kRegionClass, 0);
        region->SetBackColor(region->GetFaceColor());
        m_lower = region;
    } else {
        m_lower = new CRRegion(this, rect, kRegionClass);
    }
    m_lower->SetShape(m_upper->GetCornerRadius(), m_upper->GetBevel(), m_upper->GetMargin());
    m_lower->SetTexture(1);
    AddChild(m_lower);
    if (glaviro) {
        CZVObList descriptors;
        descriptors.AddTail(new CTabDescriptor("Color Lights", kColorLightsPage, nullptr));
        descriptors.AddTail(new CTabDescriptor("Glaviro", kGlaviroPage, nullptr));
        static_cast<CTRRegion*>(m_lower)->SetTabCount(2, 1, &descriptors);
    }
    CZVRect c;
    m_lower->GetContentRect(&c);
    if (!glaviro) {
        CZVLabel* caption =
            m_lower->AddLabel(CZVRect(c.x, c.y, kCaptionWidth, c.h), "Special Lights", kCaptionFontSize);
        caption->SetTextColor(ScaleColor(0.25, m_lower->GetFaceColor()));
        c = CZVRect(c.x + kCaptionWidth + kCaptionGap, c.y, c.w - kCaptionWidth - kCaptionGap, c.h);
    }
    m_levelBar = new CZVLevelBar(m_lower, CZVRect(c.x, c.y + c.h - kBarHeight, c.w, kBarHeight), 0, 0);
    m_levelBar->SetLevel(0, 0);
    m_lower->AddChild(m_levelBar);
    const CZVRect area(c.x, c.y, c.w, c.h - kBarHeight - kBarGap);
    if (!glaviro) {
        AddCommandRow(area, 0, kColorLightsCommands - 1);
        return;
    }
    AddCommandRow(CZVRect(area.x, area.y + area.h / 4, area.w, area.h / 2), 0, kColorLightsCommands - 1);
    const int half = (area.h - kButtonGap) / 2;
    AddCommandRow(CZVRect(area.x, area.y, area.w, half), kFirstShow, kLastShow);
    AddCommandRow(CZVRect(area.x, area.y + half + kButtonGap, area.w, half), kLastShow + 1, kCommandCount - 1);
}

void CColorLightsPage::AddCommandRow(CZVRect band, int first, int last) {
    const int columns = last - first + 1;
    const int width = (band.w + kButtonGap) / columns;
    for (int command = first; command <= last; ++command) {
        const int column = command - first;
        const CZVRect cell(band.x + column * width, band.y, width - kButtonGap, band.h);
        CZVCheckButton* button =
            m_lower->AddCheckButton(cell, kFirstCommandId + command, kCommandClass, kCommands[command].caption);
        if (command >= kFirstTinted) {
            button->SetFaceColor(MixColors(button->GetFaceColor(), kCommands[command].tint, 0.5));
            button->SetTextColor(kTintedText);
        }
        m_buttons[static_cast<size_t>(command)] = button;
    }
}

CZVCheckButton* CColorLightsPage::GetCommandButton(int command) const {
    return command >= 0 && command < kCommandCount ? m_buttons[static_cast<size_t>(command)] : nullptr;
}

void CColorLightsPage::ShowCommandPage(int page, int redraw) {
    if (!m_lower) return;
    auto onPage = [page](int command) { return (command < kColorLightsCommands) == (page == 0); };
    if (redraw)
        for (int command = 0; command < kCommandCount; ++command)
            if (CZVCheckButton* button = m_buttons[static_cast<size_t>(command)]; button && !onPage(command))
                m_lower->EraseChildArea(button);
    // The other page's buttons stay hidden when the page is shown again.
    for (int command = 0; command < kCommandCount; ++command) {
        CZVCheckButton* button = m_buttons[static_cast<size_t>(command)];
        if (!button) continue;
        button->SetKeepHidden(0);
        button->Show(onPage(command) && m_lower->IsShown(), 1);
        button->SetKeepHidden(!onPage(command));
    }
    if (redraw)
        for (int command = 0; command < kCommandCount; ++command)
            if (CZVCheckButton* button = m_buttons[static_cast<size_t>(command)]; button && onPage(command))
                button->Redraw(1);
    if (auto* tabs = dynamic_cast<CTRRegion*>(m_lower)) tabs->GetTabs()->Select(page, redraw);
}

void CColorLightsPage::ShowPanel(int id, int redraw) {
    if (m_panel) {
        if (redraw) m_upper->EraseChildArea(m_panel);
        m_upper->RemoveChild(m_panel);
        delete m_panel;
        m_panel = nullptr;
    }
    CZVRect c;
    m_upper->GetContentRect(&c);
    if (id == kLightsPanel) {
        auto* dimmers = new CPoolDimmerPopup(m_upper, c, m_model);
        if (redraw) dimmers->OnStatusUpdate();
        m_panel = dimmers;
    } else {
        m_panel = new CPoolLightList(m_upper, c, m_model, id == kColorSetPanel ? 1 : 0);
    }
    m_upper->AddChild(m_panel);
    m_upper->GetTabs()->Select(id - kLightsPanel, redraw);
    if (redraw) m_panel->Redraw(1);
}

int CColorLightsPage::HandleCommand(int id, int redraw) {
    if (id >= kLightsPanel && id <= kSwimPanel) {
        ShowPanel(id, redraw);
        return 1;
    }
    if (id >= kFirstCommandId && id < kFirstCommandId + kCommandCount) {
        m_model->SendLightCommand(id - kFirstCommandId);
        for (CZVCheckButton* button : m_buttons)
            if (button) button->SetCheck(0, 0, button->IsShown());
        return 1;
    }
    if (id == kColorLightsPage || id == kGlaviroPage) {
        ShowCommandPage(id - kColorLightsPage, redraw);
        return 1;
    }
    return 0;
}

int CColorLightsPage::OnCommand(int id) { return HandleCommand(id, 1) ? 1 : CSubPanel::OnCommand(id); }

void CColorLightsPage::OnStatusUpdate() {
    if (m_panel) m_panel->OnStatusUpdate();
}

void CColorLightsPage::OnSubPageUpdate(CZVString text, int command, int progress, int total) {
    // Only a command with a button of its own blinks; any other stops them all.
    const int active = command >= kFirstActiveCommand && GetCommandButton(command) ? command : -1;
    for (int i = 0; i < kCommandCount; ++i) {
        CZVCheckButton* button = m_buttons[static_cast<size_t>(i)];
        if (!button) continue;
        if (i == active) {
            button->SetBlink(1);
            continue;
        }
        button->SetBlink(0);
        button->SetCheck(0, 0, button->IsShown());
    }
    if (!m_lower || !m_lower->IsShown() || CMainWndBase::InputBlockedFor(this)) return;
    const int64_t level = total ? static_cast<int64_t>(progress) * 100 / total : 0;
    m_levelBar->SetText(text, nullptr, 0);
    m_levelBar->SetLevel(static_cast<int>(std::clamp<int64_t>(level, 0, 100)), 1);
}
