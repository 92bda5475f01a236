#include "vistrel/media/music/mediaplayerpage.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/messages/shellmessages.h"
#include "core/msgreader.h"
#include "core/zvmsg.h"
#include "core/zvserver.h"
#include "gfx/dibdc.h"
#include "gfx/jpegdecode.h"
#include "gfx/picturelimits.h"
#include "vistrel/media/music/mediatransportbar.h"
#include "vistrel/shell/tabletmain.h"
#include "widgets/buttons/zvchkbutton.h"
#include "widgets/pictures/dibwnd.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/captionfitter.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kSmallScreen = 600;
constexpr int kButtonClass = 17;
constexpr int kBarClass = 6;
constexpr int kGap = 3;
constexpr int kGridGap = 1;
constexpr int kTransportIconLayout = 35;
constexpr int kGridIconLayout = 2;
constexpr int kMultiLine = 4;
constexpr int kValueFormat = 17;
constexpr int kEmptyFontSize = 16;
constexpr int kAlbumArtBevelType = 2;
constexpr int kAlbumArtGap = 6;
constexpr int kLabelGap = 10;
constexpr int kMinAlbumArt = 33;
const char* const kEmptyQueue = "Playlist is Empty.  Use the Music Library to add tracks";

int Pick(int small, int large) { return PickByScreenHeight(kSmallScreen, small, large); }

int TextWidth(CZVWindow* window, int fontSize, const char* text) {
    CZVDC dc(window);
    dc.SelectFont(fontSize, 0, 1);
    return dc.GetTextExtent(text, static_cast<int>(std::char_traits<char>::length(text))).cx;
}

}  // namespace

CMediaPlayerPage::CMediaPlayerPage(CZVWindow* parent, CAudioSourceOwner* owner, CZVRect rect, int styleClass,
                                   COLORREF faceColour, int features)
    : CAudioSourcePage(parent, owner, rect, styleClass), m_features(features) {
    SetFaceColor(faceColour);
    SetBackColor(faceColour);
    CZVRect client;
    GetClientRect(&client);
    const int barHeight = Pick(140, 200);
    const int leftWidth = Pick(300, 200);
    BuildBar(client, barHeight, leftWidth);

    CZVRect queueRect = client;
    queueRect.h = std::max(0, client.h - barHeight);
    m_queue = new CPlaylistList(this, this, queueRect, kQueueId);
    m_queue->SetEmptyText(kEmptyQueue, kEmptyFontSize);
    static const char* const kTitles[] = {"Artist", "Album", "Track", "Length"};
    static const int kWidths[] = {3, 3, 3, 1};
    for (int c = 0; c < CPlaylistList::kColumns; ++c) {
        m_queue->SetColumnTitle(c, kTitles[c]);
        m_queue->SetColumnWidth(c, kWidths[c]);
    }
    AddChild(m_queue);

    const int barTop = client.y + client.h - barHeight;
    const int top = barTop + CSetServer::CurrentStyle(kBarClass, 5) - CSetServer::CurrentStyle(kButtonClass, 6);
    BuildButtons(CZVRect(client.x, top, leftWidth, client.y + client.h - top));
}

