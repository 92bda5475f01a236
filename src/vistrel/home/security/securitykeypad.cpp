#include "vistrel/home/security/securitykeypad.h"

#include <algorithm>

#include "core/messages/securitymessages.h"
#include "core/zvquery.h"
#include "platform/clock.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/regions/rregion.h"
#include "widgets/tabs/captionfitter.h"

namespace {

constexpr int kKeypadClass = 5;
constexpr int kModeClass = 17;
constexpr int kPanelClass = 6;
constexpr int kKeyClass = 18;
constexpr int kModeFormat = 18;
constexpr int kBandGap = 5;
constexpr int kCellGap = 2;
constexpr int kKeyGap = 2;
constexpr int kBothOptionalKeys = 3;
constexpr int kSmallestKeyFont = 11;
constexpr int kKeyFontDivisor = 7;
constexpr const char* kKeySound = "beep2.wav";
constexpr int kModesPerRow = 4;
constexpr int kKeyRows = 4;

int CeilDiv(int a, int b) { return (a + b - 1) / b; }

}  // namespace

CSecurityModeGrid SecurityModeGrid(int modes) {
    CSecurityModeGrid grid;
    grid.rows = std::max(1, CeilDiv(modes, kModesPerRow));
    grid.columns = modes <= 1 ? 1 : CeilDiv(modes, grid.rows);
    return grid;
}

CSecurityKeypadWnd::CSecurityKeypadWnd(CZVWindow* parent, CZVRect rect, CSecurityPartition* partition)
    : CZVWindow(parent, rect, kKeypadClass), m_partition(partition) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    const CSecurityModeGrid grid = SecurityModeGrid(m_partition->GetShownModeCount());
    const int band = grid.rows * rect.h / (grid.rows + kKeyRows);
    BuildModeButtons(CZVRect(0, 0, rect.w, band));
    BuildKeys(CZVRect(0, band + kBandGap, rect.w, rect.h - band - kBandGap));
    EnableKeys(0, 0);
    UpdateModeChecks();
}

CSecurityKeypadWnd::~CSecurityKeypadWnd() = default;

void CSecurityKeypadWnd::BuildModeButtons(CZVRect band) {
    const int count = m_partition->GetShownModeCount();
    if (count == 0) return;
    const CSecurityModeGrid grid = SecurityModeGrid(count);
    const int rowHeight = band.h / grid.rows;
    CCaptionFitter fitter(this);
    for (int row = 0, placed = 0; row < grid.rows && placed < count; ++row) {
        const int cells = std::min(grid.columns, count - placed);
        const int cellWidth = band.w / cells;
        for (int cell = 0; cell < cells; ++cell, ++placed) {
            CZVRect rect(band.x + cell * cellWidth, band.y + row * rowHeight, cellWidth, rowHeight);
            rect.Deflate(kCellGap / 2, kCellGap / 2);
            CZVCheckButton* button = AddCheckButton(rect, kFirstMode + placed, kModeClass,
                                                    CZVString(m_partition->GetShownMode(placed)->name.c_str()));
            button->SetTextFormat(kModeFormat);
            fitter.AddWindow(button);
            m_modeButtons.push_back(button);
        }
    }
    fitter.Apply(m_modeButtons.front()->GetFontSize());
}

void CSecurityKeypadWnd::BuildKeys(CZVRect rect) {
    m_panel = new CRRegion(this, rect, kPanelClass);
    m_panel->SetBackColor(GetFaceColor());
    AddChild(m_panel);
    CZVRect client(0, 0, rect.w, rect.h);
    const int corner = m_panel->GetCornerInset();
    client.Deflate(corner, corner);
    const int font = rect.w / kKeyFontDivisor > 10 ? rect.w / kKeyFontDivisor : kSmallestKeyFont;
    m_panel->BuildKeypad(client, kKeyGap, font, kKeySound, kBothOptionalKeys, m_keys, 0, kKeyClass);
}

CZVCheckButton* CSecurityKeypadWnd::GetModeButton(int index) const {
    return index >= 0 && index < GetModeButtonCount() ? m_modeButtons[static_cast<size_t>(index)] : nullptr;
}

CZV3DButton* CSecurityKeypadWnd::GetKey(int id) const {
    for (CZV3DButton* key : m_keys)
        if (key && key->GetCommandId() == id) return key;
    return nullptr;
}

int CSecurityKeypadWnd::ShouldRedraw() { return IsShown() && !CMainWndBase::InputBlockedFor(this); }

void CSecurityKeypadWnd::EnableKeys(int on, int redraw) {
    for (CZV3DButton* key : m_keys)
        if (key) key->Enable(on, redraw);
}

void CSecurityKeypadWnd::SelectMode(int index) {
    const int redraw = ShouldRedraw();
    m_selected = index < 0 ? -1 : index;
    if (m_selected >= 0) {
        m_entryTick = platform::GetTickCount();
        EnableKeys(1, redraw);
        UpdateModeChecks();
        if (CZVCheckButton* button = GetModeButton(m_selected)) button->SetBlink(1);
    } else {
        EnableKeys(0, redraw);
        UpdateModeChecks();
        for (CZVCheckButton* button : m_modeButtons) button->SetBlink(0);
    }
    m_code.clear();
}

