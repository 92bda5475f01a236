#include "vistrel/media/music/playlistpage.h"

#include <algorithm>
#include <string>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvquery.h"
#include "vistrel/media/music/browsepages.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"
#include "widgets/window/overlay.h"

namespace {

constexpr int kLeftColumnPercent = 40;
constexpr int kGap = 2;
constexpr int kButtons = 4;
constexpr int kButtonClass = 17;
constexpr int kButtonFontSize = 18;
constexpr int kButtonStyleBit = 8;
// Without the button row the heading is as high as the other pages'.
constexpr int kHeadingWithButtons = 37;

}  // namespace

CPlaylistPage::CPlaylistPage(CZVWindow* parent, CAudioSourcePage* owner, CZVRect rect, CZVServer& server)
    : CMusicBrowsePage(parent, owner, rect, server), CSocketSink(server) {
    CZVRect r;
    GetClientRect(&r);
    CZVRect buttonRow;
    if (HasButtonRow()) buttonRow = r.CutBottom(kButtonRowHeight, kGap);
    CZVRect left = r.CutLeft(r.w * kLeftColumnPercent / 100, 0);
    r.CutLeft(kGap, 0);
    CZVRect right = r;
    const int t = HasButtonRow() ? kHeadingWithButtons : kHeadingHeight;
    AddLabelClass(left.CutTop(t, 0), "Playlists", kHeadingFontSize, m_styleClass)->SetSmooth(1);
    right.CutTop(t, 0);
    m_playlists = Place(new CPlaylistNamesList(ListArgs(left, kPlaylistSelected, kPlaylistsLoaded)));
    m_tracks = Place(WithTrackColumns(
        new CTrackList(ListArgs(right, kTrackSelected, kTracksLoaded), CTrackList::kPlaylistEditTracks)));
    if (HasButtonRow()) AddButtons(buttonRow);
    m_playlists->BrowsePlaylists();
    server.RegisterSink(this);
}

CPlaylistPage::~CPlaylistPage() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
    // The add-music browser calls this page: it goes before the page does.
    ShowGenrePopup(0);
}

int CPlaylistPage::HasButtonRow() { return !(GetSourceFeatures() & kSourceNoQueueEdit); }

void CPlaylistPage::AddButtons(CZVRect row) {
    m_createButton = Add3DButtonDefault(row.Column(0, kButtons, kGap), kCreateCommand, kButtonClass, "Create New");
    m_renameButton = Add3DButtonDefault(row.Column(1, kButtons, kGap), kRenameCommand, kButtonClass, "Rename Playlist");
    m_deleteButton = Add3DButtonDefault(row.Column(2, kButtons, kGap), kDeleteCommand, kButtonClass, "Delete Playlist");
    CZV3DButton* add =
        Add3DButtonDefault(row.Column(3, kButtons, kGap), kSelectGenresCommand, kButtonClass, "Add Music...");
    add->SetFontSize(kButtonFontSize);
    add->SetStyleBit(kButtonStyleBit, 1);
    SetPopupAnchor(add);
}

void CPlaylistPage::EnableEditButtons(int enable) {
    for (CZV3DButton* button : {m_deleteButton, m_renameButton})
        if (button) button->Enable(enable, 1);
}

void CPlaylistPage::Refresh(int) { OnPlaylistSelected(); }

void CPlaylistPage::AddToPlaylist(int kind, int a, int b, int position) {
    CLBAudioItem* playlist = LoadedRow(m_playlists);
    if (!playlist) return;
    SendToGateway(ZVM_AUDIO_ADDTOPLAYLIST, {GetCurrentAudioZone(), playlist->GetId(0), kind, a, b, position});
}

void CPlaylistPage::CreatePlaylist(int zone) {
    CZVMSG request(CSocketSink::GetId(), ZVM_AUDIO_CREATEPLAYLISTQ);
    request.WriteInt(zone);
    m_libraryServer.Send(&request);
    if (m_createButton) m_createButton->Enable(0, 1);
}