void CMediaPlayerPage::BuildBar(CZVRect client, int barHeight, int leftWidth) {
    const CZVRect barRect(client.x + leftWidth + kGap, client.y + client.h - barHeight,
                          std::max(0, client.w - leftWidth - kGap), barHeight);
    CZVWindow* panel = m_parent ? m_parent->GetParent() : nullptr;
    m_bar = new CMediaTransportBar(this, ReachPanelEdges(barRect, panel), panel);
    AddChild(m_bar);
    CZVRect c;
    m_bar->GetContentRect(&c);
    const COLORREF captionColour = CSetServer::CurrentStyleColor(kBarClass, 1);

    const int headingFont = Pick(20, 22);
    const int headingHeight = Pick(18, 25);
    const int headingWidth = TextWidth(this, headingFont, "Current Track");
    int rowsTop = c.y;
    bool heading = false;
    if (2 * headingWidth < c.w) {
        const int w = std::min(leftWidth - 2 * m_bar->GetCornerRadius(), c.w);
        m_bar->AddLabelColored(CZVRect(c.x, c.y, std::max(w, headingWidth), headingHeight), "Current Track",
                               headingFont, captionColour);
        rowsTop += headingHeight;
        heading = true;
    }

    const int captionFont = Pick(16, 18);
    const int w = std::max(TextWidth(this, captionFont, "Artist"), TextWidth(this, captionFont, "Album"));
    int side = std::min(c.h, c.w - 3 * w);
    int valuesRight = c.x + c.w;
    if (side >= kMinAlbumArt) {
        int x = c.x + c.w - side, y = c.y;
        if (heading && y < c.y + headingHeight && x < c.x + headingWidth) {
            const int overlap = c.y + headingHeight - y;
            x += overlap;
            y += overlap;
            side -= overlap;
        }
        m_artX = x + side / 2;
        m_artY = y + side / 2;
        m_artW = m_artH = side;
        valuesRight = x - kLabelGap;
    }

    const int rowHeight = (c.y + c.h - rowsTop) / 3;
    int valuesLeft = c.x;
    const int captionWidth = w + captionFont;
    if (c.w / 4 >= captionWidth && w > 0) {
        static const char* const kCaptions[] = {"Artist", "Album", "Track"};
        for (int i = 0; i < 3; ++i)
            m_bar->AddLabelColored(CZVRect(c.x, rowsTop + i * rowHeight, captionWidth, rowHeight), kCaptions[i],
                                   captionFont, captionColour);
        valuesLeft += captionWidth;
    }
    for (int i = 0; i < 3; ++i) {
        m_values[i] = m_bar->AddLabelColored(
            CZVRect(valuesLeft, rowsTop + i * rowHeight, std::max(0, valuesRight - valuesLeft), rowHeight), "",
            captionFont, m_bar->GetTextColor());
        m_values[i]->SetFlag(kMultiLine, 1);
    }
}

CZVRect CMediaPlayerPage::ReachPanelEdges(CZVRect rect, CZVWindow* panel) {
    if (!panel) return rect;
    const int x = m_x + m_parent->GetX() + rect.x, y = m_y + m_parent->GetY() + rect.y;
    rect.w = std::max(rect.w, panel->GetWidth() - x);
    rect.h = std::max(rect.h, panel->GetHeight() - y);
    return rect;
}

void CMediaPlayerPage::BuildButtons(CZVRect block) {
    const int font = Pick(16, 17);
    CZVRect rest = block;
    const CZVRect transport = rest.CutBottom(Pick(45, 65), kGap);
    const auto transportButton = [&](int index, int id, const char* caption, const char* icon, CZV3DButton* look) {
        CZV3DButton* button = Add3DButton(transport.Column(index, 3, kGap), id, kButtonClass, caption, look);
        button->SetIconName(icon, kTransportIconLayout);
        button->SetFontSize(font);
        return button;
    };
    m_play = transportButton(0, kPlayId, "Play", "TRANSPORT\\ICON32PLAY", nullptr);
    m_pause = transportButton(1, kPauseId, "Pause", "TRANSPORT\\ICON32PAUSE", m_play);
    m_stop = transportButton(2, kStopId, "Stop", "TRANSPORT\\ICON32STOP", m_play);

    // Cells by pair (skip, repeat and random, deletes) and place in the pair.
    const bool small = Pick(1, 0) != 0;
    const auto cell = [&](int pair, int second) {
        return small ? rest.Column(pair, 3, kGridGap).Row(second, 2, kGridGap)
                     : rest.Row(pair, 3, kGridGap).Column(second, 2, kGridGap);
    };
    const auto gridButton = [&](CZV3DButton* button, const char* icon) {
        button->SetIconName(icon, kGridIconLayout);
        button->SetFontSize(font);
        return button;
    };
    m_up = gridButton(Add3DButton(cell(0, 0), kUpId, kButtonClass, "Skip", nullptr), "TRANSPORT\\ICON32UP");
    m_down = gridButton(Add3DButton(cell(0, 1), kDownId, kButtonClass, "Skip", m_up), "TRANSPORT\\ICON32DOWN");
    CCaptionFitter fitter(this);
    if (!(m_features & kSourceNoRepeatRandom)) {
        m_repeat = AddCheckButton(cell(1, 0), kRepeatId, kButtonClass, "Repeat");
        m_random = AddCheckButton(cell(1, 1), kRandomId, kButtonClass, "Random");
        gridButton(m_repeat, "TRANSPORT\\ICON32REPEAT");
        gridButton(m_random, "TRANSPORT\\ICON32RANDOM");
        fitter.AddWindow(m_repeat);
        fitter.AddWindow(m_random);
    }
    if (!(m_features & kSourceNoQueueDelete)) {
        m_delete =
            gridButton(Add3DButton(cell(2, 0), kDeleteId, kButtonClass, "Delete", m_up), "TRANSPORT\\ICON32DELETE");
        m_deleteAll = gridButton(Add3DButton(cell(2, 1), kDeleteAllId, kButtonClass, "Delete All", m_up),
                                 "TRANSPORT\\ICON32DELETEALL");
        fitter.AddWindow(m_delete);
        fitter.AddWindow(m_deleteAll);
    }
    fitter.AddWindow(m_up);
    fitter.Apply(m_up->GetFontSize());
    m_down->SetFontSize(m_up->GetFontSize());
}