void CSecurityKeypadWnd::UpdateModeChecks() {
    if (m_selected >= 0) return;
    const int32_t status = m_partition->GetStatusWord();
    const int checked = (status & kSecurityArmed) ? m_partition->GetCurrentModeIndex() : 0;
    const int redraw = ShouldRedraw();
    for (int i = 0; i < GetModeButtonCount(); ++i) {
        // Armed in the first shown mode (the disarm mode) checks nothing.
        const int on = i == checked && (i >= 1 || !(status & kSecurityArmed));
        m_modeButtons[static_cast<size_t>(i)]->SetCheck(on, 0, redraw);
    }
}

int CSecurityKeypadWnd::OnCommand(int id) {
    if (id >= kFirstMode && id <= kLastMode) {
        if (m_selected >= 0) SelectMode(-1);
        SelectMode(id - kFirstMode);
        const CSecurityMode* mode = m_partition->GetShownMode(m_selected);
        if (mode && mode->armWithoutCode) return OnCommand(kEnter);
        m_codeGoal = mode ? std::clamp(mode->codeLength, 0, 255) : 0;
    } else if (id >= kFirstDigit && id <= kLastDigit) {
        if (m_selected < 0) return 1;
        m_entryTick = platform::GetTickCount();
        m_code += static_cast<char>('0' + (id - kFirstDigit));
        if (m_codeGoal > 0 && static_cast<int>(m_code.size()) >= m_codeGoal) return OnCommand(kEnter);
    } else if (id == kCancel) {
        SelectMode(-1);
    } else if (id == kEnter) {
        // Without a chosen mode there is nothing to send.
        if (m_selected < 0) return 1;
        if (SendRequest() && GetParent()) GetParent()->OnCommand(kSecurityArmedOrDisarmed);
        SelectMode(-1);
    }
    return 1;
}

int CSecurityKeypadWnd::SendRequest() {
    const CSecurityMode* mode = m_partition->GetShownMode(m_selected);
    CZVServer* server = m_partition->GetServer();
    if (!mode || !server) return 0;
    const bool disarm = m_selected == 0;
    CZVMSG request(0, disarm ? ZVM_SECURITY_DISARMQ : ZVM_SECURITY_ARMQ);
    request.WriteInt(m_partition->GetPartitionId());
    request.WriteInt(disarm ? 0 : mode->value);
    request.WriteString(m_code);
    CZVQuery query(*server);
    CZVMSG* answer = nullptr;
    return query.Query(&answer, &request);
}

int CSecurityKeypadWnd::OnIdle(int busy) {
    if (m_selected >= 0 && platform::GetTickCount() - m_entryTick > kEntryTimeout) SelectMode(-1);
    return CZVWindow::OnIdle(busy);
}

void CSecurityKeypadWnd::Enable(int enable, int redraw) {
    // The keys follow the mode selection alone, whatever the keypad's state.
    const int keysOn = m_keys[0] && m_keys[0]->IsEnabled();
    m_panel->Show(0, 0);
    CZVWindow::Enable(enable, redraw);
    m_panel->Enable(0, 0);
    m_panel->Show(IsShown(), 0);
    EnableKeys(keysOn, redraw);
}

// ---- the gateway control

namespace {

std::unique_ptr<CSecurityPartition> LoadPartition(CZVServer& server, int controlId, int* found) {
    CZVQuery query(server);
    CZVMSG* answer = nullptr;
    CSecurityRecord record;
    *found = 0;
    if (query.QueryAnswer1(&answer, ZVM_SECURITY_GETPARTITIONQ, controlId) && answer) {
        answer->ResetPosition();
        ReadSecurityRecord(*answer, &record);
        *found = 1;
    }
    return std::make_unique<CSecurityPartition>(server, *found ? std::move(record) : CSecurityRecord());
}

}  // namespace

CSecurityPage::CSecurityPage(CZVWindow* parent, CZVRect rect, CZVServer& server, int controlId)
    : CZVWindow(parent, rect, kKeypadClass) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    int found = 0;
    m_partition = LoadPartition(server, controlId, &found);
    m_keypad = new CSecurityKeypadWnd(this, CZVRect(0, 0, rect.w, rect.h), m_partition.get());
    AddChild(m_keypad);
    if (found) m_partition->Subscribe(this);
}

CSecurityPage::~CSecurityPage() { m_partition->Unsubscribe(); }

int CSecurityPage::OnCommand(int id) {
    if (id == kSecurityStatusChanged) {
        m_keypad->UpdateModeChecks();
        return 1;
    }
    if (id == kSecurityArmedOrDisarmed) return 1;
    return CZVWindow::OnCommand(id);
}
