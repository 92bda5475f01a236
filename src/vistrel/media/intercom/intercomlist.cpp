#include "vistrel/media/intercom/intercomlist.h"

#include <algorithm>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/zvdc.h"
#include "vistrel/media/intercom/talklisten.h"
#include "vistrel/shell/pagecontrol.h"
#include "vistrel/shell/pagemakers.h"
#include "widgets/lists/listrowbutton.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kMinStationBytes = 8;  // id and an empty name
constexpr int kTextInset = 5;

}  // namespace

CIntercomButton::CIntercomButton(CZVWindow* parent, CZVRect rect, CZVServer& server, int fontSize, COLORREF textColour,
                                 COLORREF faceColour, CWavDevice* device)
    : CTextList(parent, rect, kNoCommand), CSocketSink(server), m_device(device) {
    if (fontSize > 0) SetFontSize(fontSize);
    if (textColour) {
        SetTextColor(textColour);
        m_rowTextColour = textColour;
    }
    if (faceColour) SetFaceColor(faceColour);
    server.RegisterSink(this);
    RequestStations();
}

CIntercomButton::~CIntercomButton() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
    m_rows.clear();
}

void CIntercomButton::RequestStations() {
    CZVServer* server = GetServer();
    if (!server) return;
    CZVMSG request(GetId(), ZVM_INTERCOM_GETSTATIONQ);
    server->Send(&request);
}

void CIntercomButton::OnConnect(int connected) {
    if (connected) RequestStations();
}

void CIntercomButton::OnMessage(CZVMSG* message) {
    switch (message->GetId()) {
    case ZVM_SYSCONFIG_INTERCOMCHANGED: RequestStations(); return;
    case ZVM_INTERCOM_GETSTATIONA:
        message->ResetPosition();
        ReadStations(message);
        return;
    default: return;
    }
}

void CIntercomButton::MakeRowButtons() {
    const int height = std::max(GetFontSize() * 15 / 10, kMinRowHeight);
    SetRowHeight(height);
    SetSelectedRowHeight(height);
    // The buttons click with the release command; the press is told apart in
    // OnLButtonDown. Placed from the right edge: Talk shows left of Listen.
    AddRowButton("", 1, "Listen", CTalkListenWnd::kListenReleased, 0, 0, 1);
    AddRowButton("", 1, "Talk", CTalkListenWnd::kTalkReleased, 0, 0, 1);
}

void CIntercomButton::ReadStations(CZVMSG* message) {
    if (m_firstAnswer) {
        m_firstAnswer = 0;
        MakeRowButtons();
    }
    RemoveAll(0);
    m_rows.clear();
    int32_t sent = 0;
    message->ReadInt(sent);
    bool cut = false;
    const int32_t count = BoundCount(sent, *message, kMinStationBytes, &cut);
    if (count > 1) AddStation(kAllRow, CTalkListenWnd::kAllStations);
    for (int32_t i = 0; i < count; ++i) {
        uint32_t station = 0;
        std::string name;
        if (!CMsgReader(*message).UInt(station).String(name)) break;
        AddStation(name.c_str(), static_cast<int>(station));
    }
    if (m_shown && !CMainWndBase::InputBlockedFor(this)) Redraw(1);
}

void CIntercomButton::AddStation(const char* name, int station) {
    CZVServer* server = GetServer();
    if (!server) return;
    auto window = std::make_unique<CTalkListenWnd>(this, this, CZVRect(0, 0, m_width, GetRowHeight()), *server, station,
                                                   0, 0, 0, 0, GetFontSize(), name, CTalkListenWnd::kRowType, m_device);
    AddString(name, window.get());
    m_rows.push_back(std::move(window));
}

// ---- commands

int CIntercomButton::OnCommand(int id) {
    switch (id) {
    case CTalkListenWnd::kTalkPressed:
    case CTalkListenWnd::kListenPressed:
        if (auto* window = static_cast<CTalkListenWnd*>(GetSelectedData())) window->OnCommand(id);
        return 1;
    case CTalkListenWnd::kTalkReleased:
    case CTalkListenWnd::kListenReleased:
        // A release ends whatever any row began.
        m_releaseSent = 1;
        for (const auto& window : m_rows) window->OnCommand(id);
        return 1;
    default: return CTextList::OnCommand(id);
    }
}