void CPlaylistPage::RenamePlaylist(int zone, CZVString name) {
    CLBAudioItem* playlist = LoadedRow(m_playlists);
    if (!playlist) return;
    CZVQuery query(m_libraryServer);
    CZVMSG* answer = nullptr;
    const std::string text = name.GetAnsi();
    if (!query.QueryAnswerString(&answer, ZVM_AUDIO_RENAMEPLAYLISTQ, zone, playlist->GetId(0), text)) return;
    playlist->SetRowText(text);
    int32_t row = 0;
    answer->ResetPosition();
    if (answer->ReadInt(row)) {
        m_playlists->BrowsePlaylists();
        m_playlists->SetSelectAfterLoad(row);
    }
    m_playlists->Redraw(1);
    OnPlaylistSelected();
}

void CPlaylistPage::DeletePlaylist() {
    CLBAudioItem* playlist = LoadedRow(m_playlists);
    if (!playlist) return;
    CZVQuery query(m_libraryServer);
    CZVMSG* answer = nullptr;
    if (!query.QueryAnswer2(&answer, ZVM_AUDIO_DELETEPLAYLISTQ, playlist->GetId(0), GetCurrentAudioZone())) return;
    m_playlistsLoaded = 0;
    m_playlists->BrowsePlaylists();
    m_playlists->Select(nullptr, IsShown());
    m_playlists->Redraw(1);
    m_tracks->RemoveAll(1);
    EnableEditButtons(0);
}

void CPlaylistPage::OnPlaylistsLoaded() {
    if (!m_playlistsLoaded) {
        if (m_playlists->GetCount() == 0) {
            m_tracks->ShowNoItems();
            m_tracks->Redraw(1);
        }
        m_playlistsLoaded = 1;
        // The row the answer chose stays: the first, or the one kept from the page before.
        if (!CurrentRow(m_playlists)) SelectFirstRow(m_playlists);
        m_playlists->Redraw(1);
    }
    OnPlaylistSelected();
}

int CPlaylistPage::RowToKeep() const {
    const int asked = m_playlists->GetSelectAfterLoad();
    return asked >= 0 ? asked : m_playlists->GetSelectedIndex();
}

void CPlaylistPage::KeepPlaceOf(CMusicBrowsePage& before) {
    if (auto* page = dynamic_cast<CPlaylistPage*>(&before)) m_playlists->SetSelectAfterLoad(page->RowToKeep());
}

void CPlaylistPage::OnPlaylistSelected() {
    CLBAudioItem* playlist = LoadedRow(m_playlists);
    if (!playlist) return;
    EnableEditButtons(1);
    m_trackAfterLoad = -1;
    m_tracks->BrowsePlaylist(playlist->GetId(0));
}

void CPlaylistPage::EditTrack(int command) {
    CLBAudioItem* playlist = CurrentRow(m_playlists);
    const int s = m_tracks->GetSelectedIndex();
    // Without a selected track there is nothing to delete or move.
    if (!playlist || s < 0) return;
    const int operation = command == kTrackDeleteCommand ? kPlaylistDeleteTrack
                          : command == kTrackUpCommand   ? kPlaylistMoveUp
                                                         : kPlaylistMoveDown;
    SendToGateway(ZVM_AUDIO_EDITPLAYLISTITEM, {GetCurrentAudioZone(), playlist->GetId(0), s, operation});
    if (command == kTrackDeleteCommand)
        Refresh(1);
    else
        MoveTrack(s, command == kTrackUpCommand ? s - 1 : s + 1);
}

void CPlaylistPage::MoveTrack(int from, int to) {
    const int last = m_tracks->GetCount() - 1;
    if (from != to && from >= 0 && from <= last && to >= 0 && to <= last) m_tracks->SwapItems(from, to);
    m_tracks->SelectIndex(std::clamp(to, 0, std::max(last, 0)), 0);
    m_tracks->Redraw(1);
}

