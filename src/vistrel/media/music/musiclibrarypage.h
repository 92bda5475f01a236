#pragma once
// CMusicLibraryPage: the "Music Library" tab of a music source. A tabbed
// panel with one tab per way of browsing the library ("Artist", "Album",
// "Artist / Album", "Track", "Playlist", "Genre"), as far as the audio zones
// page allows them for the source, and the browse page of the selected tab.
// When the gateway says the library changed, the browse page is built anew
// and keeps the user's place.
#include "core/zvserver.h"
#include "widgets/tabs/trregion.h"

class CAudioSourcePage;
class CAudioZonesPage;
class CMusicBrowsePage;

class CMusicLibraryPage : public CTRRegion, public CSocketSink {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kFirstTab = 6000;
    static constexpr int kLastTab = 6005;

    // The source page and the zones page are the ones the parent lies in.
    CMusicLibraryPage(CZVWindow* parent, CZVRect rect, CZVServer& server);
    ~CMusicLibraryPage() override;

    int OnCommand(int id) override;
    void OnMessage(CZVMSG* message) override;
    void OnConnect(int) override {}

    // Throws the browse page away and makes the one of the tab.
    void ShowBrowsePage(int tabId, int redraw);
    CMusicBrowsePage* GetBrowsePage() const { return m_browsePage; }
    CAudioSourcePage* GetSourcePage() const { return m_sourcePage; }

private:
    void AddTabs(const CAudioZonesPage* zones);
    CMusicBrowsePage* MakeBrowsePage(int tabId, CZVRect rect);
    // The tab's id, or -1 without tabs.
    int SelectedTabId();

    CMusicBrowsePage* m_browsePage = nullptr;
    int m_browseTabId = -1;
    CAudioSourcePage* m_sourcePage;
};
