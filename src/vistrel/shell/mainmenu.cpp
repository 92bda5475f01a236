#include "vistrel/shell/mainmenu.h"

#include <algorithm>

#include "core/messages/shellmessages.h"
#include "core/zvquery.h"
#include "gfx/dibdc.h"
#include "platform/clock.h"
#include "vistrel/shell/mainwnd.h"
#include "widgets/regions/shadewnd.h"
#include "widgets/style/setserver.h"

namespace {

// The tail's edge is shaded as lightly as the entries' outlines.
constexpr int kTailDepth = 25;

struct EntryIcons {
    const char* themed;
    const char* plain;
};

constexpr EntryIcons kEntryIcons[CMainMenu::kExitType + 1] = {
    {"MAIN\\LOGO", "I_LOGO"},
    {"MAIN\\SEC_NOTREADY", "MAIN\\SEC_NOTREADY"},
    {"MAIN\\HVAC_OFF", "I_HVACOFF"},
    {"MAIN\\HVAC_OFF", "I_GHVACSTAT"},
    {"MAIN\\HVAC_OFF", "I_GHVACSCHED"},
    {"MAIN\\LIGHT_OFF", "MAIN\\LIGHT_OFF"},
    {"MAIN\\AUDIO_OFF", "MAIN\\AUDIO_OFF"},
    {"MAIN\\MSSG_NO", "MAIN\\MSSG_NO"},
    {"MAIN\\IRR_OFF", "MAIN\\IRR_OFF"},
    {"MAIN\\VID_OFF", "MAIN\\VID_OFF"},
    {"MAIN\\POOL", "I_POOL"},
    {"MAIN\\PHOTOS", "MAIN\\PHOTOS"},
    {"MAIN\\INTERNET", "MAIN\\INTERNET"},
    {"MAIN\\DVR_OFF", "MAIN\\DVR_OFF"},
    {"MAIN\\EXIT", "I_EXIT"},
};

bool IsEntryType(int type) { return type >= 0 && type <= CMainMenu::kExitType; }

bool IsCompact() { return CSetServer::Get() && CSetServer::Get()->IsCompactLayout(); }

// Entries that fill the column: the last one is home, pictures, web or exit.
bool FillsWithLast(int type) { return type == 0 || type == 11 || type == 12 || type == CMainMenu::kExitType; }

}  // namespace

CMenuAnswer::Result CMenuAnswer::Read(CZVMSG* answer) {
    types.clear();
    captions.clear();
    int32_t unused = 0, count = 0;
    if (!answer) return kEmpty;
    answer->ResetPosition();
    if (!answer->ReadInt(unused) || !answer->ReadInt(count) || count <= 0) return kEmpty;
    if (count > kMaxCount) return kTooMany;
    for (int i = 0; i < count; ++i) {
        int32_t type = 0;
        std::string caption;
        // A negative type would index past the icon table as surely as a large one.
        if (!answer->ReadInt(type) || !answer->ReadString(caption) || !IsEntryType(type)) {
            types.clear();
            captions.clear();
            return kBroken;
        }
        types.push_back(type);
        captions.push_back(std::move(caption));
    }
    return kRead;
}

CMainMenu::CMainMenu(CMainWnd* owner, CZVRect rect, COLORREF backColour, int exitEntry)
    : CTabColumn(owner, rect, 2, backColour),
      CSocketSink(*owner->GetServer()),
      m_owner(owner),
      m_exitEntry(exitEntry),
      m_pressTick(platform::GetTickCount()) {
    GetServer()->RegisterSink(this);
    SetTimer(kTimerInterval);
}

CMainMenu::~CMainMenu() {
    if (CZVServer* server = GetServer()) server->UnregisterSink(this);
}

const char* CMainMenu::IconNameOf(int type, int themed) {
    if (!IsEntryType(type)) return "";
    return themed ? kEntryIcons[type].themed : kEntryIcons[type].plain;
}

int CMainMenu::EntryBottom() {
    CZVWindow* last = GetTab(GetTabCount() - 1);
    return last ? last->GetY() + last->GetHeight() : 0;
}

