#pragma once
// CMusicSourcePage: the page of a music server or internet radio source in
// an audio zone. A tabbed panel: "Now Playing", "Music Library", then one tab
// per sub-source of the zone state (the radio directory, or a browse tree
// such as a media server). A tab's page is made when it is first chosen and
// kept until the source page goes.
#include <vector>

#include "vistrel/media/audio/auddata.h"
#include "vistrel/shell/audiosourcepage.h"

class CAudioZonesPage;
class CNowPlayingPanel;
class CTRRegion;
struct CSourcePageArgs;

class CMusicSourcePage : public CAudioSourcePage {
public:
    static constexpr int kStyleClass = 6;
    static constexpr int kRadioType = 3001;
    enum : int { kNowPlayingTab = 5000, kLibraryTab = 5001, kFirstSubSourceTab = 5002 };

    CMusicSourcePage(CZVWindow* parent, CAudioZonesPage* owner, CZVRect rect, int styleClass, int kindWord,
                     const CAudDataList& subSources);
    ~CMusicSourcePage() override;

    int OnCommand(int id) override;
    void OnSourceMessage(CZVMSG* message, int redraw) override;

    // The page of the tab, made on first use.
    CZVWindow* GetTabPage(int index);
    void SelectTab(int id, int redraw);

    int GetTabCount() const { return static_cast<int>(m_pages.size()); }
    CZVWindow* GetCurrentPage() const { return m_current; }
    CTRRegion* GetTabRegion() const { return m_region; }
    CNowPlayingPanel* GetNowPlaying();
    // The colour the panel mixes from the page's face and the style's panel colour.
    static COLORREF PanelColour(COLORREF face);

private:
    CZVWindow* MakeTabPage(int index, CZVRect area);
    // The library's browse pages; an empty panel when no way of browsing is allowed.
    CZVWindow* MakeLibraryPage(CZVRect area);
    // The internet radio directory (a sub-source of kind 1004).
    CZVWindow* MakeRadioBrowser(CZVRect area);
    CZVWindow* MakeBrowseTree(const CAudDataEntry& entry, CZVRect area);
    int CanRepaintNowPlaying();

    CAudioZonesPage* m_zones;
    CAudDataList m_subSources;
    int m_kindWord;
    std::vector<CZVWindow*> m_pages;
    CZVWindow* m_current = nullptr;
    CTRRegion* m_region = nullptr;
};

// Registers the page for the music server and internet radio types.
void RegisterMusicSourcePages();