CZV3DButton* CMediaPlayerPage::GetButton(int id) const {
    switch (id) {
    case kRepeatId: return m_repeat;
    case kRandomId: return m_random;
    case kUpId: return m_up;
    case kDownId: return m_down;
    case kDeleteId: return m_delete;
    case kDeleteAllId: return m_deleteAll;
    case kPlayId: return m_play;
    case kPauseId: return m_pause;
    case kStopId: return m_stop;
    default: return nullptr;
    }
}

// ---- requests

void CMediaPlayerPage::SendZoneValues(uint16_t id, std::initializer_list<int32_t> values) {
    CZVServer* server = GetGatewayServer();
    if (!server) return;
    CZVMSG message(0, id);
    message.WriteInt(GetZone());
    for (int32_t value : values) message.WriteInt(value);
    server->Send(&message);
}

void CMediaPlayerPage::SendSourceCommand(int code, int argument) {
    SendZoneValues(ZVM_AUDIO_SOURCECOMMAND, {code, argument, 0});
}

void CMediaPlayerPage::RequestQueue() { SendToGateway(ZVM_AUDIO_GETQUEUEQ, {GetZone()}, GetOwnerSinkId()); }

void CMediaPlayerPage::RequestAlbumArt() {
    CZVServer* server = GetGatewayServer();
    if (!HasAlbumArtArea() || !server) return;
    const int inset = 2 * CSetServer::GetBevelInset(kAlbumArtBevelType);
    CZVMSG message(static_cast<uint16_t>(GetOwnerSinkId()), ZVM_AUDIO_GETALBUMARTQ);
    message.WriteInt(GetZone());
    message.WriteInt(m_artW - inset);
    message.WriteInt(m_artH - inset);
    message.WriteString(m_albumArtName);
    server->Send(&message);
}

void CMediaPlayerPage::OnShow(int show) {
    if (show && !IsShown()) {
        RequestAlbumArt();
        SendToGateway(ZVM_AUDIO_GETSOURCESTATUSQ, {GetZone()}, GetOwnerSinkId());
        RequestQueue();
    }
    CAudioSourcePage::OnShow(show);
}

// ---- state

bool CMediaPlayerPage::CanRedraw(int redraw) { return redraw && IsShown() && !CMainWndBase::InputBlockedFor(this); }

void CMediaPlayerPage::SetTrackText(const std::string& artist, const std::string& album, const std::string& track,
                                    int redraw) {
    const std::string* texts[] = {&artist, &album, &track};
    const int r = CanRedraw(redraw);
    for (int i = 0; i < 3; ++i) {
        if (!m_values[i]) continue;
        m_values[i]->SetFlag(kMultiLine, 1);
        m_values[i]->SetTextFormat(kValueFormat);
        m_values[i]->SetText(texts[i]->c_str(), nullptr, r);
    }
}