int CMainMenu::AddEntry(int type, CZVString caption, int y, int height) {
    if (!IsEntryType(type)) return 0;
    auto* entry = static_cast<CTabButton*>(AddTab(CZVString(), kFirstCommand + type));
    if (!entry) return 0;
    entry->SetRect(CZVRect(0, y, m_width - GetBevel(), height));
    if (!caption.IsEmpty()) entry->SetText(caption, nullptr, 0);
    entry->SetFlag(kFlagMultiLine, 1);
    entry->SetTextFormat(17);
    const int themed = CSetServer::Get() && CSetServer::Get()->IsThemed();
    entry->SetIconName(CZVString(IconNameOf(type, themed)), -1);
    entry->RenderFace(0);
    entry->RenderFace(1);
    return 1;
}

int CMainMenu::BuildEntries(const std::vector<int>& types, const std::vector<std::string>& captions) {
    RemoveAllTabs();
    const int count = static_cast<int>(std::min(types.size(), captions.size()));
    if (count <= 0) return 0;
    m_fillsHeight = FillsWithLast(types[count - 1]) || IsCompact();
    const int available =
        m_fillsHeight ? m_height : m_height + CSetServer::CurrentStyle(3, 5) - CSetServer::CurrentStyle(3, 1);
    const int rows = count + ExitEntries();
    const int height = available / rows;
    int ok = 1;
    int y = 0;
    for (int i = 0; i < count; ++i) {
        // The first entry takes what the division leaves over.
        const int h = i == 0 ? available - height * (rows - 1) : height;
        ok &= AddEntry(types[i], CZVString(captions[i].c_str()), y, h);
        y += h;
    }
    if (m_exitEntry) ok &= AddEntry(kExitType, "Exit", y, height);
    FitEntryFonts();
    m_subscriptionPending = 1;
    return ok;
}

void CMainMenu::FitEntryFonts() {
    int size = kMaxFontSize;
    for (int i = 0; i < GetTabCount(); ++i) size = static_cast<CTabButton*>(GetTab(i))->ApplyCaptionFont(size);
    for (int i = 0; i < GetTabCount(); ++i) GetTab(i)->SetFontSize(size);
    SetFontSize(size);
}

void CMainMenu::AddDefaultEntries() {
    RemoveAllTabs();
    AddEntry(0, "Zavoro", 0, GetTabHeight());
    if (m_exitEntry) AddEntry(kExitType, "Exit", GetTabHeight(), GetTabHeight());
    FitEntryFonts();
}

CTabButton* CMainMenu::FindEntry(int id) {
    for (int i = 0; i < GetTabCount(); ++i) {
        auto* entry = static_cast<CTabButton*>(GetTab(i));
        if (entry->GetCommandId() == id) return entry;
    }
    return nullptr;
}

void CMainMenu::SetEntryIcon(int type, CZVString iconName) {
    CTabButton* entry = FindEntry(kFirstCommand + type);
    if (!entry) return;
    entry->SetIconName(iconName, -1);
    if (m_owner->IsInputBlocked(nullptr) || m_owner->GetModal() || m_owner->IsMenuHidden() || !m_shown) return;
    entry->RedrawBuffered();
}

void CMainMenu::SetEntryText(int type, CZVString text) {
    if (FindEntry(kFirstCommand + type)) m_entryTexts[type] = text.GetAnsi();
}

const std::string& CMainMenu::GetEntryText(int type) const {
    static const std::string none;
    return IsEntryType(type) ? m_entryTexts[type] : none;
}

int CMainMenu::CheckMenu() {
    CZVServer* server = GetServer();
    if (!server) return 0;
    CZVQuery query(*server);
    CZVMSG request(0, ZVM_SYSCONFIG_GETMENUQ);
    CZVMSG* answer = nullptr;
    CMenuAnswer menu;
    if (!query.Query(&answer, &request) || menu.Read(answer) != CMenuAnswer::kRead) return 0;
    if (static_cast<int>(menu.types.size()) + ExitEntries() != GetTabCount()) return 0;
    return std::all_of(menu.types.begin(), menu.types.end(),
                       [this](int type) { return FindEntry(kFirstCommand + type) != nullptr; });
}

