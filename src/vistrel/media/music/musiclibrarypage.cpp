#include "vistrel/media/music/musiclibrarypage.h"

#include <algorithm>

#include "core/messages/mediamessages.h"
#include "platform/report.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/music/browsepages.h"
#include "vistrel/media/music/playlistpage.h"
#include "vistrel/shell/audiosourcepage.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr const char* kSource = "musiclibrarypage";
constexpr int kUnknownTabLine = 169;
constexpr int kTallScreen = 600;

struct LibraryTab {
    int bit;
    const char* caption;
    int id;
};
constexpr LibraryTab kTabs[] = {
    {1, "Artist", 6000}, {2, "Album", 6001},     {8, "Artist / Album", 6002},
    {4, "Track", 6003},  {16, "Playlist", 6004}, {32, "Genre", 6005},
};

CAudioSourcePage* FindSourcePage(CZVWindow* window) {
    for (; window; window = window->GetParent())
        if (auto* page = dynamic_cast<CAudioSourcePage*>(window)) return page;
    return nullptr;
}

}  // namespace

CMusicLibraryPage::CMusicLibraryPage(CZVWindow* parent, CZVRect rect, CZVServer& server)
    : CTRRegion(parent, rect, kStyleClass, parent ? parent->GetFaceColor() : 0),
      CSocketSink(server),
      m_sourcePage(FindSourcePage(parent)) {
    const auto* zones = m_sourcePage ? dynamic_cast<const CAudioZonesPage*>(m_sourcePage->GetOwner()) : nullptr;
    AddTabs(zones);
    server.RegisterSink(this);
}

CMusicLibraryPage::~CMusicLibraryPage() {
    if (CZVServer* server = CSocketSink::GetServer()) server->UnregisterSink(this);
}

void CMusicLibraryPage::AddTabs(const CAudioZonesPage* zones) {
    const int count = zones ? zones->CountLibraryTabs() : 0;
    CTabContainer* tabs = GetTabs();
    tabs->SetTabsPerRow(std::max(count, 2), count);
    for (const LibraryTab& tab : kTabs)
        if (zones && zones->IsLibraryTabEnabled(tab.bit)) tabs->AddTab(tab.caption, tab.id);
    // Without a tab the panel stays empty.
    if (tabs->GetTabCount() == 0) return;
    tabs->Select(0, 0);
    ShowBrowsePage(SelectedTabId(), 0);
}

int CMusicLibraryPage::SelectedTabId() {
    auto* tab = dynamic_cast<CZVButton*>(GetTabs()->GetSelectedTab());
    return tab ? tab->GetCommandId() : -1;
}

CMusicBrowsePage* CMusicLibraryPage::MakeBrowsePage(int tabId, CZVRect rect) {
    CZVServer& server = *CSocketSink::GetServer();
    switch (tabId) {
    case 6000: return new CTracksByArtistPage(this, m_sourcePage, rect, server);
    case 6001: return new CAlbumTracksPage(this, m_sourcePage, rect, server);
    case 6002: return new CArtistAlbumPage(this, m_sourcePage, rect, server);
    case 6003: return new CTrackListPage(this, m_sourcePage, rect, server);
    case 6004: return new CPlaylistPage(this, m_sourcePage, rect, server);
    case 6005: return new CGenreAlbumsPage(this, m_sourcePage, rect, server);
    default: ReportAssert(kSource, kUnknownTabLine, 1); return nullptr;
    }
}

void CMusicLibraryPage::ShowBrowsePage(int tabId, int redraw) {
    if (!CSocketSink::GetServer()) return;
    CZVRect rect;
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetHeight() >= kTallScreen)
        GetContentRectTall(&rect);
    else
        GetContentRectWide(&rect);
    CMusicBrowsePage* before = m_browsePage;
    m_browsePage = MakeBrowsePage(tabId, rect);
    if (before) {
        if (m_browsePage && tabId == m_browseTabId) m_browsePage->KeepPlaceOf(*before);
        RemoveChild(before);
        delete before;
    }
    m_browseTabId = tabId;
    if (!m_browsePage) return;
    AddChild(m_browsePage);
    m_browsePage->Show(IsShown(), 0);
    if (redraw) m_browsePage->Redraw(1);
}

int CMusicLibraryPage::OnCommand(int id) {
    if (id >= kFirstTab && id <= kLastTab) {
        ShowBrowsePage(id, 1);
        return 1;
    }
    return CTRRegion::OnCommand(id);
}

void CMusicLibraryPage::OnMessage(CZVMSG* message) {
    if (message->GetId() != ZVM_AUDIO_LIBRARYCHANGED) return;
    const int tabId = SelectedTabId();
    if (tabId < 0) return;
    ShowBrowsePage(tabId, IsShown() && !CMainWndBase::InputBlockedFor(this));
}
