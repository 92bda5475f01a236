#include "vistrel/media/music/musicsourcepage.h"

#include "core/messages/mediamessages.h"
#include "core/msgreader.h"
#include "gfx/speed.h"
#include "vistrel/media/audio/audiozonespage.h"
#include "vistrel/media/audio/sourcepages.h"
#include "vistrel/media/music/audiolibbrowsewnd.h"
#include "vistrel/media/music/musiclibrarypage.h"
#include "vistrel/media/music/nowplayingpanel.h"
#include "vistrel/media/radio/radiobrowserpage.h"
#include "widgets/style/setserver.h"
#include "widgets/tabs/trregion.h"
#include "widgets/window/gateway.h"
#include "widgets/window/mainwnd.h"

namespace {

constexpr int kMusicServerType = 3000;
constexpr int kTallScreen = 599;

CZVWindow* EmptyPanel(CZVWindow* parent, CZVRect area) {
    return new CZVWindow(parent, area, CMusicSourcePage::kStyleClass);
}

}  // namespace

COLORREF CMusicSourcePage::PanelColour(COLORREF face) {
    const COLORREF panel = CSetServer::CurrentStyleColor(kStyleClass, 0);
    return IsNearColor(face, panel) ? ScaleColor(0.8, panel) : MixColors(face, panel, 0.5);
}

CMusicSourcePage::CMusicSourcePage(CZVWindow* parent, CAudioZonesPage* owner, CZVRect rect, int styleClass,
                                   int kindWord, const CAudDataList& subSources)
    : CAudioSourcePage(parent, owner, rect, styleClass), m_zones(owner), m_kindWord(kindWord) {
    m_opaque = 0;
    m_subSources.CopyFrom(subSources);
    m_pages.assign(static_cast<size_t>(m_subSources.GetCount() + 2), nullptr);
    const COLORREF panel = PanelColour(GetFaceColor());
    // The panel colour counts as a skin colour while the page is up.
    if (CSetServer* style = CSetServer::Get()) style->SetExtraReservedColor(panel);
    CZVRect client;
    GetClientRect(&client);
    m_region = new CTRRegion(this, client, kStyleClass, panel, GetFaceColor());
    m_region->SetTexture(1);
    AddChild(m_region);
    CZVObList tabs;
    tabs.AddTail(new CTabDescriptor("Now Playing", kNowPlayingTab, nullptr));
    tabs.AddTail(new CTabDescriptor("Music Library", kLibraryTab, nullptr));
    for (int i = 0; i < m_subSources.GetCount(); ++i)
        tabs.AddTail(new CTabDescriptor(m_subSources.GetAt(i)->name, kFirstSubSourceTab + i, nullptr));
    m_region->SetTabCount(GetTabCount(), 0, &tabs);
    SelectTab(kNowPlayingTab, 0);
}

CMusicSourcePage::~CMusicSourcePage() {
    for (CZVWindow*& page : m_pages) {
        if (!page) continue;
        m_region->RemoveChild(page);
        delete page;
        page = nullptr;
    }
}

CNowPlayingPanel* CMusicSourcePage::GetNowPlaying() { return static_cast<CNowPlayingPanel*>(GetTabPage(0)); }

CZVWindow* CMusicSourcePage::MakeLibraryPage(CZVRect area) {
    CZVServer* server = GetGatewayServer();
    // A source that allows no way of browsing its library shows an empty panel.
    if (!server || !m_zones || m_zones->CountLibraryTabs() == 0) return EmptyPanel(m_region, area);
    return new CMusicLibraryPage(m_region, area, *server);
}

CZVWindow* CMusicSourcePage::MakeRadioBrowser(CZVRect area) {
    return new CRadioBrowserPage(m_region, this, m_zones, area, m_region->GetFaceColor(), m_kindWord);
}

CZVWindow* CMusicSourcePage::MakeBrowseTree(const CAudDataEntry& entry, CZVRect area) {
    CZVServer* server = GetGatewayServer();
    if (!server) return EmptyPanel(m_region, area);
    return new CAudioLibBrowseWnd(m_region, area, *server, entry.id);
}

CZVWindow* CMusicSourcePage::MakeTabPage(int index, CZVRect area) {
    if (index == 0)
        return new CNowPlayingPanel(m_region, m_zones, area, m_region->GetFaceColor(),
                                    SourcePageType(m_kindWord) == kRadioType);
    if (index == 1) return MakeLibraryPage(area);
    const CAudDataEntry* entry = m_subSources.GetAt(index - 2);
    if (!entry) return EmptyPanel(m_region, area);
    return entry->kind == CAudDataEntry::kRadioDirectory ? MakeRadioBrowser(area) : MakeBrowseTree(*entry, area);
}

CZVWindow* CMusicSourcePage::GetTabPage(int index) {
    if (index < 0 || index >= GetTabCount()) return nullptr;
    CZVWindow*& page = m_pages[static_cast<size_t>(index)];
    if (page) return page;
    CZVRect area;
    CMainWndBase* main = GetMainWnd();
    if (main && main->GetHeight() > kTallScreen)
        m_region->GetContentRectTall(&area);
    else
        m_region->GetContentRectWide(&area);
    page = MakeTabPage(index, area);
    page->Show(0, 0);
    return page;
}

void CMusicSourcePage::SelectTab(int id, int redraw) {
    const int index = id - kNowPlayingTab;
    if (index < 0 || index >= GetTabCount()) return;
    if (m_current) {
        m_region->RemoveChild(m_current);
        m_current->Show(0, 0);
        m_current = nullptr;
    }
    CZVWindow* page = GetTabPage(index);
    m_region->GetTabs()->Select(index, redraw);
    m_region->AddChild(page);
    page->Show(IsShown(), 0);
    m_current = page;
    if (redraw) page->Redraw(1);
}

int CMusicSourcePage::OnCommand(int id) {
    SelectTab(id, 1);
    return id;
}

int CMusicSourcePage::CanRepaintNowPlaying() {
    return m_current && m_current == m_pages[0] && IsShown() && !CMainWndBase::InputBlockedFor(this);
}

void CMusicSourcePage::OnSourceMessage(CZVMSG* message, int redraw) {
    if (!message) return;
    const uint16_t id = message->GetId();
    if (id == ZVM_AUDIO_ZONECHANGED || id == ZVM_AUDIO_GETZONEA) {
        message->ResetPosition();
        int32_t source = 0, kind = 0;
        if (CMsgReader(*message).Int(source).Int(kind))
            GetNowPlaying()->SetRadioMode(SourcePageType(kind) == kRadioType, CanRepaintNowPlaying());
    }
    GetNowPlaying()->OnSourceMessage(message, redraw);
}

namespace {

CAudioSourcePage* MakeMusicSourcePage(const CSourcePageArgs& a) {
    return new CMusicSourcePage(a.parent, a.owner, a.rect, a.styleClass, a.kindWord, a.path);
}

}  // namespace

void RegisterMusicSourcePages() {
    static const CSourcePageRow kRows[] = {{kMusicServerType, MakeMusicSourcePage},
                                           {CMusicSourcePage::kRadioType, MakeMusicSourcePage}};
    RegisterSourcePages(kRows);
}
