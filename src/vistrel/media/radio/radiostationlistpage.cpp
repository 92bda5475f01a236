#include "vistrel/media/radio/radiostationlistpage.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "core/zvmsg.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/music/musiclists.h"
#include "vistrel/shell/audiosourcepage.h"
#include "widgets/buttons/zv3dbutton.h"
#include "widgets/text/zvlabel.h"
#include "widgets/window/gateway.h"

namespace {

constexpr int kGap = 2;
constexpr int kButtonGap = 1;
constexpr int kFeatureBits = ~0xFFFF;
// The genre list of the radio sets has no row button: its play command is never sent.
constexpr int kNoPlayCommand = 0;

}  // namespace

CRadioStationListPage::CRadioStationListPage(CZVWindow* parent, CZVRect rect, CZVServer& server,
                                             CAudioSourcePage* sourcePage, CAudioZonesPage* zones, int favourites,
                                             int kindWord)
    : CZVWindow(parent, rect, 0),
      CSocketSink(server),
      m_sourcePage(sourcePage),
      m_zones(zones),
      m_favourites(favourites),
      m_features(kindWord & kFeatureBits) {
    if (parent) {
        SetFaceColor(parent->GetFaceColor());
        SetBackColor(parent->GetFaceColor());
    }
    Build(server);
    m_genres->BrowseGenres();
    server.RegisterSink(this);
    OnShow(1);
}

CRadioStationListPage::~CRadioStationListPage() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
    OnShow(0);
}

void CRadioStationListPage::Build(CZVServer& server) {
    CZVRect left;
    GetClientRect(&left);
    CZVRect right = left;
    left = right.CutLeft(right.w / 4, kGap);
    const char* caption = m_favourites ? "Remove Station From Favorites" : "Add Station To Favorites";
    m_favouriteButton =
        Add3DButton(right.CutBottom(kButtonHeight, kButtonGap), kFavouriteButton, kButtonClass, caption, nullptr);
    m_favouriteButton->Enable(0, 0);
    CZVLabel* genreHeading = AddLabel(left.CutTop(kHeadingHeight, 0), "Genre", kHeadingFont);
    genreHeading->SetSmooth(1);
    m_stationsHeading = AddLabel(right.CutTop(kHeadingHeight, 0), "Stations", kHeadingFont);
    m_stationsHeading->SetSmooth(1);
    const int genreSet = m_favourites ? CGenreList::kFavouriteRadioGenres : CGenreList::kRadioGenres;
    m_genres = new CGenreList({this, left, kGenreSelected, kGenresLoaded, server, this}, genreSet, kNoPlayCommand);
    AddChild(m_genres);
    m_stations = new CStationList({this, right, kStationSelected, kStationsLoaded, server, this}, m_favourites);
    AddChild(m_stations);
}

int CRadioStationListPage::GetSelectedAudioItem() {
    CAudioSourceOwner* owner = m_sourcePage ? m_sourcePage->GetOwner() : nullptr;
    return owner ? owner->GetSelectedSourceId() : -1;
}

void CRadioStationListPage::OnShow(int show) {
    if (!m_zones || !m_stations) return;
    auto* listener = static_cast<CListenProgressListener*>(m_stations);
    if (show)
        m_zones->SetSourceListener(listener);
    else if (m_zones->GetSourceListener() == listener)
        // Another page may have become the listener since.
        m_zones->SetSourceListener(nullptr);
}

int CRadioStationListPage::OnCommand(int id) {
    switch (id) {
    case kGenreSelected: OnGenreSelected(); break;
    case kStationSelected: OnStationSelected(); break;
    case kListen: OnListen(); break;
    case kGenresLoaded: OnGenresLoaded(); break;
    case kStationsLoaded: OnStationsLoaded(); break;
    case kFavouriteButton: OnFavouriteButton(); break;
    default: break;
    }
    return 1;
}

int CRadioStationListPage::IsGenreLoaded() {
    auto* row = static_cast<CLBAudioItem*>(m_genres->GetSelected());
    return row && row->IsLoaded();
}