void CMainMenu::DrawEntries(CZVDC* dc) {
    for (int i = 0; i < GetTabCount(); ++i) {
        auto* entry = static_cast<CTabButton*>(GetTab(i));
        dc->SetOrigin(entry->ToRootX(0), entry->ToRootY(0));
        entry->DrawCaption(dc, 0);
        entry->DrawIcon(dc, entry->GetNormalColor());
    }
}

void CMainMenu::DrawTail(CZVDC* dc, int shaded) {
    const int top = EntryBottom();
    if (top >= m_height) return;
    dc->SetOrigin(ToRootX(0), ToRootY(0));
    FillBackColor(dc, 0, top, m_width, m_height - top);
    const int bevel = GetBevel();
    if (!shaded || bevel <= 0) return;
    const int height = m_height - top;
    CDibDC edge(bevel, height, 0, 0, 1);
    CShadeWnd builder(nullptr, CZVRect(0, 0, bevel, height), 0);
    builder.SetColors(m_faceColor, m_backColor);
    builder.SetBevel(bevel);
    builder.SetDepth(kTailDepth);
    builder.AddEdge(3, 0, 0, bevel, height);
    builder.RenderShapes(&edge);
    dc->BitBlt(m_width - bevel, top, &edge, 0, 0, bevel, height);
}

void CMainMenu::Paint(CZVDC* dc, int withBackground) {
    if (m_owner->IsMenuHidden()) return;
    CTabColumn::Paint(dc, withBackground);
    if (m_subscriptionPending) SubscribeToStatus();
}

void CMainMenu::SubscribeToStatus() {
    if (!GetServer()) return;
    m_subscriptionPending = 0;
    CZVMSG message(GetId(), ZVM_UI_SUBSCRIBEMENUSTATUS);
    GetServer()->Send(&message);
}

int CMainMenu::OnLButtonDown(int x, int y, int keys) {
    if (HitTest(x, y)) {
        m_pressState = 1;
        m_pressTick = platform::GetTickCount();
    }
    return CTabColumn::OnLButtonDown(x, y, keys);
}

int CMainMenu::OnLButtonUp(int x, int y, int keys) {
    m_pressState = 0;
    return CTabColumn::OnLButtonUp(x, y, keys);
}

int CMainMenu::OnMouseMove(int x, int y, int keys) {
    if (m_pressState && !keys) m_pressState = 0;
    return CTabColumn::OnMouseMove(x, y, keys);
}

int CMainMenu::OnIdle(int busy) {
    if (m_pressState == 1 && platform::TicksSince(m_pressTick) >= kPressSettle) m_pressState = 2;
    return CTabColumn::OnIdle(busy);
}

void CMainMenu::OnTimer() {
    auto* first = static_cast<CTabButton*>(GetTab(0));
    if (!m_pressState || !first || !first->IsPressed() || platform::TicksSince(m_pressTick) < kHoldToExit) return;
    m_pressState = 0;
    if (m_parent) m_parent->OnCommand(kFirstCommand + kExitType);
}

int CMainMenu::OnCommand(int id) {
    // The web page hides the menu: its entry is not selected.
    if (id == kCommandWeb) return m_parent ? m_parent->OnCommand(id) : 0;
    return CTabColumn::OnCommand(id);
}

void CMainMenu::Select(int index, int redraw) {
    if (IsCompact()) {
        CTabColumn::Select(index, redraw);
        return;
    }
    CTabColumn::Select(index, 0);
    if (redraw && m_shown) RedrawBuffered();
}

void CMainMenu::OnMessage(CZVMSG* message) {
    if (!message) return;
    message->ResetPosition();
    int32_t type = 0;
    std::string text;
    if (!message->ReadInt(type) || !message->ReadString(text)) return;
    if (message->GetId() == ZVM_UI_MENUICONCHANGED) SetEntryIcon(type, CZVString(text.c_str()));
    if (message->GetId() == ZVM_UI_MENUTEXTCHANGED) SetEntryText(type, CZVString(text.c_str()));
}