void CMediaPlayerPage::SetNowPlaying(const std::string& artist, const std::string& album, const std::string& track,
                                     int redraw) {
    m_artist = artist;
    m_album = album;
    m_track = track;
    // The labels follow the track whether or not they may be repainted now.
    SetTrackText(m_artist, m_album, m_track, redraw);
}

void CMediaPlayerPage::SetPlayState(int state, int redraw) {
    if (CMainWndBase::InputBlockedFor(this)) redraw = 0;
    if (state == m_playState) return;
    m_playState = state;
    int play = 1, pause = 0, stop = 0;
    switch (state) {
    case kPlayStatePlaying: {
        const int selected = m_queue->GetSelectedIndex();
        play = selected >= 0 && selected != m_queue->GetCurrentIndex();
        pause = stop = 1;
        SetTrackText(m_artist, m_album, m_track, redraw);
        break;
    }
    case kPlayStatePaused:
        stop = 1;
        SetTrackText(m_artist, m_album, m_track, redraw);
        break;
    case kPlayStateWorking:
        play = 0;
        stop = 1;
        SetTrackText("Working: " + m_artist, "Working: " + m_album, "Working: " + m_track, redraw);
        break;
    default: SetTrackText("", "", "", redraw); break;
    }
    m_play->Enable(play, redraw);
    m_pause->Enable(pause, redraw);
    m_stop->Enable(stop, redraw);
    m_up->Enable(state != kPlayStateWorking, redraw);
    m_down->Enable(state != kPlayStateWorking, redraw);
}

// ---- messages

void CMediaPlayerPage::OnSourceMessage(CZVMSG* message, int redraw) {
    if (!message) return;
    if (CMainWndBase::InputBlockedFor(this) || !IsPaintedOnce()) redraw = 0;
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_AUDIO_SOURCESTATUSCHANGED:
    case ZVM_AUDIO_GETSOURCESTATUSA: OnStatus(message, redraw); return;
    case ZVM_AUDIO_PLAYLISTCHANGED:
    case ZVM_AUDIO_GETQUEUEA: m_queue->SetQueue(message, redraw); return;
    case ZVM_AUDIO_ZONECHANGED:
    case ZVM_AUDIO_GETZONEA:
        RequestAlbumArt();
        SendToGateway(ZVM_AUDIO_GETSOURCESTATUSQ, {GetZone()}, GetOwnerSinkId());
        RequestQueue();
        return;
    case ZVM_AUDIO_ALBUMARTCHANGED: RequestAlbumArt(); return;
    case ZVM_AUDIO_GETALBUMARTA: message->ReadString(m_albumArtName); return;
    case ZVM_PICTURES_PICTURE: OnAlbumArt(message, redraw); return;
    default: return;
    }
}

void CMediaPlayerPage::OnStatus(CZVMSG* message, int redraw) {
    int32_t kind = 0, repeat = 0, random = 0;
    if (!CMsgReader(*message).Int(kind)) return;
    if ((kind & 0xFFFF) != kMusicServerType) return;
    if (!CMsgReader(*message).Int(repeat).Int(random)) return;
    const int fixedOrder = kind & kSourceFixedOrder;
    if (fixedOrder) repeat = random = 0;
    for (auto [button, checked] : {std::pair{m_repeat, repeat}, std::pair{m_random, random}}) {
        if (!button) continue;
        button->Enable(!fixedOrder, redraw);
        button->SetCheck(checked != 0, 0, redraw);
    }
    m_queue->SetStatus(message, redraw, fixedOrder);
    message->SkipRest();
}