int CIntercomButton::OnLButtonDown(int x, int y, int keys) {
    const int handled = CTextList::OnLButtonDown(x, y, keys);
    for (int i = 0; i < GetRowButtonCount(); ++i) {
        CListRowButton* button = GetRowButton(i);
        const int pressId = button->GetCommandId() - 1;
        if (!button->IsPressed() ||
            std::find(m_heldRowButtons.begin(), m_heldRowButtons.end(), pressId) != m_heldRowButtons.end())
            continue;
        m_heldRowButtons.push_back(pressId);
        OnCommand(pressId);
    }
    return handled;
}

int CIntercomButton::OnLButtonUp(int x, int y, int keys) {
    const std::vector<int> held = std::move(m_heldRowButtons);
    m_heldRowButtons.clear();
    m_releaseSent = 0;
    const int handled = CTextList::OnLButtonUp(x, y, keys);
    // Released outside its button: the release still goes out.
    if (!m_releaseSent)
        for (int pressId : held) OnCommand(pressId + 1);
    return handled || !held.empty();
}

int CIntercomButton::OnIdle(int busy) {
    int work = CTextList::OnIdle(busy);
    for (size_t i = 0; i < m_rows.size(); ++i) work |= m_rows[i]->OnIdle(busy);
    return work;
}

// ---- the rows' levels

int CIntercomButton::IndexOfWindow(const CTalkListenWnd* window) const {
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (m_rows[i].get() == window) return static_cast<int>(i);
    return -1;
}

void CIntercomButton::OnRowLevel(CTalkListenWnd* window) {
    const int index = IndexOfWindow(window);
    if (index < 0 || !m_shown || CMainWndBase::InputBlockedFor(this)) return;
    CZVRect row;
    GetItemRectAt(&row, index);
    RedrawRange(row.y, row.y + row.h);
}

int CIntercomButton::BarWidth(CListItem* row, int level) {
    int width = m_width - 2 * GetBevel();
    auto* window = static_cast<CTalkListenWnd*>(row->m_data);
    if (IsSelected(row) && window->GetStation() != CTalkListenWnd::kAllStations && row->m_showsRowButtons) {
        CZVRect buttons;
        GetRowButtonsRect(&buttons);
        width -= buttons.w;
    }
    return std::max(width, 0) * std::clamp(level, 0, 100) / 100;
}

void CIntercomButton::DrawRow(CZVDC* dc, CListItem* row, int top, int bottom) {
    auto* window = static_cast<CTalkListenWnd*>(row->m_data);
    const int state = window ? window->GetState() : CTalkListenWnd::kIdle;
    const bool talking = state == CTalkListenWnd::kTalking;
    const bool listening = state == CTalkListenWnd::kListening && window->GetStation() != CTalkListenWnd::kAllStations;
    if (!talking && !listening) {
        CTextList::DrawRow(dc, row, top, bottom);
        return;
    }
    const int bevel = GetBevel();
    const int inner = m_width - 2 * bevel;
    const int bar = BarWidth(row, window->GetLevel());
    dc->FillRect(talking ? kTalkingColor : kListeningColor, bevel, top, bar, bottom - top, 0);
    dc->FillRect(m_faceColor, bevel + bar, top, inner - bar, bottom - top, 0);
    if (IsSelected(row) && row->m_showsRowButtons) DrawItem(row, dc, top, bottom, 1);
    SelectTextFont(dc);
    dc->SetColor(m_rowTextColour);
    dc->TextOutString(static_cast<CTextItem*>(row)->GetText(), bevel + kTextInset,
                      (GetTextOffset() + top + bottom) / 2);
}

// ---- the factory

CZVWindow* MakeIntercomList(CPageControlArgs& args) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    return new CIntercomButton(args.parent, args.rect, *server, args.fontSize, args.textColor, args.faceColor);
}

// The main window's answer to an incoming call: a row-type window for the
// station, Talk pressed.
CZVWindow* AnswerIntercomCall(CZVWindow* parent, int station) {
    CZVServer* server = GetGatewayServer();
    if (!server) return nullptr;
    auto* window = new CTalkListenWnd(parent, nullptr, CZVRect(0, 0, 0, 0), *server, station, 0, 0, 0, 0, 0, "",
                                      CTalkListenWnd::kRowType);
    window->OnCommand(CTalkListenWnd::kTalkPressed);
    return window;
}

void RegisterIntercomControls() {
    RegisterIntercomCallMaker(AnswerIntercomCall);
    static constexpr CControlMakerRow kControls[] = {
        {CTalkListenWnd::kControlType, MakeTalkListen, kSkipCommon},
        {CIntercomButton::kType, MakeIntercomList, kSkipCommon},
    };
    RegisterControlMakers(kControls);
}
