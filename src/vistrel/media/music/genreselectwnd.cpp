#include "vistrel/media/music/genreselectwnd.h"

#include <algorithm>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/speed.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kButtonClass = 17;
constexpr int kGap = 2;
constexpr int kRoomyRow = 50;
constexpr int kLeastRow = 40;
constexpr COLORREF kOffTint = 0xFF6464;
constexpr COLORREF kRandomTint = 0x64FF64;
constexpr double kTintShare = 0.25;
constexpr int kRandomIcon = 1;
constexpr COLORREF kRandomIconColour = 0x00FF00;
constexpr int kRandomIconLayout = 2;
// A genre on the wire: u16 state, u16 id and a string of at least its count.
constexpr int kMinGenreSize = 8;

}  // namespace

GenreGrid LayOutGenres(int n, int height) {
    if (n < 1) return {1, 0};
    const int q = height / n;
    if (q > kRoomyRow) return {1, height / kRoomyRow};
    if (q >= kLeastRow) return {1, n};
    int columns = 1;
    int rows = n;
    while (rows > 1 && columns < n && height / rows < kLeastRow) {
        ++columns;
        rows = (n + columns - 1) / columns;
    }
    return {columns, rows};
}

CGenreSelectWnd::CGenreSelectWnd(CZVWindow* owner, CZVRect rect, int styleClass, CZVServer& server)
    : CPopupWnd(owner, rect, styleClass), CSocketSink(server) {
    server.RegisterSink(this);
    CZVMSG request(GetId(), ZVM_AUDIO_GETGENRESQ);
    server.Send(&request);
    AddTitleBar("Select Genres", rect.w / 3);
    CZVRect client;
    GetClientRect(&client);
    const CZVRect strip = client.CutBottom(kButtonStripHeight, kButtonStripGap);
    const struct {
        const char* caption;
        int id;
        COLORREF tint;
    } buttons[] = {{"All On", kAllOnCommand, kOffTint},
                   {"All Off", kAllOffCommand, kOffTint},
                   {"Play Random", kPlayRandomCommand, kRandomTint}};
    for (int i = 0; i < 3; ++i) {
        CZV3DButton* button =
            Add3DButtonDefault(strip.Column(i, 3, kGap), buttons[i].id, kButtonClass, buttons[i].caption);
        button->SetFaceColor(MixColors(button->GetFaceColor(), buttons[i].tint, kTintShare));
        if (buttons[i].id == kPlayRandomCommand) {
            button->SetIconKind(kRandomIcon, &kRandomIconColour);
            button->SetIconLayout(kRandomIconLayout);
        }
    }
}

CGenreSelectWnd::~CGenreSelectWnd() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
    if (m_changed) SendSelection();
}

CZVRect CGenreSelectWnd::GridArea() {
    CZVRect area;
    GetClientRect(&area);
    area.CutBottom(kButtonStripHeight, kButtonStripGap);
    return area;
}

void CGenreSelectWnd::DeleteGenreButtons() {
    for (Genre& genre : m_genres) {
        RemoveChild(genre.button);
        delete genre.button;
    }
    m_genres.clear();
}

void CGenreSelectWnd::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_AUDIO_GETGENRESA) return;
    message->ResetPosition();
    ReadGenres(message);
}

void CGenreSelectWnd::ReadGenres(CZVMSG* message) {
    int32_t sent = 0;
    if (!message->ReadInt(sent) || sent < 1) return;
    bool cut = false;
    const int n = BoundCount(sent, *message, kMinGenreSize, &cut);
    if (n < 1) return;
    // A second answer replaces the buttons of the first.
    DeleteGenreButtons();
    CZVRect area = GridArea();
    const GenreGrid grid = LayOutGenres(n, area.h);
    if (grid.columns == 1) area.w = std::min(area.w, kSingleColumnWidth);
    for (int i = 0; i < n; ++i) {
        uint16_t state = 0, id = 0;
        std::string name;
        if (!message->ReadShort(state) || !message->ReadShort(id) || !message->ReadString(name)) break;
        const CZVRect cell = area.Column(i / grid.rows, grid.columns, kGap).Row(i % grid.rows, grid.rows, kGap);
        CZVCheckButton* button = AddCheckButton(cell, kGenreCommand, kButtonClass, name.c_str());
        button->SetCheck(state != 0, 0, 0);
        if (!m_genres.empty()) button->SetLookSource(m_genres.front().button);
        m_genres.push_back({button, id});
    }
    if (IsPaintedOnce()) {
        CZVDC dc(this);
        Paint(&dc, 0);
    }
}

void CGenreSelectWnd::SendSelection() {
    CZVServer* server = CSocketSink::GetServer();
    if (!server) return;
    CZVMSG message(0, ZVM_AUDIO_SETGENRE);
    message.WriteInt(static_cast<int32_t>(m_genres.size()));
    for (const Genre& genre : m_genres) {
        message.WriteShort(static_cast<uint16_t>(genre.button->GetCheck() != 0));
        message.WriteShort(genre.id);
    }
    server->Send(&message);
}

void CGenreSelectWnd::SendBeforeClosing() {
    if (!m_changed) return;
    SendSelection();
    m_changed = 0;
}

int CGenreSelectWnd::OnCommand(int id) {
    switch (id) {
    case kAllOnCommand:
    case kAllOffCommand:
        for (Genre& genre : m_genres) genre.button->SetCheck(id == kAllOnCommand, 0, 1);
        m_changed = 1;
        break;
    case kPlayRandomCommand:
        if (m_changed) SendSelection();
        SendToGateway(ZVM_AUDIO_PLAYRANDOM, {GetCurrentAudioZone()});
        break;
    case kGenreCommand: m_changed = 1; break;
    case kCommandPopupDone: SendBeforeClosing(); break;
    default: break;
    }
    return CPopupWnd::OnCommand(id);
}

int CGenreSelectWnd::OnLButtonDown(int x, int y, int keys) {
    if (!HitTest(x, y)) SendBeforeClosing();
    return CPopupWnd::OnLButtonDown(x, y, keys);
}