void CMediaPlayerPage::OnAlbumArt(CZVMSG* message, int redraw) {
    if (!HasAlbumArtArea()) return;
    int32_t unused = 0;
    if (!CMsgReader(*message).Int(unused).Int(unused)) return;
    const uint8_t* jpeg = message->GetUnread();
    const auto size = static_cast<size_t>(message->GetRemaining());
    int width = 0, height = 0;
    // A picture beyond the decoders' limits would make a window of any size.
    if (!ReadJpegSize(jpeg, size, &width, &height) || !WithinPictureLimits(width, height)) return;
    const int inset = CSetServer::GetBevelInset(kAlbumArtBevelType);
    const int w = width + 2 * inset, h = height + 2 * inset;
    if (m_albumArt) {
        if (IsShown() && !CMainWndBase::InputBlockedFor(this) &&
            (m_albumArt->GetWidth() > w || m_albumArt->GetHeight() > h))
            m_bar->EraseChildArea(m_albumArt);
        m_bar->RemoveChild(m_albumArt);
        delete m_albumArt;
    }
    const CZVRect rect(m_artX + m_artW / 2 - w - kAlbumArtGap, m_artY - h / 2, w, h);
    m_albumArt = new CImagePagerWnd(m_bar, rect, kBarClass, 0, GetZone());
    m_albumArt->SetBevelType(kAlbumArtBevelType);
    m_bar->AddChild(m_albumArt);
    for (CZVLabel* label : m_values)
        if (label)
            label->SetRect(CZVRect(label->GetX(), label->GetY(), std::max(0, rect.x - m_values[0]->GetX() - kLabelGap),
                                   label->GetHeight()));
    if (m_playState == kPlayStatePlaying)
        SetTrackText(m_artist, m_album, m_track, 1);
    else
        SetTrackText("", "", "", 1);
    CDibDC* surface = m_albumArt->GetSurface();
    if (!surface || !DecodeJpegWithProgress(jpeg, size, surface->GetBits(), w, h, inset, inset, 0, nullptr)) return;
    message->SkipRest();
    if (redraw && IsShown()) m_albumArt->Redraw(1);
}

// ---- commands

int CMediaPlayerPage::OnCommand(int id) {
    switch (id) {
    case kRepeatId:
        if (m_repeat) SendSourceCommand(kSourceRepeat, m_repeat->GetCheck());
        return 1;
    case kRandomId:
        if (m_random) SendSourceCommand(kSourceRandom, m_random->GetCheck());
        return 1;
    case kUpId:
        m_queue->Previous();
        SendSourceCommand(kSourceSkipBack, 0);
        return 1;
    case kDownId:
        m_queue->Next();
        SendSourceCommand(kSourceSkipForward, 0);
        return 1;
    case kDeleteId: DeleteSelected(); return 1;
    case kDeleteAllId: SendZoneValues(ZVM_AUDIO_CLEARQUEUE, {}); return 1;
    case kPlayId: Play(); return 1;
    case kPauseId:
        if (m_playState == kPlayStatePlaying) {
            SendSourceCommand(kSourcePause, 0);
            SetPlayState(kPlayStatePaused, 1);
        }
        return 1;
    case kStopId: SendSourceCommand(kSourceStop, 0); return 1;
    case kQueueId: {
        // Re-applied, so that Play follows the new selection.
        const int state = m_playState;
        m_playState = -1;
        SetPlayState(state, 1);
        return 1;
    }
    default: return 0;
    }
}

void CMediaPlayerPage::DeleteSelected() {
    const int selected = m_queue->GetSelectedIndex();
    // With no row selected there is nothing to delete.
    if (selected < 0) return;
    SendZoneValues(ZVM_AUDIO_DELETEQUEUEITEM, {selected});
    const int current = m_queue->GetCurrentIndex();
    if (selected < current) {
        m_queue->SetCurrentIndex(current - 1);
        m_queue->ScrollToItem(current - 1, 0);
        if (m_queue->IsShown()) m_queue->Redraw(1);
    }
    if (m_queue->GetCount() == selected + 1) m_queue->SelectIndex(selected - 1, 1);
}

void CMediaPlayerPage::Play() {
    m_play->Enable(0, 1);
    if (m_playState == kPlayStateWorking) return;
    if (m_playState == kPlayStatePaused) {
        SendSourceCommand(kSourcePlay, 0);
        SetPlayState(kPlayStatePlaying, 1);
        return;
    }
    const int selected = m_queue->GetSelectedIndex();
    if (selected != -1 && selected != m_queue->GetCurrentIndex())
        SendZoneValues(ZVM_AUDIO_PLAYQUEUEITEM, {selected});
    else
        SendSourceCommand(kSourcePlay, 0);
}
