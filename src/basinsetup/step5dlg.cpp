#include "basinsetup/step5dlg.h"

#include <algorithm>

#include "basinsetup/setupitems.h"

namespace {

constexpr int kTopButton5 = 4;
constexpr int kBottomButton1 = 5;
constexpr int kBottomButton5 = 9;
constexpr int kShortRow = 4;

}  // namespace

CStep5Dlg::CStep5Dlg(CDialogView& view, std::shared_ptr<CBasinSetup> model)
    : CDialogLogic(view), m_model(std::move(model)) {}

void CStep5Dlg::AddTab(std::vector<CListItem>& tabs, const char* text, int kind) { tabs.push_back({text, kind}); }

void CStep5Dlg::OnInitDialog() {
    m_controls.SetText(kTitleId, "Configure Spa-Side Remotes (Step 5 of 5)");
    std::vector<CListItem> tabs;
    if (IsCompactController(*m_model)) {
        AddTab(tabs, "KP4", kRemoteKp4);
    } else {
        AddTab(tabs, "KP10 #1", 0);
        AddTab(tabs, "KP10 #2", 1);
        AddTab(tabs, "KP10 #3", 2);
        AddTab(tabs, "KP10 #4", 3);
        AddTab(tabs, "KP4 #1/#2", kRemoteKp4);
    }
    AddTab(tabs, "Pivana", kRemotePivana);
    m_controls.SetItems(IDC_REMOTE_TABS, std::move(tabs));
    m_controls.Select(IDC_REMOTE_TABS, 0);
    OnSelchangeTab();
}

int CStep5Dlg::GetTabKind() const { return m_controls.SelectedData(IDC_REMOTE_TABS, -1); }

int CStep5Dlg::GetGroup() const {
    const int kind = GetTabKind();
    if (kind >= 0 && kind <= 3) return kind;
    if (kind == kRemoteKp4) return 3;
    return kind == kRemotePivana ? 4 : 0;
}

std::vector<CListItem> CStep5Dlg::OfferedItems(bool heatEntries) const {
    std::vector<CListItem> items = TriggerItems(*m_model, {0});
    if (heatEntries) {
        items.push_back({"Heat Boost", 0x85});
        items.push_back({"Heat Enable", 0x86});
    }
    for (const CListItem& item :
         CircuitItems(*m_model, false, [](const CPoolCircuit& c) { return c.function != kHiddenFunction; }))
        items.push_back(item);
    return items;
}

void CStep5Dlg::OnSelchange(int id) {
    if (id == IDC_REMOTE_TABS)
        OnSelchangeTab();
    else if (std::find(std::begin(kRemoteButtonIds), std::end(kRemoteButtonIds), id) != std::end(kRemoteButtonIds))
        OnSelchangeButton(id);
}

void CStep5Dlg::OnClicked(int id) { EndWizardStep(m_controls, id); }

void CStep5Dlg::OnSelchangeTab() {
    const int kind = GetTabKind();
    const bool compact = IsCompactController(*m_model);
    // Which boxes the remote has: the top row's first four always.
    bool topButton5 = true, bottomRow = true, bottomButton5 = true;
    if (kind == kRemotePivana) {
        m_controls.Show(IDC_BOTTOM_CAPTION, false);
        m_controls.SetText(IDC_TOP_CAPTION, "Pivana");
        topButton5 = bottomRow = bottomButton5 = false;
    } else {
        m_controls.Show(IDC_BOTTOM_CAPTION, true);
        if (kind == kRemoteKp4 && compact) {
            m_controls.SetText(IDC_TOP_CAPTION, "KP4");
            m_controls.Show(IDC_BOTTOM_CAPTION, false);
            topButton5 = bottomRow = bottomButton5 = false;
        } else if (kind == kRemoteKp4) {
            m_controls.SetText(IDC_TOP_CAPTION, "KP4 #1");
            m_controls.SetText(IDC_BOTTOM_CAPTION, "KP4 #2");
            topButton5 = bottomButton5 = false;
        } else {
            m_controls.SetText(IDC_TOP_CAPTION, "Top Row");
            m_controls.SetText(IDC_BOTTOM_CAPTION, "Bottom Row");
        }
    }
    m_controls.Show(kRemoteButtonIds[kTopButton5], topButton5);
    m_controls.Show(IDC_BUTTON5_CAPTION, topButton5);
    for (int button = kBottomButton1; button < kBottomButton5; ++button)
        m_controls.Show(kRemoteButtonIds[button], bottomRow);
    m_controls.Show(kRemoteButtonIds[kBottomButton5], bottomButton5);
    const bool shared = (kind == 3 || kind == kRemoteKp4) && !compact;
    m_controls.Show(IDC_SHARE_NOTE, shared);
    for (int id : kShareMarkerIds) m_controls.Show(id, shared);
    SelectStored();
}

// Box b of the tab's remote shows entry 10 x group + b of table 3; a
// stored code that is no longer offered shows as unknown and stays stored.
void CStep5Dlg::SelectStored() {
    const std::vector<CListItem> offered = OfferedItems(GetTabKind() != kRemotePivana);
    const int boxes = GetTabKind() <= kRemoteKp4 ? 10 : kShortRow;
    for (int box = 0; box < 10; ++box) {
        const int id = kRemoteButtonIds[box];
        if (box < boxes)
            ShowStoredCode(m_controls, id, offered, ConfigByte(*m_model, 3, ButtonEntry(box)));
        else
            m_controls.SetItems(id, offered);
    }
}

int CStep5Dlg::ButtonEntry(int box) const { return 10 * GetGroup() + box; }

// Only the changed button's entry is written; the others stay as stored.
void CStep5Dlg::OnSelchangeButton(int id) {
    const int box = static_cast<int>(std::find(std::begin(kRemoteButtonIds), std::end(kRemoteButtonIds), id) -
                                     std::begin(kRemoteButtonIds));
    const int code = m_controls.SelectedData(id, -1);
    if (code < 0) return;
    CTableChange change(*m_model);
    change.Set(3, ButtonEntry(box), static_cast<uint8_t>(code));
    if (!change.Write(m_controls.View())) SelectStored();
}