void CPlaylistPage::OnTracksLoaded() {
    if (m_trackAfterLoad < 0) return;
    if (m_trackAfterLoad < m_tracks->GetCount()) m_tracks->SelectIndex(m_trackAfterLoad, IsShown());
    m_trackAfterLoad = -1;
}

int CPlaylistPage::OnCommand(int id) {
    switch (id) {
    case kTrackAddCommand:
    case kTrackPlayCommand: {
        CLBAudioItem* playlist = LoadedRow(m_playlists);
        CLBAudioItem* track = CurrentRow(m_tracks);
        if (playlist && track)
            SendPlay(kBrowsePlaylistTracks, playlist->GetId(0), 0, track->m_index, id == kTrackPlayCommand);
        return 1;
    }
    case kPlaylistAddCommand:
    case kPlaylistPlayCommand:
        if (CLBAudioItem* playlist = CurrentRow(m_playlists))
            SendPlay(kBrowsePlaylists, 0, 0, playlist->m_index, id == kPlaylistPlayCommand);
        return 1;
    case kTrackDeleteCommand:
    case kTrackUpCommand:
    case kTrackDownCommand: EditTrack(id); return 1;
    case kPlaylistsLoaded: OnPlaylistsLoaded(); return 1;
    case kTracksLoaded: OnTracksLoaded(); return 1;
    case kPlaylistSelected: OnPlaylistSelected(); return 1;
    case kCreateCommand: CreatePlaylist(GetCurrentAudioZone()); return 1;
    case kDeleteCommand: DeletePlaylist(); return 1;
    case kRenameCommand:
        if (CLBAudioItem* playlist = CurrentRow(m_playlists))
            m_playlists->BeginEdit(playlist->GetFullText().c_str(), kRenameDoneCommand);
        return 1;
    case kRenameDoneCommand: RenamePlaylist(GetCurrentAudioZone(), m_playlists->GetEditText()); return 1;
    default: return CMusicBrowsePage::OnCommand(id);
    }
}

void CPlaylistPage::OnItemsChanged(CZVMSG* message) {
    int32_t playlistId = 0, row = 0;
    if (!CMsgReader(*message).Int(playlistId).Int(row)) return;
    // Only the playlist shown: the edits that follow name the selected one.
    CLBAudioItem* playlist = LoadedRow(m_playlists);
    if (!playlist || playlist->GetId(0) != playlistId) return;
    m_tracks->BrowsePlaylist(playlistId);
    m_trackAfterLoad = row;
}

void CPlaylistPage::OnCreated(CZVMSG* message) {
    if (m_createButton) m_createButton->Enable(1, 1);
    int32_t row = 0, playlistId = 0;
    std::string name;
    if (!CMsgReader(*message).Int(row).Int(playlistId).String(name)) return;
    // The new playlist's row is chosen by its index once the list is loaded again.
    m_playlists->BrowsePlaylists();
    m_playlists->SetSelectAfterLoad(row);
    m_playlists->Redraw(1);
}

void CPlaylistPage::OnMessage(CZVMSG* message) {
    message->ResetPosition();
    switch (message->GetId()) {
    case ZVM_AUDIO_PLAYLISTITEMSCHANGED: OnItemsChanged(message); return;
    case ZVM_AUDIO_CREATEPLAYLISTA: OnCreated(message); return;
    default: return;
    }
}

CZVWindow* CPlaylistPage::CreateGenrePopup(CMainWndBase* main, CZVRect rect) {
    auto* popup = new CPopupWnd(main, rect, m_styleClass);
    CLBAudioItem* playlist = CurrentRow(m_playlists);
    const std::string title = playlist ? "Add Music to " + playlist->GetFullText() : std::string();
    popup->AddTitleBar(title.c_str(), rect.w / 3);
    CZVRect inside;
    popup->GetClientRect(&inside);
    popup->AddChild(new CArtistAlbumPage(popup, GetOwner(), inside, m_libraryServer, this));
    return popup;
}