CRadioStationListPage::Choice CRadioStationListPage::Chosen() {
    return {m_genres->GetSelectedIndex(), m_stations->GetSelectedIndex()};
}

void CRadioStationListPage::OnGenreSelected() {
    if (!IsGenreLoaded()) return;
    auto* row = static_cast<CLBAudioItem*>(m_genres->GetSelected());
    CZVString heading;
    heading.Format("Stations in %s", row->GetFullText().c_str());
    m_stationsHeading->SetText(heading, nullptr, IsShown());
    m_stationsGenre = m_genres->GetSelectedIndex();
    m_stations->BrowseStations(m_stationsGenre);
    EnableFavouriteButton(0);
}

void CRadioStationListPage::OnStationSelected() {
    if (m_favourites) {
        EnableFavouriteButton(Chosen().station >= 0);
        return;
    }
    const Choice chosen = Chosen();
    EnableFavouriteButton(0);
    if (chosen.genre < 0 || chosen.station < 0) return;
    // A fresh sink id for each question: the answers to earlier ones find no page.
    RenewId();
    m_asked = chosen;
    SendChoice(ZVM_RADIO_GETFAVORITEQ, chosen);
}

void CRadioStationListPage::OnListen() {
    const int station = m_stations->GetSelectedIndex();
    if (!IsGenreLoaded() || station < 0 || !m_sourcePage) return;
    m_stations->SetListenRow(station);
    const int kind = m_favourites ? kBrowseFavouriteStations : kBrowseStations;
    m_sourcePage->SendPlayCommand(kind, m_stationsGenre, 0, station, 0);
}

void CRadioStationListPage::OnGenresLoaded() {
    if (m_genresLoaded) return;
    m_genresLoaded = 1;
    const int count = m_genres->GetCount();
    if (count == 0) {
        ShowNoGenre();
        return;
    }
    // After a removal the genre may have gone with its last favourite: its neighbour takes over.
    m_lastGenreRow = std::clamp(m_lastGenreRow, 0, count - 1);
    m_genres->SelectIndex(m_lastGenreRow, IsShown());
    if (m_lastGenreRow > 0 && IsShown()) m_genres->Redraw(1);
    OnGenreSelected();
}

void CRadioStationListPage::OnStationsLoaded() {
    if (m_stationsLoaded) return;
    m_stationsLoaded = 1;
    m_stations->SelectIndex(0, IsShown());
    if (IsShown()) m_stations->Redraw(1);
    OnStationSelected();
}

void CRadioStationListPage::OnFavouriteButton() {
    const Choice chosen = Chosen();
    if (chosen.genre < 0 || chosen.station < 0) return;
    EnableFavouriteButton(0);
    if (!m_favourites) {
        SendChoice(ZVM_RADIO_ADDFAVORITE, chosen);
        return;
    }
    m_lastGenreRow = chosen.genre;
    SendChoice(ZVM_RADIO_REMOVEFAVORITE, chosen);
    // The reload selects the same genre again and reloads its stations.
    m_genresLoaded = 0;
    m_genres->Reload();
    if (IsShown()) m_genres->Redraw(1);
}

void CRadioStationListPage::ShowNoGenre() {
    m_stationsGenre = -1;
    m_stations->RemoveAll(IsShown());
    m_stationsHeading->SetText("Stations", nullptr, IsShown());
    EnableFavouriteButton(0);
}

void CRadioStationListPage::SendChoice(uint16_t id, Choice choice) {
    SendToGateway(id, {choice.genre, choice.station}, CSocketSink::GetId());
}

void CRadioStationListPage::EnableFavouriteButton(int enable) { m_favouriteButton->Enable(enable, IsShown()); }

void CRadioStationListPage::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_RADIO_GETFAVORITEA) return;
    message->ResetPosition();
    int32_t favourite = 0;
    // A cut answer says nothing, and one for a station no longer chosen is late.
    if (!CMsgReader(*message).Int(favourite) || (favourite != 0 && favourite != 1)) return;
    if (m_favourites || !(m_asked == Chosen())) return;
    EnableFavouriteButton(favourite == 0);
}
